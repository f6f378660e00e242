#include "Colors.h"

#include <QGuiApplication>
#include <QPalette>

QColor ToQColor(TColor color) {
  if (!(color & clSystemColor)) return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  const QPalette palette = QGuiApplication::palette();
  switch (color) {
    case clWindow: return palette.color(QPalette::Base);
    case clHighlight: return palette.color(QPalette::Highlight);
    case clHighlightText: return palette.color(QPalette::HighlightedText);
    case clBtnFace: return palette.color(QPalette::Button);
    case clGrayText: return palette.color(QPalette::Disabled, QPalette::Text);
    case clBtnText: return palette.color(QPalette::ButtonText);
    default: return palette.color(QPalette::Text);
  }
}
