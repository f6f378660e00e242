#include "MemoryImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
char HexDigit(uint8_t n) { return static_cast<char>(n < 10 ? '0' + n : 'A' + n - 10); }

// Digits beyond 0-9, A-F and a-f are converted as they come, unchecked.
uint8_t DigitValue(char c) {
  if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  int n = c - '0';
  if (n > 9) n -= 7;
  return static_cast<uint8_t>(n);
}
}  // namespace

void TMemoryImage::Read(uint32_t address, uint32_t count, uint8_t* buffer) const {
  address &= 0xFFFF;
  while (count > 0) {
    uint32_t run = std::min<uint32_t>(count, 0x10000 - address);
    std::memcpy(buffer, &Bytes[address], run);
    buffer += run;
    count -= run;
    address = 0;
  }
}

void TMemoryImage::Write(uint32_t address, uint32_t count, const uint8_t* buffer) {
  address &= 0xFFFF;
  while (count > 0) {
    uint32_t run = std::min<uint32_t>(count, 0x10000 - address);
    std::memcpy(&Bytes[address], buffer, run);
    buffer += run;
    count -= run;
    address = 0;
  }
}

void TMemoryImage::ReadHex(uint32_t address, uint32_t count, char* text) const {
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t b = (*this)[address + i];
    *text++ = HexDigit(b >> 4);
    *text++ = HexDigit(b & 0x0F);
  }
}

void TMemoryImage::WriteHex(uint32_t address, uint32_t count, const char* text) {
  for (uint32_t i = 0; i < count; ++i, text += 2) {
    (*this)[address + i] = static_cast<uint8_t>((DigitValue(text[0]) << 4) | DigitValue(text[1]));
  }
}

// A count beyond the image's size goes round it more than once, and only the
// last lap survives: starting there gives the same bytes without the seconds
// that billions of writes would freeze the program for.
void TMemoryImage::Fill(uint32_t address, uint32_t count, uint32_t patternLength, const uint8_t* pattern) {
  if (patternLength == 0) return;
  uint32_t first = count > ImageSize ? count - ImageSize : 0;
  for (uint32_t i = first; i < count; ++i) (*this)[address + i] = pattern[i % patternLength];
}

void TMemoryImage::Copy(uint32_t source, uint32_t dest, uint32_t count) {
  if (count <= ImageSize) {
    for (uint32_t i = 0; i < count; ++i) (*this)[dest + i] = (*this)[source + i];
    return;
  }
  // Going round more than once: every byte written is read again distance
  // bytes later, so the bytes copied repeat with that period from the
  // image's first state, and only the last lap's writes survive.
  uint32_t distance = (dest - source) & 0xFFFF;
  if (distance == 0) return;
  const std::vector<uint8_t> before(Bytes.begin(), Bytes.end());
  for (uint32_t i = count - ImageSize; i < count; ++i) (*this)[dest + i] = before[(source + i % distance) & 0xFFFF];
}
