#pragma once
#include <QApplication>

#include <functional>

// The program's application object. It knows whether an event handler is
// still on the stack: event pumps of busy operations and the loops of modal
// dialogs run inside handlers, so a window can close while one of them still
// uses it, and freeing it must wait until control is back in the event loop.
// Qt's deferred deletion does not serve here: an object that a nested
// processEvents() closed is deleted by the next pump of the same handler.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Runs job once no event handler runs any more; at once when none does
  // (or the application is not a TApplication).
  static void AfterHandlers(std::function<void()> job);
};
