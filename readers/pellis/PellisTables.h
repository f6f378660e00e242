#pragma once
// The program's four debug-information tables as this reader fills them. An
// append whose entry and end marker would not fit throws TRecordFault.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "HostTables.h"

class TPellisTables {
 public:
  void Attach(TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines, uint8_t* types) {
    host_.Attach(modules, scopes, lines, types);
  }

  // The first free module entry, with the end marker written behind it.
  TModuleEntry& AppendModule();
  // The last module entry written, or null before the first.
  TModuleEntry* LastModule();

  // Appends a scope with the end marker behind it; returns its index.
  uint32_t AppendScope(const TScopeEntry& scope);
  TScopeEntry& Scope(uint32_t index) { return host_.Scope(index); }
  bool ScopeTableFull() const { return !host_.ScopesFit(1); }

  void AppendLine(const TLineEntry& line);
  uint32_t LineCount() const { return static_cast<uint32_t>(host_.LineCount()); }
  bool LineTableFull() const { return !host_.LinesFit(1); }

  // Appends one type record and keeps the end index behind it.
  void AppendType(const std::vector<uint8_t>& record);

 private:
  std::size_t FirstFreeModule();

  THostTables host_;
};
