#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The geometry a window stored at corner with size takes in area: no larger
// than the area nor than the window's maximum, no smaller than its minimum
// (which wins over the area), and moved no further than that needs to lie
// inside the area; a window still larger than the area keeps its top left
// corner, and so its title bar, at the area's, and what lies outside must be
// scrolled to (in an MDI area). Stored values of any size are taken, as a
// damaged or hand-edited store may hold them.
QRect GeometryInReach(QPoint corner, QSize size, const QRect& area, const QWidget& window);

// Places a top-level window as stored at corner with size on the available
// part of the screen that corner stands on, or of its own screen when it
// stands on none (one since unplugged, a smaller one); once it is shown, its
// frame too.
void PlaceOnScreen(QWidget& window, QPoint corner, QSize size);
