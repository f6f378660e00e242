// Motorola S-records: S0 header, S1 to S3 data, S8 and S9 end records.
#include <cstdio>
#include <cstring>

#include "Companion.h"
#include "Formats.h"
#include "ImageLines.h"
#include "ImageRecord.h"
#include "LoaderState.h"
#include "Tokens.h"

namespace {

// Address bytes of an S-record, 0 for the record kinds that are not read.
size_t AddressBytes(char digit) {
  switch (digit) {
    case '0':
    case '1':
    case '9': return 2;
    case '2':
    case '8': return 3;
    case '3': return 4;
    default: return 0;
  }
}

int ReadSRecord(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  int read = NextImageLine(state, record);
  if (read <= 0) return read;
  const char* line = state.Lines.Line();
  size_t length = static_cast<size_t>(read);
  record.Area = 1;
  record.Count = 0;
  if (line[0] != 'S') return -1;
  size_t addressBytes = AddressBytes(line[1]);
  uint32_t recordLength, address;
  if (addressBytes == 0 || !ReadHexField(line, length, 2, 2, recordLength) ||
      recordLength < addressBytes + 1 || !ReadHexField(line, length, 4, 2 * addressBytes, address))
    return -1;
  uint32_t count = recordLength - static_cast<uint32_t>(addressBytes) - 1;
  size_t data = 4 + 2 * addressBytes;
  if (!HasHexDigits(line, length, data, 2 * count)) return -1;
  state.Lines.SkipRestOfLine(state.File);
  record.Address = address;
  record.Count = static_cast<uint16_t>(count);
  switch (line[1]) {
    case '0':
      record.Type = IR_HEADER;
      for (uint32_t i = 0; i < count; ++i)
        record.Text[i] = static_cast<char>(HexByte(line + data + 2 * i));
      record.Text[count] = '\0';
      return static_cast<int>(count);
    case '1':
    case '2':
    case '3':
      record.Type = line[1] == '1' ? IR_DATA : IR_DATA_WIDE;
      SetText(record, line + data, 2 * count);
      record.Count = static_cast<uint16_t>(count);
      return static_cast<int>(count);
    default:
      record.Type = IR_END;
      return 0;
  }
}

}  // namespace

int ReadMotorola(TImageRecord& record) {
  return ReadImageThenCompanion(record, ReadSRecord, ".SYM", ReadMotorolaSymbols);
}

// Symbol records carry no bytes, so only data records are written. The record's
// Type becomes the S-record digit used.
int WriteSRecord(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  if (record.Type != IR_DATA && record.Type != IR_DATA_WIDE) return 0;
  if (!HoldsHexData(record)) return -1;

  unsigned digit = record.Address < 0x10000u ? 1 : record.Address < 0x1000000u ? 2 : 3;
  record.Type = static_cast<uint16_t>(digit);
  unsigned recordLength = record.Count + digit + 2;
  int addressDigits = 2 * static_cast<int>(digit + 1);
  size_t digits = 2u * record.Count;

  char line[16 + IMAGE_TEXT_SIZE];
  int size = std::snprintf(line, sizeof line, "S%u%02X%0*X", digit, recordLength, addressDigits,
                           static_cast<unsigned>(record.Address));
  std::memcpy(line + size, record.Text, digits);
  unsigned sum = recordLength + SumOfHexBytes(line + 4, static_cast<size_t>(addressDigits)) +
                 SumOfHexBytes(record.Text, digits);
  size += static_cast<int>(digits);
  size += std::snprintf(line + size, sizeof line - static_cast<size_t>(size), "%02X\n", ~sum & 0xFF);
  return state.File.Write(line, static_cast<size_t>(size)) < 0 ? -1 : 0;
}
