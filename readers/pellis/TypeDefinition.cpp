#include "TypeDefinition.h"

#include "ObjectFile.h"
#include "ReaderTables.h"

namespace {

class TRecordBytes {
 public:
  void U8(uint8_t value) { Put(&value, 1); }
  void I16(uint16_t value) {
    uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    Put(bytes, 2);
  }
  void U32(uint32_t value) {
    I16(static_cast<uint16_t>(value));
    I16(static_cast<uint16_t>(value >> 16));
  }
  void Copy(TObjectFile& file, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) U8(file.Byte());
  }
  // A length byte and its characters, as they stand.
  void Name(TObjectFile& file) {
    uint8_t length = file.Byte();
    U8(length);
    Copy(file, length);
  }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  void Put(const uint8_t* data, std::size_t count) {
    if (bytes_.size() + count > TYPE_BUFFER_SIZE) throw TRecordFault{};
    bytes_.insert(bytes_.end(), data, data + count);
  }
  std::vector<uint8_t> bytes_;
};

// Element counts carried in a be32 count only by their low 16 bits.
uint32_t Count16(TObjectFile& file) { return file.Be32() & 0xFFFF; }

}  // namespace

std::vector<uint8_t> ReadTypeDefinition(TObjectFile& file) {
  uint16_t index = file.Be16();
  uint8_t kind = file.Byte();
  TRecordBytes record;
  auto head = [&](uint8_t storedKind) {
    record.I16(index);
    record.U8(storedKind);
  };

  switch (kind) {
    case 15:  // pointer
      head(15);
      record.I16(file.Be16());
      record.I16(2);
      break;
    case 16:  // array
    case 41:
      head(16);
      record.I16(file.Be16());
      record.U32(file.Be32());
      record.U32(kind == 16 ? file.Be16() : file.Be32());
      break;
    case 17: {  // structure
      head(17);
      record.U8(0);
      file.SkipName();
      record.U32(file.Be32());
      uint16_t members = file.Be16();
      record.U32(members);
      for (uint32_t i = 0; i < members; ++i) {
        record.U32(file.Be32());
        record.Name(file);
        record.I16(file.Be16());
      }
      break;
    }
    case 18: {  // enumeration
      head(18);
      file.SkipName();
      record.U32(file.Be32());
      uint16_t members = file.Be16();
      record.U32(members);
      for (uint32_t i = 0; i < members; ++i) {
        record.Name(file);
        record.I16(file.Be16());
      }
      break;
    }
    case 19:
      head(19);
      record.Copy(file, 2);
      record.I16(file.Be16());
      break;
    case 20:  // function
    case 35: {
      head(20);
      record.I16(file.Be16());
      record.U8(file.Byte());
      if (kind == 35) file.Skip(4);
      uint8_t parameters = file.Byte();
      record.U8(parameters);
      record.Copy(file, parameters * 2u);
      break;
    }
    case 21:
      head(21);
      record.U8(file.Byte());
      record.I16(file.Be16());
      break;
    case 23: case 24: case 25: case 26: case 27: case 28: case 29: case 30:
    case 31: case 32: case 33: case 34: case 37: case 38: case 39: case 40:
      head(kind);
      record.I16(file.Be16());
      break;
    case 36:
      head(36);
      record.U32(file.Be32());
      record.I16(file.Be16());
      break;
    case 42:
    case 43:
      head(kind);
      file.Skip(1);
      record.I16(file.Be16());
      file.Skip(4);
      file.SkipName();
      break;
    case 44: {
      head(44);
      record.I16(file.Be16());
      record.Name(file);
      uint32_t items = Count16(file);
      record.U32(items);
      for (uint32_t i = 0; i < items; ++i) {
        record.Name(file);
        record.U32(file.Be32());
      }
      break;
    }
    case 49:
      head(49);
      record.I16(file.Be16());
      file.Skip(4);
      break;
    case 50:
      file.Skip(6);
      break;
    case 51: {
      file.Skip(6);
      uint32_t items = Count16(file);
      file.Skip(items * 8ull);
      break;
    }
    case 52: {
      file.Skip(12);
      uint32_t items = Count16(file);
      file.Skip(items * 14ull);
      break;
    }
    case 53:
      file.Skip(2);
      break;
    default:
      break;
  }
  return record.Take();
}
