#include "HostTables.h"

#include <algorithm>
#include <cstring>

namespace {

// The end marker behind the last entry that fits still lies inside the table,
// so counting entries against the capacity keeps the markers inside too.
constexpr std::size_t MODULE_END_SIZE = 1;  // the first byte of the next entry
static_assert(MODULE_TABLE_ENTRIES * sizeof(TModuleEntry) + MODULE_END_SIZE <= MODULE_TABLE_SIZE);
static_assert(SCOPE_TABLE_ENTRIES * sizeof(TScopeEntry) + offsetof(TScopeEntry, ModuleNumber) +
                  sizeof SCOPE_END_MODULE <=
              SCOPE_TABLE_SIZE);

// The end markers may lie in the part of an entry that sticks out of the
// table, so they are written through byte offsets, never as whole entries.
uint8_t* Bytes(void* table) { return static_cast<uint8_t*>(table); }

}  // namespace

void THostTables::Attach(TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines, uint8_t* types) {
  *this = THostTables{};
  modules_ = modules;
  scopes_ = scopes;
  lines_ = lines;
  types_ = types;
}

TModuleEntry* THostTables::ModuleEntry(std::size_t index) {
  if (!modules_ || index >= MODULE_TABLE_ENTRIES) return nullptr;
  Bytes(modules_)[(index + 1) * sizeof(TModuleEntry)] = 0;
  return &modules_[index];
}

bool THostTables::AppendScope(const TScopeEntry& scope) {
  if (!ScopesFit(1)) return false;
  scopes_[scopeCount_] = scope;
  ++scopeCount_;
  std::memcpy(Bytes(scopes_) + scopeCount_ * sizeof(TScopeEntry) + offsetof(TScopeEntry, ModuleNumber),
              &SCOPE_END_MODULE, sizeof SCOPE_END_MODULE);
  return true;
}

bool THostTables::AppendLine(const TLineEntry& line) {
  if (!LinesFit(1)) return false;
  lines_[lineCount_++] = line;
  return true;
}

bool THostTables::AppendType(const std::vector<uint8_t>& record) {
  if (!types_ || record.size() + sizeof TYPE_END_INDEX > TYPE_BUFFER_SIZE - typeEnd_) return false;
  std::copy(record.begin(), record.end(), types_ + typeEnd_);
  typeEnd_ += record.size();
  EndTypes();
  return true;
}

void THostTables::EndTypes() {
  if (!types_) return;
  std::memcpy(types_ + typeEnd_, &TYPE_END_INDEX, sizeof TYPE_END_INDEX);
}
