#pragma once
#include <QColor>

#include <cstdint>

// A colour as the windows name it: 0x00BBGGRR, or a system colour with the
// high bit set and the system colour index in the low byte.
using TColor = std::uint32_t;

enum : TColor {
  clBlack = 0x000000,
  clMaroon = 0x000080,
  clGreen = 0x008000,
  clOlive = 0x008080,
  clNavy = 0x800000,
  clPurple = 0x800080,
  clTeal = 0x808000,
  clGray = 0x808080,
  clSilver = 0xC0C0C0,
  clRed = 0x0000FF,
  clLime = 0x00FF00,
  clYellow = 0x00FFFF,
  clBlue = 0xFF0000,
  clFuchsia = 0xFF00FF,
  clAqua = 0xFFFF00,
  clWhite = 0xFFFFFF,
  clSystemColor = 0x80000000,
  clWindow = clSystemColor | 5,
  clWindowText = clSystemColor | 8,
  clHighlight = clSystemColor | 13,
  clHighlightText = clSystemColor | 14,
  clBtnFace = clSystemColor | 15,
  clGrayText = clSystemColor | 17,
  clBtnText = clSystemColor | 18,
};

// System colours come from the application's palette.
QColor ToQColor(TColor color);
