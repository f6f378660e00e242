#pragma once
#include <functional>

#include "Messages.h"

// The engine tells the application's main window about busy state and
// progress without knowing any window: it sends through this hook, which the
// main window installs (and tests replace). Without a handler nothing happens.
using TMainFormHandler = std::function<LRESULT(unsigned msg, WPARAM wParam, LPARAM lParam)>;
LRESULT SendToMainForm(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
TMainFormHandler SetMainFormHandler(TMainFormHandler handler);

// In place of PostQuitMessage: asks the application to end its message loop.
using TQuitHandler = std::function<void(int exitCode)>;
void PostQuitMessage(int exitCode);
TQuitHandler SetQuitHandler(TQuitHandler handler);
