#pragma once
#include <functional>
#include <string>

#include "Messages.h"

// The engine tells the application's main window about busy state and
// progress without knowing any window: it sends through this hook, which the
// main window installs (and tests replace). Without a handler nothing happens.
using TMainFormHandler = std::function<LRESULT(unsigned msg, WPARAM wParam, LPARAM lParam)>;
LRESULT SendToMainForm(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
TMainFormHandler SetMainFormHandler(TMainFormHandler handler);

// The messages to the main window that carry a text go through these, so no
// caller puts a pointer into an LPARAM: UM_BEGINBUSY with the status text of a
// long operation, UM_STATUSTEXT with its progress. The text lives as long as
// the call, as with a sent message.
LRESULT SendBeginBusy(const std::string& text);
LRESULT SendStatusText(const std::string& text);
// The text such a message carries, for its receiver; "" for lParam 0.
const char* MessageText(LPARAM lParam);

// In place of PostQuitMessage: asks the application to end its message loop.
using TQuitHandler = std::function<void(int exitCode)>;
void PostQuitMessage(int exitCode);
TQuitHandler SetQuitHandler(TQuitHandler handler);
