#include "MainFormMessages.h"

#include <utility>

namespace {
TMainFormHandler& FormHandler() {
  static TMainFormHandler handler;
  return handler;
}
TQuitHandler& QuitHandler() {
  static TQuitHandler handler;
  return handler;
}
}  // namespace

LRESULT SendToMainForm(unsigned msg, WPARAM wParam, LPARAM lParam) {
  return FormHandler() ? FormHandler()(msg, wParam, lParam) : 0;
}

TMainFormHandler SetMainFormHandler(TMainFormHandler handler) {
  return std::exchange(FormHandler(), std::move(handler));
}

void PostQuitMessage(int exitCode) {
  if (QuitHandler()) QuitHandler()(exitCode);
}

TQuitHandler SetQuitHandler(TQuitHandler handler) {
  return std::exchange(QuitHandler(), std::move(handler));
}
