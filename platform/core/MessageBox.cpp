#include "MessageBox.h"

#include <cstdio>
#include <utility>

namespace {
TMessageBoxHandler& Handler() {
  static TMessageBoxHandler handler;
  return handler;
}
}  // namespace

int MessageBox(const char* text, const char* caption, unsigned flags) {
  if (Handler()) return Handler()(text ? text : "", caption ? caption : "", flags);
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
  return IDOK;
}

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}
