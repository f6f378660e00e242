#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "Utility.h"

namespace {
enum : int {
  MODE_BYTE = 1,    // the item at hand is one byte
  MODE_ARRAY = 2,   // inside '[' ... ']'
  MODE_STRING = 4,  // an array of characters is being written as one quoted text
};

class TTextOut {
 public:
  TTextOut(char* out, size_t capacity) : Out(out), Capacity(capacity) {}

  void Put(char c) {
    if (Used + 1 < Capacity) Out[Used++] = c;
  }
  void Print(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    char text[400];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    for (const char* t = text; *t; ++t) Put(*t);
  }
  size_t Finish() {
    Out[Used] = '\0';
    return Used;
  }

 private:
  char* Out;
  size_t Capacity;
  size_t Used = 0;
};

size_t ItemSize(char size) {
  switch (size) {
    case '1': return 1;
    case '2': return 2;
    case '3': return 3;
    case '4': return 4;
    case '8': return 8;
    default: return 0;
  }
}

uint64_t ReadValue(const uint8_t* bytes, size_t n, bool littleEndian) {
  uint64_t v = 0;
  for (size_t i = 0; i < n; ++i) {
    const size_t k = littleEndian ? n - 1 - i : i;
    v = (v << 8) | bytes[k];
  }
  return v;
}

float AsFloat(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

double AsDouble(uint64_t bits) {
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

void PutCharacter(TTextOut& out, int& mode, uint32_t value) {
  if (mode == MODE_BYTE) out.Put('\'');
  if (mode == (MODE_ARRAY | MODE_BYTE)) {
    out.Put('"');
    mode |= MODE_STRING;
  }
  if (value == '\\') {
    out.Put('\\');
    out.Put('\\');
  } else if (value < 0x20 || value >= 0x7F) {
    out.Print("\\d%lu", static_cast<unsigned long>(value));
  } else {
    out.Put(static_cast<char>(value));
  }
  if (mode == MODE_BYTE) out.Put('\'');
}

// One item "%" size conversion over n bytes of value.
void PutItem(TTextOut& out, int& mode, size_t n, char conversion, uint64_t value) {
  const auto v32 = static_cast<uint32_t>(value);
  const bool small = n >= 1 && n <= 4;
  switch (conversion) {
    case 'h':
      if (small) out.Print("0x%0*lX", static_cast<int>(2 * n), static_cast<unsigned long>(v32));
      break;
    case 's':
      if (n == 1) PutCharacter(out, mode, v32);
      if (n == 2) out.Print("%d", static_cast<int16_t>(v32));
      if (n == 3) out.Print("%li", static_cast<long>(v32));
      if (n == 4) out.Print("%li", static_cast<long>(static_cast<int32_t>(v32)));
      break;
    case 'u':
      if (n == 1) PutCharacter(out, mode, v32);
      if (n >= 2 && n <= 4) out.Print("%lu", static_cast<unsigned long>(v32));
      break;
    case 'c':
      if (small) PutCharacter(out, mode, v32);
      break;
    case 'f':
    case 'l':
      if (small) out.Print("%f", static_cast<double>(AsFloat(v32)));
      break;
    case 'd':
      if (n == 8) out.Print("%f", AsDouble(value));
      break;
    case 'D':
      if (n == 8) out.Print("%Lf", static_cast<long double>(AsDouble(value)));
      break;
    default:
      break;
  }
}

bool EndsGroup(char c) { return c == '\0' || c == ']' || c == '}'; }
}  // namespace

int FormatValue(char* out, size_t capacity, const char* descriptor, const uint8_t* data, size_t dataLength,
                uint8_t byteOrder) {
  if (!out || capacity == 0) return 0;
  TTextOut text(out, capacity);
  const bool littleEndian = (byteOrder & 1) != 0;
  const char* d = descriptor ? descriptor : "";
  size_t used = 0;
  int mode = 0;
  while (*d) {
    mode &= ~MODE_BYTE;
    const char c = *d++;
    switch (c) {
      case '%': {
        if (d[0] == '\0' || d[1] == '\0') return static_cast<int>(text.Finish());
        const size_t n = ItemSize(d[0]);
        const char conversion = d[1];
        d += 2;
        if (!data || n > dataLength - used) return static_cast<int>(text.Finish());
        const uint64_t value = ReadValue(data + used, n, littleEndian);
        used += n;
        if (n == 1) mode |= MODE_BYTE;
        if (conversion == '?') break;  // skips its bytes, shows nothing
        PutItem(text, mode, n, conversion, value);
        if (mode != (MODE_ARRAY | MODE_STRING | MODE_BYTE) && !EndsGroup(*d)) text.Put(',');
        break;
      }
      case '[':
        mode = MODE_ARRAY;
        break;
      case ']':
        if (mode & MODE_STRING) text.Put('"');
        if (*d != '\0' && *d != '}') text.Put(',');
        mode = 0;
        break;
      case '{':
      case '}':
        text.Put(c);
        mode = 0;
        break;
      default:
        text.Put(c);
        break;
    }
  }
  return static_cast<int>(text.Finish());
}
