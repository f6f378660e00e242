// Raw binary images, read in chunks of 32 bytes from address 0 on.
#include <cstdio>

#include "Formats.h"
#include "ImageRecord.h"
#include "LoaderState.h"
#include "Tokens.h"

int ReadBinary(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  constexpr size_t CHUNK = 32;
  unsigned char bytes[CHUNK];
  long got = state.File.Read(bytes, CHUNK);
  if (got < 0) return -1;
  if (got == 0) {
    record.Type = IR_END;
    return 0;
  }
  static const char digits[] = "0123456789ABCDEF";
  for (long i = 0; i < got; ++i) {
    record.Text[2 * i] = digits[bytes[i] >> 4];
    record.Text[2 * i + 1] = digits[bytes[i] & 0x0F];
  }
  record.Text[2 * got] = '\0';
  record.Type = IR_DATA;
  record.Area = 1;
  record.Count = static_cast<uint16_t>(got);
  record.Address = state.BinaryOffset;
  state.BinaryOffset += static_cast<uint32_t>(got);
  return static_cast<int>(got);
}

// The file is the records' bytes in the order of the calls; addresses are not used.
int WriteBinary(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  if (record.Type != IR_DATA && record.Type != IR_DATA_WIDE) return 0;
  if (!HoldsHexData(record)) return -1;
  char bytes[IMAGE_TEXT_SIZE / 2];
  for (size_t i = 0; i < record.Count; ++i)
    bytes[i] = static_cast<char>(HexDigit(record.Text[2 * i]) << 4 | HexDigit(record.Text[2 * i + 1]));
  return state.File.Write(bytes, record.Count);
}
