// TDebug's tables: allocation, reset, the loaded file, basic type names,
// area mapping and the scopes of local symbols.
#include "Debug.h"

#include <algorithm>
#include <cstring>

#include "Configuration.h"
#include "Symbols.h"
#include "Tgtz80.h"

namespace {

const char* const TypeNames[16] = {"undefined", "uchar", "char",   "ushort",      "short", "uint", "int",     "ulong",
                                   "long",      "float", "double", "long double", "void",  "...",  "address", ""};

}  // namespace

TDebug::TDebug() { ClearTables(); }

TDebug::~TDebug() = default;

void TDebug::ClearTables() {
  CurrentLine = 0;
  TypeCursor = 0;
  ModuleCursor = 0;
  CurrentScope = nullptr;
  FileName.clear();
  ModuleTable[0].ModuleName[0] = 0;
  ScopeTable[0].ModuleNumber = SCOPE_END_MODULE;
  // Line entries have no end marker of their own; a zero-filled table gives
  // every walk one right behind what the reader writes.
  std::memset(LineTable.get(), 0, LINE_TABLE_SIZE);
  LineTable[0].LineKind = LINE_KIND_NONE;
  std::memset(TypeBuffer.get(), 0, 4);
  Loaded = 0;
  ByteOrder = TheCpu->LittleEndian;
}

uint8_t TDebug::GetLoadedFile(std::string* name, uint32_t* time, uint8_t* format) const {
  if (name) *name = FileName;
  if (time) *time = static_cast<uint32_t>(FileAge);
  if (format) *format = FileFormat;
  return Loaded;
}

const char* TDebug::GetTypeName(uint16_t index) const { return TypeNames[std::min(index & 0x1F, 15)]; }

uint8_t TDebug::MapArea(uint8_t code) const {
  static constexpr uint8_t Areas[6] = {2, 2, 3, 2, 2, 1};
  if (TheCpu->CpuType != 3 || ProcessorInfo[0] != 6 || ProcessorInfo[1] != 3 || ProcessorInfo[2] != 2) return code;
  return Areas[code > 5 ? 4 : code];
}

// A reader delivers a local with ScopeLow = 1 + its scope's index and
// ScopeHigh 0; a global has 0 and 0xFFFFFFFF. Only an index that names a
// scope before the end marker is resolved; anything else stays as it is.
void TDebug::ResolveSymbolScopes() {
  const std::size_t end = ScopeEnd();
  for (int n = 0;; ++n) {
    TSymbolRecord* s = TheSymbols->GetByAddress(n);
    if (!s) break;
    const uint32_t low = s->ScopeLow;
    const uint32_t high = static_cast<uint32_t>(s->ScopeHigh);
    if (low <= high || low - 1 >= end) continue;
    const TScopeEntry& scope = ScopeTable[low - 1];
    s->ScopeLow = scope.StartAddress;
    s->ScopeHigh = static_cast<int32_t>(scope.EndAddress);
  }
}
