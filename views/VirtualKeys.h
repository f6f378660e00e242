#pragma once
#include <QKeyEvent>

#include <cstdint>

#include "KeyState.h"  // VK_CANCEL, VK_CONTROL

// Keys as the views name them: Windows virtual-key codes, and the state of the
// modifier keys and mouse buttons.
enum : unsigned short {
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_MENU = 0x12,
  VK_PAUSE = 0x13,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_NUMPAD0 = 0x60,
  VK_F1 = 0x70,
};

using TShiftState = std::uint8_t;
enum : TShiftState { ssShift = 0x01, ssAlt = 0x02, ssCtrl = 0x04, ssLeft = 0x08, ssRight = 0x10, ssMiddle = 0x20 };

// The virtual-key code of a key event; 0 for keys that have none here.
unsigned short VirtualKeyOf(const QKeyEvent& event);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

// The characters a key press types, as a window would receive them:
// Ctrl+letter gives 1 to 26 whatever text the event carries; Delete, other
// Ctrl keys and Alt combinations type nothing (an empty text).
QString TypedCharacters(const QKeyEvent& event);
