#pragma once
// The program's four debug-information tables as this reader fills them. The
// tables come without sizes, so every append is checked against the
// capacities of the reader interface and throws TRecordFault when the entry
// and the end marker behind it would not fit.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ReaderTables.h"

class TDebugTables {
 public:
  void Attach(TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines, uint8_t* types);

  // The first free module entry, with the end marker written behind it.
  TModuleEntry& AppendModule();
  // The last module entry written, or null before the first.
  TModuleEntry* LastModule();

  // Appends a scope with the end marker behind it; returns its index.
  uint32_t AppendScope(const TScopeEntry& scope);
  TScopeEntry& Scope(uint32_t index) { return scopes_[index]; }
  bool ScopeTableFull() const { return scopeCount_ >= SCOPE_TABLE_ENTRIES; }

  void AppendLine(const TLineEntry& line);
  uint32_t LineCount() const { return lineCount_; }
  bool LineTableFull() const { return lineCount_ >= LINE_TABLE_ENTRIES; }

  // Appends one type record and keeps the end index behind it.
  void AppendType(const std::vector<uint8_t>& record);
  // Writes the end index at the write position without advancing.
  void EndTypes();

 private:
  std::size_t FirstFreeModule() const;

  TModuleEntry* modules_ = nullptr;
  TScopeEntry* scopes_ = nullptr;
  TLineEntry* lines_ = nullptr;
  uint8_t* types_ = nullptr;
  uint32_t scopeCount_ = 0;
  uint32_t lineCount_ = 0;
  std::size_t typeEnd_ = 0;
};
