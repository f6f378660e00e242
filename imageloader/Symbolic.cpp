// The "Symbolic/Typed" line format: '#', a record type digit, an address width,
// the address, a count, data digits or a name, and a checksum of the characters.
#include <cstdio>
#include <cstring>

#include "Formats.h"
#include "ImageLines.h"
#include "ImageRecord.h"
#include "LoaderState.h"
#include "Tokens.h"

int ReadSymbolic(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  int read = NextImageLine(state, record);
  if (read <= 0) return read;
  const char* line = state.Lines.Line();
  size_t length = static_cast<size_t>(read);
  record.Area = 1;
  record.Count = 0;
  if ((line[0] != '%' && line[0] != '#') || line[1] < '0' || line[1] > '9') return -1;
  record.Type = static_cast<uint16_t>(line[1] - '0');
  state.Lines.SkipRestOfLine(state.File);
  if (record.Type == IR_HEADER || record.Type == IR_END) return 0;

  size_t addressDigits = line[2] == '0' ? 4 : line[2] == '1' || line[2] == '2' ? 8 : 0;
  uint32_t address;
  if (addressDigits == 0 || !ReadHexField(line, length, 3, addressDigits, address)) return -1;
  record.Address = address;
  if (record.Type == IR_START || record.Type == IR_ADDRESS) return 0;

  size_t position = 3 + addressDigits;
  uint32_t count;
  if (!ReadHexField(line, length, position, 2, count)) return -1;
  position += 2;
  if (record.Type == IR_DATA || record.Type == IR_DATA_WIDE) {
    if (!HasHexDigits(line, length, position, 2 * count)) return -1;
    SetText(record, line + position, 2 * count);
  } else {
    if (length - position < count) return -1;
    SetText(record, line + position, count);
  }
  record.Count = static_cast<uint16_t>(count);
  return static_cast<int>(count);
}

int WriteSymbolic(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  if (record.Type < IR_DATA || record.Type > IR_SYMBOL6) return 0;
  bool data = record.Type == IR_DATA || record.Type == IR_DATA_WIDE;
  size_t characters = data ? 2u * record.Count : record.Count;
  if (data ? !HoldsHexData(record)
           : record.Text == nullptr || strnlen(record.Text, IMAGE_TEXT_SIZE) < characters)
    return -1;
  record.Area = 1;

  char line[24 + IMAGE_TEXT_SIZE];
  int size = std::snprintf(line, sizeof line, "#%u1%08X%02X", static_cast<unsigned>(record.Type),
                           static_cast<unsigned>(record.Address), static_cast<unsigned>(record.Count));
  std::memcpy(line + size, record.Text, characters);
  size += static_cast<int>(characters);
  unsigned sum = 0;
  for (int i = 0; i < size; ++i) sum += static_cast<unsigned char>(line[i]);
  size += std::snprintf(line + size, sizeof line - static_cast<size_t>(size), "%02X\n", sum & 0xFF);
  return state.File.Write(line, static_cast<size_t>(size));
}
