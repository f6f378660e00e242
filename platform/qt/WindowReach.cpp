#include "WindowReach.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

const QScreen* ScreenOf(const QWidget& window) {
  const QScreen* screen = QGuiApplication::screenAt(window.pos());
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
      if (const QScreen* screen = ScreenOf(Window))
        handle->setFramePosition(PositionInReach(handle->frameGeometry(), screen->availableGeometry()));
      deleteLater();
    }
    return false;
  }

 private:
  QWidget& Window;
};

}  // namespace

QPoint PositionInReach(const QRect& wanted, const QRect& area) {
  const int x = std::max(area.left(), std::min(wanted.left(), area.right() + 1 - wanted.width()));
  const int y = std::max(area.top(), std::min(wanted.top(), area.bottom() + 1 - wanted.height()));
  return {x, y};
}

void MoveOntoScreen(QWidget& window) {
  if (const QScreen* screen = ScreenOf(window))
    window.move(PositionInReach(QRect(window.pos(), window.size()), screen->availableGeometry()));
  new TFrameReach(window);
}
