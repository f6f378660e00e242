#pragma once
#include <QPoint>
#include <QRect>

class QWidget;

// Where a window placed at wanted lies inside area, moved no further than
// that needs; a window larger than the area keeps its top left corner, and so
// its title bar, at the area's. The window keeps its size: what still lies
// outside must be scrolled to (in an MDI area).
QPoint PositionInReach(const QRect& wanted, const QRect& area);

// Moves a top-level window that a stored place left beyond the screens (one
// since unplugged, a smaller one) onto the available part of the screen its
// corner stands on, or of its own screen when it stands on none; once it is
// shown, its frame too.
void MoveOntoScreen(QWidget& window);
