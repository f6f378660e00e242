#include "WindowReach.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QPoint PositionInReach(const QRect& wanted, const QRect& area) {
  const int x = std::max(area.left(), std::min(wanted.left(), area.right() + 1 - wanted.width()));
  const int y = std::max(area.top(), std::min(wanted.top(), area.bottom() + 1 - wanted.height()));
  return {x, y};
}

void MoveOntoScreen(QWidget& window) {
  const QScreen* screen = QGuiApplication::screenAt(window.pos());
  if (!screen) screen = window.screen();
  if (screen) window.move(PositionInReach(QRect(window.pos(), window.size()), screen->availableGeometry()));
}
