#include "BusyInputGuard.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <set>

#include "KeyState.h"

namespace {

class TInputFilter : public QObject {
 public:
  // Keys pressed since their last query, and keys held down now.
  std::set<int> Pressed;
  std::set<int> Down;

  bool eventFilter(QObject* watched, QEvent* event) override {
    // A message box or dialog the operation shows must still be answered.
    if (InModalWindow(watched)) return QObject::eventFilter(watched, event);
    switch (event->type()) {
      case QEvent::KeyPress:
        Record(static_cast<QKeyEvent*>(event), true);
        return true;
      case QEvent::KeyRelease:
        Record(static_cast<QKeyEvent*>(event), false);
        return true;
      case QEvent::ShortcutOverride:
        // Accepted, so that no shortcut fires; the key press follows and is recorded.
        event->accept();
        return true;
      case QEvent::Shortcut:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::TabletPress:
      case QEvent::TabletRelease:
      case QEvent::TabletMove:
        return true;
      default:
        return QObject::eventFilter(watched, event);
    }
  }

 private:
  static bool InModalWindow(QObject* watched) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return false;
    if (auto* widget = qobject_cast<QWidget*>(watched)) return widget->window() == modal;
    if (auto* window = qobject_cast<QWindow*>(watched)) return window == modal->windowHandle();
    return false;
  }

  void Record(const QKeyEvent* event, bool press) {
    if (event->isAutoRepeat()) return;
    for (int vk : VirtualKeys(event)) {
      if (press) {
        Pressed.insert(vk);
        Down.insert(vk);
      } else {
        Down.erase(vk);
      }
    }
  }

  static std::set<int> VirtualKeys(const QKeyEvent* event) {
    std::set<int> keys;
    const int key = event->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) keys.insert(key);
    if (key == Qt::Key_Control) keys.insert(VK_CONTROL);
    // Ctrl+Break arrives as Cancel, or as Pause with Control held.
    if (key == Qt::Key_Cancel || (key == Qt::Key_Pause && (event->modifiers() & Qt::ControlModifier)))
      keys.insert(VK_CANCEL);
    return keys;
  }
};

int guardCount = 0;
TInputFilter* filter = nullptr;
TKeyStateHandler previousKeyState;

// Long operations ask after every record; the event loop runs at most every
// 20 ms, which keeps the windows painted without slowing the operation down.
QElapsedTimer sincePump;

short KeyState(int vk) {
  if (!sincePump.isValid() || sincePump.elapsed() >= 20) {
    QCoreApplication::processEvents();
    sincePump.start();
  }
  if (!filter) return 0;
  short state = 0;
  if (filter->Down.count(vk)) state |= static_cast<short>(0x8000);
  if (filter->Pressed.erase(vk)) state |= 0x0001;
  return state;
}

}  // namespace

TBusyInputGuard::TBusyInputGuard() {
  if (guardCount++ > 0) return;
  filter = new TInputFilter;
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(filter);
  previousKeyState = SetKeyStateHandler(KeyState);
  sincePump.invalidate();
}

TBusyInputGuard::~TBusyInputGuard() {
  if (--guardCount > 0) return;
  // Input that queued up meanwhile reaches the filter once more and is dropped.
  QCoreApplication::processEvents();
  SetKeyStateHandler(std::move(previousKeyState));
  previousKeyState = nullptr;
  delete filter;
  filter = nullptr;
}

bool TBusyInputGuard::Active() { return guardCount > 0; }
