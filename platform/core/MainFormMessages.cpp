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

LRESULT SendBeginBusy(const std::string& text) {
  return SendToMainForm(UM_BEGINBUSY, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT SendStatusText(const std::string& text) {
  return SendToMainForm(UM_STATUSTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

const char* MessageText(LPARAM lParam) { return lParam ? reinterpret_cast<const char*>(lParam) : ""; }

TMainFormHandler SetMainFormHandler(TMainFormHandler handler) {
  return std::exchange(FormHandler(), std::move(handler));
}

void PostQuitMessage(int exitCode) {
  if (QuitHandler()) QuitHandler()(exitCode);
}

TQuitHandler SetQuitHandler(TQuitHandler handler) {
  return std::exchange(QuitHandler(), std::move(handler));
}
