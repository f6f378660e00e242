// Type lookup in TypeBuffer. The buffer is a chain of variable-length records
// whose lengths come from the file; a record that would run past the buffer
// ends the chain. One scan along it serves every lookup until the buffer
// changes.
#include <algorithm>

#include "Debug.h"
#include "Utility.h"

namespace {

// Skips the data that follows the kind byte of a record.
void SkipTypeData(TByteStream& s, uint8_t kind) {
  uint8_t n = 0;
  uint32_t count = 0;
  switch (kind) {
    case 15:
    case 19:
      s.Skip(4);
      break;
    case 16:
      s.Skip(10);
      break;
    case 17:  // name, size, members {offset, name, type}
      s.ReadByte(n);
      s.Skip(n);
      s.Skip(4);
      s.ReadDword(count);
      for (uint32_t i = 0; i < count && !s.Exhausted(); ++i) {
        s.Skip(4);
        s.ReadByte(n);
        s.Skip(n + 2);
      }
      break;
    case 18:  // size, members {name, type}
      s.Skip(4);
      s.ReadDword(count);
      for (uint32_t i = 0; i < count && !s.Exhausted(); ++i) {
        s.ReadByte(n);
        s.Skip(n + 2);
      }
      break;
    case 20:
      s.Skip(3);
      s.ReadByte(n);
      s.Skip(2 * n);
      break;
    case 21:
      s.Skip(3);
      break;
    case 36:
      s.Skip(6);
      break;
    case 97:  // two-part pointer: layout byte, memory type, target type
      s.Skip(4);
      break;
    case 44:  // name, constants {name, value}
      s.Skip(2);
      s.ReadByte(n);
      s.Skip(n);
      s.ReadDword(count);
      for (uint32_t i = 0; i < count && !s.Exhausted(); ++i) {
        s.ReadByte(n);
        s.Skip(n + 4);
      }
      break;
    default:
      if ((kind >= 23 && kind <= 34) || (kind >= 37 && kind <= 40) || kind == 42 || kind == 43 || kind == 49 ||
          kind == 53)
        s.Skip(2);
      break;
  }
}

}  // namespace

uint8_t TDebug::FindType(uint16_t index) {
  CheckTypeChain();
  return LookUpType(index);
}

void TDebug::CheckTypeChain() {
  TTypeChain& c = TypeChain;
  if (std::equal(c.Read.begin(), c.Read.end(), TypeBuffer.get())) return;
  for (uint16_t index : c.Met) c.First[index] = 0;
  c.Met.clear();
  c.Read.clear();
  c.Next = 0;
  c.Ended = false;
}

uint8_t TDebug::LookUpType(uint16_t index) {
  TTypeChain& c = TypeChain;
  const uint8_t* buffer = TypeBuffer.get();
  if (c.First[index] == 0 && !c.Ended) {
    TByteStream s(buffer + c.Next, buffer + TYPE_BUFFER_SIZE);
    for (;;) {
      const auto offset = static_cast<uint32_t>(s.GetPos() - buffer);
      uint16_t recordIndex = 0;
      uint8_t kind = 0;
      s.ReadWord(recordIndex);
      s.ReadByte(kind);
      if (s.Exhausted() || recordIndex == 0) {
        c.Ended = true;
        break;
      }
      if (c.First[recordIndex] == 0) {
        c.First[recordIndex] = offset + 1;
        c.Met.push_back(recordIndex);
      }
      // The record found may claim members up to the buffer's end: its data
      // is skipped only when a later lookup has to go on past it.
      if (recordIndex == index) {
        c.Next = offset;
        break;
      }
      SkipTypeData(s, kind);
    }
    const uint8_t* read = buffer + c.Read.size();
    if (s.GetPos() > read) c.Read.insert(c.Read.end(), read, s.GetPos());
  }
  if (c.First[index] == 0) return 0;
  TypeCursor = c.First[index] - 1;
  return 1;
}
