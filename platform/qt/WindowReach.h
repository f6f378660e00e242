#pragma once
#include <QPoint>
#include <QRect>

class QWidget;

// Where a window placed at wanted shows its whole title bar inside area: as
// near to wanted as that allows, at area's left edge when the window is wider
// than the area. The window keeps its size; what still lies outside must be
// scrolled to (in an MDI area) or is beyond the screen's edge.
QPoint PositionInReach(const QRect& wanted, const QRect& area, int titleHeight);

// Moves a top-level window that a stored place left beyond the screens (one
// since unplugged, a smaller one) back onto the available part of the screen
// it stands on, or of its own screen when it stands on none.
void MoveOntoScreen(QWidget& window);
