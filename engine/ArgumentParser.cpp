#include <cctype>
#include <cstring>
#include <strings.h>
#include <string>
#include <string_view>

#include "Configuration.h"
#include "MessageBox.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {
constexpr size_t MAX_TEXT_ITEM = 80;

int ShowError(const char* message) {
  MessageBox(message, "Error", MB_ICONSTOP);
  return -1;
}

std::string_view SkipSpace(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  return s;
}

// The caller's record, filled item by item and never past its capacity.
class TRecordWriter {
 public:
  TRecordWriter(void* out, size_t capacity) : Out(static_cast<uint8_t*>(out)), Capacity(out ? capacity : 0) {}

  bool Put(const void* bytes, size_t n) {
    if (Capacity - Used < n) return false;
    std::memcpy(Out + Used, bytes, n);
    Used += n;
    return true;
  }
  bool PutByte(uint8_t b) { return Put(&b, 1); }
  size_t Position() const { return Used; }
  void PutAt(size_t position, const void* bytes, size_t n) { std::memcpy(Out + position, bytes, n); }

 private:
  uint8_t* Out;
  size_t Capacity;
  size_t Used = 0;
};

// One value of a pattern, in the target's byte order.
bool PutPatternValue(TRecordWriter& out, uint32_t value, int size) {
  const bool swap = TheCpu->LittleEndian == 0;
  if (size == 2) {
    const uint16_t w = swap ? Swap16(static_cast<uint16_t>(value)) : static_cast<uint16_t>(value);
    return out.Put(&w, 2);
  }
  if (size == 4) {
    const uint32_t d = swap ? Swap32(value) : value;
    return out.Put(&d, 4);
  }
  return out.PutByte(static_cast<uint8_t>(value));
}

// P, PB, PW, PD: a count, then one quoted string, quoted character, braced list
// or expression from the rest of the answer.
int ParsePattern(std::string_view rest, int size, TRecordWriter& out) {
  const size_t countAt = out.Position();
  uint32_t count = 0;
  if (!out.Put(&count, 4)) return ShowError("Value out of range");
  auto put = [&](uint32_t value, int n) {
    if (!PutPatternValue(out, value, n)) return false;
    count += static_cast<uint32_t>(n);
    return true;
  };

  rest = SkipSpace(rest);
  const char first = rest.empty() ? '\0' : rest.front();
  if (first == '"') {
    const size_t close = rest.find('"', 1);
    if (close == std::string_view::npos) return ShowError("Undelimited string");
    for (size_t i = 1; i < close; ++i) {
      if (!put(static_cast<uint8_t>(rest[i]), 1)) return ShowError("Value out of range");
    }
  } else if (first == '\'') {
    // A quote with no character after it names no byte at all.
    if (rest.size() < 2) return ShowError("Syntax error");
    if (!put(static_cast<uint8_t>(rest[1]), 1)) return ShowError("Value out of range");
  } else if (first == '{') {
    const size_t close = rest.find('}');
    if (close == std::string_view::npos) return ShowError("Undelimited array");
    std::string_view list = rest.substr(1, close - 1);
    for (;;) {
      const size_t comma = list.find(',');
      const std::string_view element = SkipSpace(list.substr(0, comma));
      if (!element.empty() && element.front() == '\'') {
        if (element.size() < 2) return ShowError("Syntax error");
        if (!put(static_cast<uint8_t>(element[1]), 1)) return ShowError("Value out of range");
      } else {
        uint32_t value = 0;
        if (EvalString(std::string(element).c_str(), value) != 0) return ShowError("Syntax error");
        if ((size == 1 && value > 0xFF) || (size == 2 && value > 0xFFFF)) return -1;
        if (!put(value, size)) return ShowError("Value out of range");
      }
      if (comma == std::string_view::npos) break;
      list.remove_prefix(comma + 1);
    }
  } else {
    uint32_t value = 0;
    if (EvalString(std::string(rest).c_str(), value) != 0) return ShowError("Syntax error");
    if (size == 1 && value > 0xFF) return ShowError("Value out of range");
    if (size == 2 && value > 0xFFFF) return -1;
    if (!put(value, size)) return ShowError("Value out of range");
  }
  out.PutAt(countAt, &count, 4);
  return 0;
}

// [k1,k2,...]: the number of the first keyword that starts the field, the
// number of keywords when none does, 0 for an empty keyword (it matches anything).
uint8_t MatchKeyword(std::string_view keywords, const std::string& field) {
  int number = 0;
  for (;;) {
    ++number;
    const size_t comma = keywords.find(',');
    const std::string_view keyword = keywords.substr(0, comma);
    if (keyword.empty()) return 0;
    if (field.size() >= keyword.size() && strncasecmp(field.data(), keyword.data(), keyword.size()) == 0) {
      return static_cast<uint8_t>(number);
    }
    if (comma == std::string_view::npos) return static_cast<uint8_t>(number);
    keywords.remove_prefix(comma + 1);
  }
}
}  // namespace

int ParseArgs(const char* format, const char* answer, void* out, size_t capacity) {
  TRecordWriter record(out, capacity);
  std::string_view rest = answer ? answer : "";
  const char* f = format ? format : "";
  for (;;) {
    while (*f == ' ' || *f == '\t' || *f == ',' || *f == '.') ++f;
    if (*f == '\0') return 0;
    const char item = *f++;

    if (item == 'P') {
      int size = 1;
      if (*f == 'B') {
        ++f;
      } else if (*f == 'W') {
        size = 2;
        ++f;
      } else if (*f == 'D') {
        size = 4;
        ++f;
      }
      const int result = ParsePattern(rest, size, record);
      if (result != 0) return result;
      rest = {};
      continue;
    }
    if (item == 'S') {
      const std::string_view text = SkipSpace(rest).substr(0, MAX_TEXT_ITEM);
      if (!record.Put(text.data(), text.size()) || !record.PutByte(0)) return ShowError("Value out of range");
      rest = {};
      continue;
    }

    const size_t cut = rest.find_first_of(",.");
    const std::string field(rest.substr(0, cut));
    rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);

    switch (item) {
      case 'A': {
        uint8_t area = 0;
        uint32_t address = 0;
        const int result = ParseAddress(field.c_str(), area, address, 1);
        if (result != 0) return result;
        if (!record.PutByte(area) || !record.Put(&address, 4)) return ShowError("Value out of range");
        break;
      }
      case 'B':
      case 'W':
      case 'D': {
        uint32_t value = 0;
        if (EvalString(field.c_str(), value) != 0) return ShowError("Syntax error");
        if ((item == 'B' && value > 0xFF) || (item == 'W' && value > 0xFFFF)) return ShowError("Value out of range");
        const uint8_t byte = static_cast<uint8_t>(value);
        const uint16_t word = static_cast<uint16_t>(value);
        const bool stored = item == 'B' ? record.Put(&byte, 1) : item == 'W' ? record.Put(&word, 2) : record.Put(&value, 4);
        if (!stored) return ShowError("Value out of range");
        break;
      }
      case '[': {
        const char* close = std::strchr(f, ']');
        const size_t length = close ? static_cast<size_t>(close - f) : std::strlen(f);
        const uint8_t number = MatchKeyword(std::string_view(f, length), field);
        f += close ? length + 1 : length;
        if (!record.PutByte(number)) return ShowError("Value out of range");
        break;
      }
      default:
        break;
    }
  }
}
