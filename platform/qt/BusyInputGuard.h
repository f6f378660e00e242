#pragma once

// Keeps the user's input away from the windows while a long operation runs
// inside a command handler, the way a mouse capture and the removal of queued
// input messages did.
//
// While at least one guard lives, an application event filter swallows
// keyboard, mouse, wheel and shortcut events and records key presses, so that
// GetAsyncKeyState (platform core) can tell whether <H> or Ctrl+Break was
// pressed; the queries let the event loop run now and then, so windows still
// repaint. A modal window shown meanwhile (a message box of the operation)
// keeps its input, as a capture gave way to a message box.
// When the last guard ends, the input that queued up meanwhile is discarded.
class TBusyInputGuard {
 public:
  TBusyInputGuard();
  ~TBusyInputGuard();
  TBusyInputGuard(const TBusyInputGuard&) = delete;
  TBusyInputGuard& operator=(const TBusyInputGuard&) = delete;

  static bool Active();
};
