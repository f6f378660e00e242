#pragma once
// A window manager's request to close a top-level window, as its close box
// makes it: it arrives with the next round of the event loop, whatever
// handler runs that round, and is no input that a busy operation holds back.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

inline void PostWindowManagerClose(const QWidget& widget) {
  if (QWindow* handle = widget.window()->windowHandle()) QCoreApplication::postEvent(handle, new QCloseEvent);
}
