// Scope, line and module queries over the tables a reader filled. The reader
// is not trusted: every scan stops at its table's end marker and at the
// table's capacity, whichever comes first.
#include "Debug.h"

namespace {

bool IsModuleEnd(const TModuleEntry* table, std::size_t n) {
  return n >= MODULE_TABLE_ENTRIES || table[n].ModuleName[0] == 0;
}

}  // namespace

std::size_t TDebug::ScopeEnd() const {
  std::size_t n = 0;
  while (n < SCOPE_TABLE_ENTRIES && ScopeTable[n].ModuleNumber != SCOPE_END_MODULE) ++n;
  return n;
}

// The table is zero-filled before a load and no reader writes area 0, so
// the filled part ends at the first entry with area, address and line 0 (the
// reset entry included, whatever its kind byte says).
bool TDebug::IsLineEnd(std::size_t n) const {
  if (n >= LINE_TABLE_ENTRIES) return true;
  const TLineEntry& e = LineTable[n];
  return e.Area == 0 && e.Address == 0 && e.Line == 0;
}

TScopeEntry* TDebug::EndScope(std::size_t end) const {
  return end < SCOPE_TABLE_ENTRIES ? &ScopeTable[end] : nullptr;
}

TScopeEntry* TDebug::FindScopeByAddress(uint32_t address) const {
  const std::size_t end = ScopeEnd();
  for (std::size_t n = 0; n < end; ++n) {
    TScopeEntry& s = ScopeTable[n];
    if (s.StartAddress <= address && address <= s.EndAddress) return &s;
  }
  return nullptr;
}

TLineEntry* TDebug::FindLineByAddress(uint32_t address) {
  TScopeEntry* scope = FindScopeByAddress(address);
  CurrentScope = scope ? scope : EndScope(ScopeEnd());
  if (!scope) return nullptr;

  const uint32_t endAddress = scope->EndAddress;
  std::size_t n = scope->FirstLineEntry;
  while (!IsLineEnd(n) && LineTable[n].Address != address && LineTable[n].Address < endAddress) ++n;
  if (IsLineEnd(n) || LineTable[n].Address != address) return nullptr;
  // Of several entries for one address the last one wins.
  while (LineTable[n].Address < endAddress && !IsLineEnd(n + 1) && LineTable[n + 1].Address == address) ++n;
  CurrentLine = n;
  return &LineTable[n];
}

TLineEntry* TDebug::FindLineByNumber(int16_t module, uint32_t index) {
  const uint32_t line = index + 1;  // the tables count lines from 1
  const std::size_t end = ScopeEnd();
  std::size_t s = 0;
  while (s < end && !(ScopeTable[s].ModuleNumber == module && ScopeTable[s].LastLine >= line)) ++s;
  CurrentScope = EndScope(s);
  if (s == end) return nullptr;

  const TScopeEntry& scope = ScopeTable[s];
  if (scope.FirstLine > line) return nullptr;
  std::size_t n = scope.FirstLineEntry;
  while (!IsLineEnd(n) && LineTable[n].Line != line && LineTable[n].Line < scope.LastLine) ++n;
  if (IsLineEnd(n) || LineTable[n].Line != line) return nullptr;
  CurrentLine = n;
  return &LineTable[n];
}

TLineEntry* TDebug::NextLine() {
  if (IsLineEnd(CurrentLine + 1)) return nullptr;
  ++CurrentLine;
  return &LineTable[CurrentLine];
}

TModuleEntry* TDebug::GetModule(int16_t n) const {
  if (n < 0) return nullptr;
  std::size_t m = 0;
  while (n > 0 && !IsModuleEnd(ModuleTable.get(), m)) {
    ++m;
    --n;
  }
  return IsModuleEnd(ModuleTable.get(), m) ? nullptr : &ModuleTable[m];
}

TModuleEntry* TDebug::FirstModule() {
  ModuleCursor = 0;
  return IsModuleEnd(ModuleTable.get(), 0) ? nullptr : &ModuleTable[0];
}

TModuleEntry* TDebug::NextModule() {
  if (IsModuleEnd(ModuleTable.get(), ModuleCursor)) return nullptr;
  ++ModuleCursor;
  return IsModuleEnd(ModuleTable.get(), ModuleCursor) ? nullptr : &ModuleTable[ModuleCursor];
}
