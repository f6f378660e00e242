#include "DebugTables.h"

#include <algorithm>
#include <cstring>

#include "ObjectFile.h"

namespace {

constexpr std::size_t TYPE_END_SIZE = sizeof(int16_t);

// The end markers may lie in the part of an entry that sticks out of the
// table, so they are written through byte offsets, never as whole entries.
uint8_t* Bytes(void* table) { return static_cast<uint8_t*>(table); }

}  // namespace

void TDebugTables::Attach(TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines, uint8_t* types) {
  modules_ = modules;
  scopes_ = scopes;
  lines_ = lines;
  types_ = types;
  scopeCount_ = 0;
  lineCount_ = 0;
  typeEnd_ = 0;
}

std::size_t TDebugTables::FirstFreeModule() const {
  // The marker of a full table is the first byte behind entry 367, which still
  // lies inside the table.
  std::size_t index = 0;
  while (index < MODULE_TABLE_ENTRIES && Bytes(modules_)[index * sizeof(TModuleEntry)] != 0) ++index;
  return index;
}

TModuleEntry& TDebugTables::AppendModule() {
  std::size_t index = FirstFreeModule();
  if (index >= MODULE_TABLE_ENTRIES) throw TRecordFault{};
  std::size_t marker = (index + 1) * sizeof(TModuleEntry);
  if (marker < MODULE_TABLE_SIZE) Bytes(modules_)[marker] = 0;
  return modules_[index];
}

TModuleEntry* TDebugTables::LastModule() {
  std::size_t index = FirstFreeModule();
  return index == 0 ? nullptr : &modules_[index - 1];
}

uint32_t TDebugTables::AppendScope(const TScopeEntry& scope) {
  if (ScopeTableFull()) throw TRecordFault{};
  scopes_[scopeCount_] = scope;
  int16_t end = SCOPE_END_MODULE;
  std::memcpy(Bytes(scopes_) + (scopeCount_ + 1) * sizeof(TScopeEntry) + offsetof(TScopeEntry, ModuleNumber), &end,
              sizeof end);
  return scopeCount_++;
}

void TDebugTables::AppendLine(const TLineEntry& line) {
  if (LineTableFull()) throw TRecordFault{};
  lines_[lineCount_++] = line;
}

void TDebugTables::AppendType(const std::vector<uint8_t>& record) {
  if (record.size() + TYPE_END_SIZE > TYPE_BUFFER_SIZE - typeEnd_) throw TRecordFault{};
  std::copy(record.begin(), record.end(), types_ + typeEnd_);
  typeEnd_ += record.size();
}

void TDebugTables::EndTypes() {
  int16_t end = TYPE_END_INDEX;
  std::memcpy(types_ + typeEnd_, &end, sizeof end);
}
