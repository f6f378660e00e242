#include <cctype>
#include <cstring>

#include "Configuration.h"
#include "Symbols.h"
#include "Utility.h"

namespace {
char DefaultRadix = 'D';

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;
}

int RadixBase(char radix) {
  switch (radix) {
    case 'B': return 2;
    case 'O': return 8;
    case 'H': return 16;
    default: return 10;
  }
}
}  // namespace

void SetDefaultRadix(char letter) { DefaultRadix = letter; }

char GetDefaultRadix() { return DefaultRadix; }

int ParseNumber(const char* text, uint32_t& value) {
  if (!text) return -1;
  SkipWhiteSpace(text);
  if (*text == '+') ++text;
  const bool negative = *text == '-';
  if (negative) ++text;
  SkipWhiteSpace(text);

  uint32_t result = 0;
  if (!std::isdigit(static_cast<unsigned char>(*text))) {
    // Anything that does not start with a digit names a symbol.
    const TSymbolRecord* symbol = TheSymbols ? TheSymbols->FindByName(text, false) : nullptr;
    if (!symbol) return -2;
    result = symbol->Value;
  } else {
    size_t digits = std::strlen(text);
    char radix = DefaultRadix;
    const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(text[digits - 1])));
    if (std::strchr("BDHO", last)) {
      radix = last;
      --digits;
    }
    const int base = RadixBase(radix);
    for (size_t i = 0; i < digits; ++i) {
      const int d = DigitValue(text[i]);
      if (d >= base) return -1;
      result = result * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
    }
  }
  value = negative ? 0u - result : result;
  return 0;
}
