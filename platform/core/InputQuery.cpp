#include "InputQuery.h"

#include <utility>

namespace {
TInputQueryHandler& Handler() {
  static TInputQueryHandler handler;
  return handler;
}
}  // namespace

bool InputQuery(const char* caption, const char* prompt, std::string& value, int mode) {
  return Handler() && Handler()(caption, prompt, value, mode);
}

TInputQueryHandler SetInputQueryHandler(TInputQueryHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}
