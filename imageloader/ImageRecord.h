#pragma once
// The record and the entry points through which the program moves program
// images in and out of Brenlow.so, shared by both sides of the library boundary.
#include <cstddef>
#include <cstdint>

enum TImageRecordType : uint16_t {
  IR_HEADER = 0,       // no data; nothing to do
  IR_DATA = 1,
  IR_DATA_WIDE = 2,    // data from the symbolic format and S2/S3 records
  IR_SYMBOL = 3,
  IR_SYMBOL4 = 4,
  IR_SYMBOL_COMPANION = 5,
  IR_SYMBOL6 = 6,
  IR_START = 7,        // start address
  IR_ADDRESS = 8,      // address record
  IR_END = 9,          // end of the data
};

// The caller owns the text buffer: data as two hex digits a byte, or a symbol
// name, NUL-terminated either way.
constexpr size_t IMAGE_TEXT_SIZE = 256;
// Room GetFormat needs for a format's description.
constexpr size_t FORMAT_DESCRIPTION_SIZE = 32;

#pragma pack(push, 1)
struct TImageRecord {
  uint16_t Type;     // a TImageRecordType
  uint8_t Area;      // area attribute or memory class; 1 for plain data
  uint32_t Address;  // target address, or a symbol's value
  uint16_t Count;    // data bytes, or name characters
  char* Text;        // IMAGE_TEXT_SIZE bytes owned by the caller
};
#pragma pack(pop)

static_assert(sizeof(TImageRecord) == 17);
static_assert(offsetof(TImageRecord, Type) == 0);
static_assert(offsetof(TImageRecord, Area) == 2);
static_assert(offsetof(TImageRecord, Address) == 3);
static_assert(offsetof(TImageRecord, Count) == 7);
static_assert(offsetof(TImageRecord, Text) == 9);

// Signatures of the exports and their names, as the host binds them.
extern "C" {
using TBrenlowVersion = const char* (*)();
using TBrenlowFindFormat = int32_t (*)(const char* name);
using TBrenlowGetFormat = int32_t (*)(int32_t number, char* description);
using TBrenlowSetFormat = int32_t (*)(int32_t number);
using TBrenlowOpen = int32_t (*)(const char* path, int32_t mode);
using TBrenlowGetData = int32_t (*)(TImageRecord* record);
using TBrenlowPutData = int32_t (*)(TImageRecord* record);
using TBrenlowClose = int32_t (*)();
}

inline constexpr const char* BRENLOW_VERSION = "Version";
inline constexpr const char* BRENLOW_FIND_FORMAT = "FindFormat";
inline constexpr const char* BRENLOW_GET_FORMAT = "GetFormat";
inline constexpr const char* BRENLOW_SET_FORMAT = "SetFormat";
inline constexpr const char* BRENLOW_OPEN = "Open";
inline constexpr const char* BRENLOW_GET_DATA = "GetData";
inline constexpr const char* BRENLOW_PUT_DATA = "PutData";
inline constexpr const char* BRENLOW_CLOSE = "Close";
