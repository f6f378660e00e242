// Intel HEX images: ':' records 00 to 04 and the symbol lines some tools add.
#include <cstdio>
#include <cstring>

#include "Companion.h"
#include "Formats.h"
#include "ImageLines.h"
#include "ImageRecord.h"
#include "LoaderState.h"
#include "Tokens.h"

namespace {

constexpr int NEXT_LINE = -2;

int ReadColonRecord(TImageRecord& record, const char* line, size_t length) {
  TLoaderState& state = State();
  uint32_t count, address, type;
  if (!ReadHexField(line, length, 1, 2, count) || !ReadHexField(line, length, 3, 4, address) ||
      !ReadHexField(line, length, 7, 2, type) || !HasHexDigits(line, length, 9, 2 * count))
    return -1;
  record.Count = static_cast<uint16_t>(count);
  record.Address = state.UpperAddress + address;
  uint32_t value;
  switch (type) {
    case 0x00:
      record.Type = IR_DATA;
      SetText(record, line + 9, 2 * count);
      record.Count = static_cast<uint16_t>(count);
      return static_cast<int>(count);
    case 0x01:
      record.Type = IR_END;
      return 0;
    case 0x02:  // segment base: value × 16
      if (count != 2 || !ReadHexField(line, length, 9, 4, value)) return -1;
      state.UpperAddress = value << 4;
      return NEXT_LINE;
    case 0x04:  // linear base: the upper 16 bits
      if (count != 2 || !ReadHexField(line, length, 9, 4, value)) return -1;
      state.UpperAddress = value << 16;
      return NEXT_LINE;
    case 0x03:
      if (count != 4 || !ReadHexField(line, length, 9, 8, value)) return -1;
      record.Type = IR_START;
      record.Address = value;
      return 0;
    default:
      return -1;
  }
}

int ReadSymbolLine(TImageRecord& record, const char* line, size_t length, size_t skip) {
  size_t position = SkipWhite(line, skip < length ? skip : length);
  size_t end = TokenEnd(line, position);
  record.Type = IR_SYMBOL;
  SetText(record, line + position, end - position);
  record.Address = ReadHexNumber(line, SkipWhite(line, end));
  return record.Count;
}

}  // namespace

int ReadIntelHex(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  for (;;) {
    int length = NextImageLine(state, record);
    if (length <= 0) return length;
    const char* line = state.Lines.Line();
    record.Area = 1;
    record.Count = 0;
    switch (line[0]) {
      case ':': {
        int result = ReadColonRecord(record, line, static_cast<size_t>(length));
        if (result != -1) state.Lines.SkipRestOfLine(state.File);
        if (result != NEXT_LINE) return result;
        break;
      }
      case ' ':
        return ReadSymbolLine(record, line, static_cast<size_t>(length), 1);
      case '0':
        return ReadSymbolLine(record, line, static_cast<size_t>(length), 2);
      case '$':
        break;
      default:
        return -1;
    }
  }
}

int ReadIntelHexWithM51(TImageRecord& record) {
  return ReadImageThenCompanion(record, ReadIntelHex, ".M51", ReadM51Symbols);
}

int ReadIntelHexWithAd2500(TImageRecord& record) {
  return ReadImageThenCompanion(record, ReadIntelHex, ".SYM", ReadIntelHex);
}

int ReadIntelHexWithToshiba(TImageRecord& record) {
  return ReadImageThenCompanion(record, ReadIntelHex, ".SYM", ReadToshibaSymbols);
}

int ReadIntelHexWithAvrasm(TImageRecord& record) {
  return ReadImageThenCompanion(record, ReadIntelHex, ".LST", ReadAvrasmSymbols);
}

// Symbol records carry no bytes, so only data records are written.
int WriteIntelHex(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  if (record.Type != IR_DATA && record.Type != IR_DATA_WIDE) return 0;
  if (!HoldsHexData(record)) return -1;

  char line[16 + IMAGE_TEXT_SIZE];
  uint32_t upper = record.Address & 0xFFFF0000u;
  if (upper != state.UpperAddress) {
    state.UpperAddress = upper;
    unsigned high = upper >> 16;
    unsigned sum = 0x02 + 0x04 + (high >> 8) + (high & 0xFF);
    int size = std::snprintf(line, sizeof line, ":02000004%04X%02X\n", high, -sum & 0xFF);
    if (state.File.Write(line, static_cast<size_t>(size)) < 0) return -1;
  }
  record.Address &= 0xFFFF;
  record.Area = 1;

  size_t digits = 2u * record.Count;
  int size = std::snprintf(line, sizeof line, ":%02X%04X00", record.Count, record.Address);
  std::memcpy(line + size, record.Text, digits);
  unsigned sum = record.Count + (record.Address >> 8) + (record.Address & 0xFF) +
                 SumOfHexBytes(record.Text, digits);
  size += static_cast<int>(digits);
  size += std::snprintf(line + size, sizeof line - static_cast<size_t>(size), "%02X\n", -sum & 0xFF);
  return state.File.Write(line, static_cast<size_t>(size));
}
