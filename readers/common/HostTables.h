#pragma once
// The reader's side of the program's four debug-information tables: where it
// writes next, and appends that keep every entry and its end marker inside the
// table's capacity. No size crosses the library boundary, so the capacities are
// those of the reader interface. An append that would not fit, or that finds
// its table missing, writes nothing and returns false (a module, null); each
// reader raises its own fault for it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ReaderTables.h"

class THostTables {
 public:
  void Attach(TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines, uint8_t* types);

  // Module entry index with the end marker written behind it; null when the
  // entry does not fit. The caller fills the entry.
  TModuleEntry* ModuleEntry(std::size_t index);
  TModuleEntry& Module(std::size_t index) { return modules_[index]; }

  // Appends a scope with the end marker behind it.
  [[nodiscard]] bool AppendScope(const TScopeEntry& scope);
  bool ScopesFit(std::size_t count) const { return scopes_ && scopeCount_ + count <= SCOPE_TABLE_ENTRIES; }
  std::size_t ScopeCount() const { return scopeCount_; }
  TScopeEntry& Scope(std::size_t index) { return scopes_[index]; }

  // Lines carry no end marker: the program's zero fill ends them.
  [[nodiscard]] bool AppendLine(const TLineEntry& line);
  bool LinesFit(std::size_t count) const { return lines_ && lineCount_ + count <= LINE_TABLE_ENTRIES; }
  std::size_t LineCount() const { return lineCount_; }

  // Appends one finished record and keeps the buffer ending at a TypeIndex of
  // 0 behind it.
  [[nodiscard]] bool AppendType(const std::vector<uint8_t>& record);
  // Writes the end index at the write position without advancing.
  void EndTypes();

 private:
  TModuleEntry* modules_ = nullptr;
  TScopeEntry* scopes_ = nullptr;
  TLineEntry* lines_ = nullptr;
  uint8_t* types_ = nullptr;
  std::size_t scopeCount_ = 0;
  std::size_t lineCount_ = 0;
  std::size_t typeEnd_ = 0;
};
