#pragma once
// One watch expression and the state of its last evaluation.
//
// Grammar: an optional "&" (address-of) or "*" (dereference), a variable name,
// the member and index path of its type, an optional "[n]" after a pointer and
// an optional display suffix "," count? format; or "@" and an address with an
// optional area name, shown one hexadecimal byte at a time unless a suffix says
// otherwise.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "WatchState.h"

inline constexpr std::size_t WATCH_EXPRESSION_SIZE = 255;  // 254 characters and a NUL

class TWatchPoint {
 public:
  // Blanks are trimmed at both ends; a longer text is cut to 254 characters.
  explicit TWatchPoint(const std::string& expression);

  // Writes the row into out, size bytes that the caller filled with blanks:
  // with withName 1 the expression and ": " first, then the value or the
  // reason there is none. The text is followed by a blank and the buffer ends
  // with a NUL. pc decides which local of a name is in scope.
  void Evaluate(uint32_t pc, char* out, uint8_t withName, std::size_t size);

  char Expression[WATCH_EXPRESSION_SIZE] = {};
  std::unique_ptr<TWatchState> State;

 private:
  class TRow;
  bool ResolveAbsolute(TRow& row, uint8_t withName, const char*& rest);
  bool ResolveSymbol(TRow& row, uint32_t pc, const char*& rest);
  void ApplyIndex(const char*& rest);
  void ApplySuffix(const char* rest);
  uint32_t VariableAddress() const;
  void ReadPointer(uint16_t& area, uint32_t& address) const;
};
