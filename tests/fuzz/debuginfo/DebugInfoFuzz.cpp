// Debug tables as a hostile reader might fill them: every query and every
// type description must stay inside the tables and end.
//
// Input: type index (2 bytes), path length (1 byte), the path, then the bytes
// that fill the type buffer, the scope table and the line table alike.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "Configuration.h"
#include "Debug.h"
#include "Symbols.h"
#include "Tgtz80.h"
#include "WatchState.h"

namespace {

TDebug& Debug() {
  static TDebug* debug = [] {
    TheCpu = new TCpu;
    TheSymbols = new TSymbols;
    return new TDebug;
  }();
  return *debug;
}

// Copies data to the start of a table and clears what an earlier input left.
void Fill(void* table, std::size_t capacity, std::size_t& used, const uint8_t* data, std::size_t size) {
  auto* bytes = static_cast<uint8_t*>(table);
  const std::size_t n = std::min(size, capacity);
  if (used > n) std::memset(bytes + n, 0, used - n);
  std::memcpy(bytes, data, n);
  used = n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  TDebug& debug = Debug();
  const uint16_t index = static_cast<uint16_t>(data[0] | data[1] << 8);
  const std::size_t pathLength = std::min<std::size_t>(data[2], size - 3);
  const std::string pathText(reinterpret_cast<const char*>(data + 3), pathLength);
  data += 3 + pathLength;
  size -= 3 + pathLength;

  static std::size_t typesUsed = 0, scopesUsed = 0, linesUsed = 0;
  debug.ClearTables();
  const TDebugTables t = debug.Tables();
  Fill(t.Types, TYPE_BUFFER_SIZE, typesUsed, data, size);
  Fill(t.Scopes, SCOPE_TABLE_ENTRIES * sizeof(TScopeEntry), scopesUsed, data, size);
  Fill(t.Lines, LINE_TABLE_ENTRIES * sizeof(TLineEntry), linesUsed, data, size);

  TWatchState w;
  std::string text;
  std::string_view path = pathText;
  debug.MakeTypeFormat(index, w, &text, path);
  debug.FindType(index);

  for (std::size_t n = 0; n < 8 && n < SCOPE_TABLE_ENTRIES; ++n) {
    const TScopeEntry scope = t.Scopes[n];
    for (uint32_t address : {scope.StartAddress, scope.EndAddress, scope.StartAddress + 1}) {
      if (!debug.FindLineByAddress(address)) continue;
      for (int step = 0; step < 4; ++step)
        if (!debug.NextLine()) break;
    }
    debug.FindLineByNumber(scope.ModuleNumber, scope.FirstLine);
    debug.FindLineByNumber(scope.ModuleNumber, scope.LastLine - 1);
  }
  for (TModuleEntry* m = debug.FirstModule(); m; m = debug.NextModule()) debug.GetModule(m->ModuleNumber);
  return 0;
}
