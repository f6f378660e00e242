#include "PellisTables.h"

#include "ObjectFile.h"

std::size_t TPellisTables::FirstFreeModule() {
  // The table ends at the first entry without a name, which is where a module
  // header whose name was empty left its entry to the next.
  std::size_t index = 0;
  while (index < MODULE_TABLE_ENTRIES && host_.Module(index).ModuleName[0] != '\0') ++index;
  return index;
}

TModuleEntry& TPellisTables::AppendModule() {
  TModuleEntry* entry = host_.ModuleEntry(FirstFreeModule());
  if (!entry) throw TRecordFault{};
  return *entry;
}

TModuleEntry* TPellisTables::LastModule() {
  std::size_t index = FirstFreeModule();
  return index == 0 ? nullptr : &host_.Module(index - 1);
}

uint32_t TPellisTables::AppendScope(const TScopeEntry& scope) {
  if (!host_.AppendScope(scope)) throw TRecordFault{};
  return static_cast<uint32_t>(host_.ScopeCount() - 1);
}

void TPellisTables::AppendLine(const TLineEntry& line) {
  if (!host_.AppendLine(line)) throw TRecordFault{};
}

void TPellisTables::AppendType(const std::vector<uint8_t>& record) {
  if (!host_.AppendType(record)) throw TRecordFault{};
}
