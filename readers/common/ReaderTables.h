#pragma once
// The four debug-information tables that the program owns and a reader fills.
// No size crosses the library boundary, so the capacities below are part of
// the interface: both sides must keep every entry inside them.
#include <cstddef>
#include <cstdint>

inline constexpr std::size_t MODULE_TABLE_SIZE = 65536;
inline constexpr std::size_t SCOPE_TABLE_SIZE = 65536;
inline constexpr std::size_t LINE_TABLE_SIZE = 524288;
inline constexpr std::size_t TYPE_BUFFER_SIZE = 1048576;

#pragma pack(push, 1)

// One compilation unit. The table ends at the first entry whose first byte is 0.
struct TModuleEntry {
  char ModuleName[33];
  char SourceFile[128];
  int16_t ModuleNumber;
  uint32_t Reserved163;
  uint16_t SourceBlockCount;
  uint32_t Reserved169;
  uint32_t FirstLinePtr;  // index of the module's first TLineEntry
  uint8_t Reserved177;
};

// One function or code block. The table ends at the first entry whose
// ModuleNumber is SCOPE_END_MODULE.
struct TScopeEntry {
  int16_t ModuleNumber;
  uint32_t StartAddress;
  uint32_t EndAddress;
  uint32_t FirstLine;
  uint32_t LastLine;
  uint32_t FirstLineEntry;  // index into the line table, from 0
};

// One source line. Readers write no end entry; the program zero-fills the table
// before a load, and no reader writes Area 0, so the filled part ends at the
// first entry of ten zero bytes.
struct TLineEntry {
  uint8_t Area;
  uint32_t Address;
  uint32_t Line;
  uint8_t LineKind;
};

// The fixed head of a variable-length type record; the kind's data follows it.
// The buffer always ends at a TypeIndex of 0.
struct TTypeRecord {
  int16_t TypeIndex;
  uint8_t TypeKind;
};

#pragma pack(pop)

inline constexpr std::size_t MODULE_TABLE_ENTRIES = MODULE_TABLE_SIZE / sizeof(TModuleEntry);
inline constexpr std::size_t SCOPE_TABLE_ENTRIES = SCOPE_TABLE_SIZE / sizeof(TScopeEntry);
inline constexpr std::size_t LINE_TABLE_ENTRIES = LINE_TABLE_SIZE / sizeof(TLineEntry);

// End markers and reset values.
inline constexpr int16_t SCOPE_END_MODULE = -1;
inline constexpr uint8_t LINE_KIND_NONE = 0xFF;  // the file recorded no line kinds
inline constexpr int16_t TYPE_END_INDEX = 0;

static_assert(sizeof(TModuleEntry) == 178);
static_assert(offsetof(TModuleEntry, ModuleName) == 0);
static_assert(offsetof(TModuleEntry, SourceFile) == 33);
static_assert(offsetof(TModuleEntry, ModuleNumber) == 161);
static_assert(offsetof(TModuleEntry, Reserved163) == 163);
static_assert(offsetof(TModuleEntry, SourceBlockCount) == 167);
static_assert(offsetof(TModuleEntry, Reserved169) == 169);
static_assert(offsetof(TModuleEntry, FirstLinePtr) == 173);
static_assert(offsetof(TModuleEntry, Reserved177) == 177);

static_assert(sizeof(TScopeEntry) == 22);
static_assert(offsetof(TScopeEntry, ModuleNumber) == 0);
static_assert(offsetof(TScopeEntry, StartAddress) == 2);
static_assert(offsetof(TScopeEntry, EndAddress) == 6);
static_assert(offsetof(TScopeEntry, FirstLine) == 10);
static_assert(offsetof(TScopeEntry, LastLine) == 14);
static_assert(offsetof(TScopeEntry, FirstLineEntry) == 18);

static_assert(sizeof(TLineEntry) == 10);
static_assert(offsetof(TLineEntry, Area) == 0);
static_assert(offsetof(TLineEntry, Address) == 1);
static_assert(offsetof(TLineEntry, Line) == 5);
static_assert(offsetof(TLineEntry, LineKind) == 9);

static_assert(sizeof(TTypeRecord) == 3);
static_assert(offsetof(TTypeRecord, TypeIndex) == 0);
static_assert(offsetof(TTypeRecord, TypeKind) == 2);

static_assert(MODULE_TABLE_ENTRIES == 368);
static_assert(SCOPE_TABLE_ENTRIES == 2978);
static_assert(LINE_TABLE_ENTRIES == 52428);
