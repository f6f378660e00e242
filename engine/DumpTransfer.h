#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#pragma pack(push, 1)
// A block load: file addresses FileAddress .. FileAddress + Count - 1 go to
// MemoryAddress and up.
struct _LoadAreaType {
  uint32_t FileAddress;
  uint8_t Area;
  uint32_t MemoryAddress;
  uint32_t Count;
};
// A block save: Count bytes from MemoryAddress on, written with FileAddress
// as the address of the first.
struct _SaveAreaType {
  uint8_t Area;
  uint32_t MemoryAddress;
  uint32_t FileAddress;
  uint32_t Count;
};
#pragma pack(pop)
static_assert(sizeof(_LoadAreaType) == 13);
static_assert(offsetof(_LoadAreaType, Area) == 4);
static_assert(offsetof(_LoadAreaType, MemoryAddress) == 5);
static_assert(offsetof(_LoadAreaType, Count) == 9);
static_assert(sizeof(_SaveAreaType) == 13);
static_assert(offsetof(_SaveAreaType, MemoryAddress) == 1);
static_assert(offsetof(_SaveAreaType, FileAddress) == 5);
static_assert(offsetof(_SaveAreaType, Count) == 9);

// The bytes of one data record that belong to a block: Skip bytes from the
// record's start, then Count bytes.
struct TRecordSlice {
  uint32_t Skip = 0;
  uint32_t Count = 0;
};
// A record of count bytes at address whose text holds textLength hex digits,
// against the file addresses [first, first + blockCount).
TRecordSlice SliceRecord(uint32_t address, uint32_t count, std::size_t textLength, uint32_t first,
                         uint32_t blockCount);

// Block load and save through the image library, in the library's format
// number. Both show their own messages, send the main window their busy state
// and progress at most every 500 ms, and stop at the next progress check after
// <H>. SaveBlock advances the block's MemoryAddress and Count as it goes.
void LoadBlock(const std::string& fileName, int format, _LoadAreaType& block);
void SaveBlock(const std::string& fileName, int format, _SaveAreaType& block);
