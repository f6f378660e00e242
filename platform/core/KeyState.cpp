#include "KeyState.h"

#include <cctype>
#include <utility>

namespace {
TKeyStateHandler& Handler() {
  static TKeyStateHandler handler;
  return handler;
}
}  // namespace

short GetAsyncKeyState(int vk) { return Handler() ? Handler()(vk) : 0; }

TKeyStateHandler SetKeyStateHandler(TKeyStateHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

short VkKeyScan(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  if (std::isalnum(u)) return static_cast<short>(std::toupper(u));
  return -1;
}
