#include "WindowReach.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdint>

namespace {

// Where a window of size placed at corner lies inside area, moved no further
// than that needs; one larger than the area keeps its corner at the area's.
// The sums are taken in 64 bits, as a stored corner may lie at the end of the
// integers; the result lies between the area's corner and the stored one.
QPoint PositionInReach(QPoint corner, QSize size, const QRect& area) {
  const auto within = [](std::int64_t wanted, std::int64_t extent, std::int64_t start, std::int64_t length) {
    return static_cast<int>(std::max(start, std::min(wanted, start + length - extent)));
  };
  return {within(corner.x(), size.width(), area.left(), area.width()),
          within(corner.y(), size.height(), area.top(), area.height())};
}

const QScreen* ScreenOf(QPoint corner, const QWidget& window) {
  const QScreen* screen = QGuiApplication::screenAt(corner);
  return screen ? screen : window.screen();
}

// Before a window is shown its frame is not known, and a window manager puts
// one round it only when it maps the window: the frame is brought onto the
// screen at the window's first exposure, when the frame has its size.
class TFrameReach : public QObject {
 public:
  explicit TFrameReach(QWidget& window) : QObject(&window), Window(window) { window.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    QWindow* handle = Window.windowHandle();
    if (watched == &Window && event->type() == QEvent::Show && handle) {
      handle->installEventFilter(this);
    } else if (watched == handle && event->type() == QEvent::Expose && handle->isExposed()) {
      handle->removeEventFilter(this);
      Window.removeEventFilter(this);
      if (const QScreen* screen = ScreenOf(Window.pos(), Window)) {
        const QRect frame = handle->frameGeometry();
        handle->setFramePosition(PositionInReach(frame.topLeft(), frame.size(), screen->availableGeometry()));
      }
      deleteLater();
    }
    return false;
  }

 private:
  QWidget& Window;
};

}  // namespace

QRect GeometryInReach(QPoint corner, QSize size, const QRect& area, const QWidget& window) {
  const QSize bounded =
      size.boundedTo(area.size()).boundedTo(window.maximumSize()).expandedTo(window.minimumSize());
  return {PositionInReach(corner, bounded, area), bounded};
}

void PlaceOnScreen(QWidget& window, QPoint corner, QSize size) {
  // Without a screen there is nothing to bound the size by: the window keeps
  // its own placement.
  const QScreen* screen = ScreenOf(corner, window);
  if (!screen) return;
  // A top-level window's position is that of its frame, its size that of
  // what lies inside.
  const QRect geometry = GeometryInReach(corner, size, screen->availableGeometry(), window);
  window.move(geometry.topLeft());
  window.resize(geometry.size());
  new TFrameReach(window);
}
