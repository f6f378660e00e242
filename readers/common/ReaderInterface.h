#pragma once
// What crosses the boundary between the program and a debug-information
// reader plug-in: the result of Parse, the code block, and the entry points
// as the program binds them by name.
#include <cstddef>
#include <cstdint>

#include "SymbolRecord.h"
#include "ReaderTables.h"

enum TReaderResultKind : uint8_t {
  PR_END = 0,
  PR_CODE = 1,         // payload: TCodeBlock*
  PR_SYMBOLS = 2,      // payload: TSymbolSlot array ended by an empty name
  PR_MODULEFLAG = 3,   // payload: one module header byte, zero-extended
  PR_TARGETINFO = 4,   // payload: pointer to 4 bytes of processor information
  PR_EXTERN = 6,       // payload: TSymbolSlot* declaring an external name
  PR_VALUE = 254,      // payload: an evaluated value the program ignores
  PR_ERROR = 255,      // payload: NUL-terminated error text
};

#pragma pack(push, 1)

// A pointer payload is the address as an integer; a value payload is
// zero-extended. Valid until the next Parse call.
struct TReaderResult {
  uint8_t Kind;
  uint64_t Payload;
};

struct TCodeBlock {
  uint16_t Reserved;
  uint8_t Area;
  uint32_t Address;
  uint16_t Count;
  const uint8_t* Data;  // in the reader's buffer
};

#pragma pack(pop)

static_assert(sizeof(TReaderResult) == 9);
static_assert(offsetof(TReaderResult, Kind) == 0);
static_assert(offsetof(TReaderResult, Payload) == 1);

static_assert(sizeof(TCodeBlock) == 17);
static_assert(offsetof(TCodeBlock, Reserved) == 0);
static_assert(offsetof(TCodeBlock, Area) == 2);
static_assert(offsetof(TCodeBlock, Address) == 3);
static_assert(offsetof(TCodeBlock, Count) == 7);
static_assert(offsetof(TCodeBlock, Data) == 9);

// The entry points, as the program looks them up. The reserved word of Open
// is passed as 0 and never read.
using TReaderOpenProc = void (*)(const char* path, uint32_t reserved, TModuleEntry* moduleTable,
                                 TScopeEntry* scopeTable, TLineEntry* lineTable, uint8_t* typeBuffer);
using TReaderParseProc = const TReaderResult* (*)();
using TReaderCloseProc = int (*)();
using TReaderNameProc = const char* (*)();  // GetMainProcName, GetExitProcName, Version

inline constexpr const char* READER_OPEN = "Open";
inline constexpr const char* READER_PARSE = "Parse";
inline constexpr const char* READER_CLOSE = "Close";
inline constexpr const char* READER_MAIN_PROC_NAME = "GetMainProcName";
inline constexpr const char* READER_EXIT_PROC_NAME = "GetExitProcName";
inline constexpr const char* READER_VERSION = "Version";
