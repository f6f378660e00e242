#include "MardynTypes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "IeeeInput.h"
#include "MardynTables.h"

namespace {

// Built-in IEEE-695 types 0 to 25 as the program's basic type indexes.
constexpr std::array<uint16_t, 26> kBuiltInTypes = {0, 12, 2, 1, 6, 5, 8, 7, 16, 17, 9, 10, 11,
                                                    18, 0, 14, 8, 7, 7, 2, 8, 6, 5, 6, 6, 19};

// Byte sizes of the program's basic types 0 to 17; 18 to 99 have none.
constexpr std::array<uint32_t, 18> kBasicSizes = {0, 1, 1, 2, 2, 2, 2, 4, 4, 4, 8, 8, 0, 0, 2, 1, 3, 4};

enum : uint8_t { kPointer = 15, kArray = 16, kStruct = 17, kUnion = 18, kTypedef = 21 };

// Builds one record in memory, so that it reaches the buffer whole or not at all.
class TRecord {
 public:
  TRecord(uint16_t index, uint8_t kind) {
    Put16(index);
    Put8(kind);
  }
  void Put8(uint8_t v) { bytes_.push_back(v); }
  void Put16(uint16_t v) { Put(&v, sizeof v); }
  void Put32(uint32_t v) { Put(&v, sizeof v); }
  void Put(const void* data, std::size_t size) {
    auto p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
  }
  void Patch32(std::size_t offset, uint32_t v) { std::memcpy(bytes_.data() + offset, &v, sizeof v); }
  std::size_t Size() const { return bytes_.size(); }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// A member name: a length byte and that many characters, copied as they stand.
struct TMemberName {
  uint8_t Length = 0;
  std::array<uint8_t, 255> Characters;

  explicit TMemberName(TIeeeInput& input) : Length(input.ReadByte()) { input.ReadBytes(Characters.data(), Length); }
  void PutInto(TRecord& record) const {
    record.Put8(Length);
    record.Put(Characters.data(), Length);
  }
};

}  // namespace

void TMardynTypes::BeginModuleTypes() { base_ = anyGiven_ ? static_cast<uint16_t>(highest_ + 1) : highest_; }

uint16_t TMardynTypes::Map(uint32_t n) const {
  uint16_t index = static_cast<uint16_t>(n);
  if (index >= 256) return Rebase(index);
  if (index < kBuiltInTypes.size()) return kBuiltInTypes[index];
  if (index < 32) return index;
  return 14;
}

uint32_t TMardynTypes::SizeOf(uint16_t index) const {
  if (index < kBasicSizes.size()) return kBasicSizes[index];
  auto found = sizes_.find(index);
  return found == sizes_.end() ? 0 : found->second;
}

void TMardynTypes::ReadDefinition(TIeeeInput& input, TMardynTables& tables) {
  input.ReadByte();
  uint16_t index = Rebase(input.ReadNumber());
  anyGiven_ = true;
  highest_ = std::max(highest_, index);
  input.ReadByte();
  input.ReadNumber();
  char letter = static_cast<char>(input.ReadByte());

  switch (letter) {
    case 'O':
    case 'P': {
      TRecord record(index, kPointer);
      uint16_t size = letter == 'O' ? 2 : 4;
      record.Put16(Map(input.ReadNumber()));
      record.Put16(size);
      tables.AddType(record.Bytes());
      sizes_[index] = size;
      break;
    }
    case 'Z': {
      // The program reads an array as element type, byte size and element count.
      TRecord record(index, kArray);
      uint16_t element = Map(input.ReadNumber());
      uint64_t count = uint64_t{input.ReadNumber()} + 1;
      uint32_t size = static_cast<uint32_t>(std::min<uint64_t>(count * SizeOf(element), UINT32_MAX));
      record.Put16(element);
      record.Put32(size);
      record.Put32(static_cast<uint32_t>(count));
      tables.AddType(record.Bytes());
      sizes_[index] = size;
      break;
    }
    case 'T': {
      TRecord record(index, kTypedef);
      uint16_t type = Map(input.ReadNumber());
      record.Put8(0);
      record.Put16(type);
      tables.AddType(record.Bytes());
      sizes_[index] = SizeOf(type);
      break;
    }
    case 'S': {
      TRecord record(index, kStruct);
      record.Put8(0);
      uint32_t size = input.ReadNumber();
      record.Put32(size);
      std::size_t countAt = record.Size();
      record.Put32(0);
      uint32_t members = 0;
      while (input.PeekByte() < 0x80) {
        TMemberName name(input);
        uint16_t type = Map(input.ReadNumber());
        record.Put32(input.ReadNumber());
        name.PutInto(record);
        record.Put16(type);
        ++members;
      }
      record.Patch32(countAt, members);
      tables.AddType(record.Bytes());
      sizes_[index] = size;
      break;
    }
    case 'U': {
      TRecord record(index, kUnion);
      uint32_t size = input.ReadNumber();
      record.Put32(size);
      std::size_t countAt = record.Size();
      record.Put32(0);
      uint32_t members = 0;
      while (input.PeekByte() < 0x90) {
        TMemberName(input).PutInto(record);
        input.ReadNumber();
        record.Put16(Map(input.ReadNumber()));
        ++members;
      }
      record.Patch32(countAt, members);
      tables.AddType(record.Bytes());
      sizes_[index] = size;
      break;
    }
    case 'N':
      if (input.PeekByte() == 0) {
        input.ReadByte();
        input.ReadNumber();
      }
      while (input.PeekByte() < 0x90) {
        input.SkipName();
        input.ReadNumber();
      }
      break;
    case 'g':
      input.SkipNumbers(2);
      if (input.PeekByte() < 0x90) input.ReadNumber();
      break;
    case 'n':
      input.SkipNumbers(3);
      break;
    case 'x': {
      input.SkipNumbers(4);
      uint32_t d = input.ReadNumber();
      if (d == UINT32_MAX) {
        input.ReadByte();
      } else {
        for (uint32_t i = 0; i < d; ++i) input.ReadNumber();
        if (static_cast<int32_t>(input.ReadNumber()) > 0) input.ReadNumber();
      }
      break;
    }
    default:
      break;
  }
  tables.EndTypes();
}
