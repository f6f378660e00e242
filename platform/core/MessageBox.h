#pragma once
#include <functional>

// Win32-valued flags and results, so that callers read as they did on Windows
// and tests can assert the icon a message was shown with.
enum : unsigned {
  MB_OK = 0x00,
  MB_OKCANCEL = 0x01,
  MB_YESNOCANCEL = 0x03,
  MB_YESNO = 0x04,
  MB_ICONSTOP = 0x10,
  MB_ICONERROR = MB_ICONSTOP,
  MB_ICONQUESTION = 0x20,
  MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40,
};

enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

using TMessageBoxHandler = std::function<int(const char* text, const char* caption, unsigned flags)>;

// Shows a modal message box (or hands it to the installed handler) and returns
// the button pressed. Without a handler the text goes to stderr and IDOK returns.
int MessageBox(const char* text, const char* caption, unsigned flags);

// Installs a handler and returns the one it replaces.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);
