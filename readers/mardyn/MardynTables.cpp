#include "MardynTables.h"

#include <cstring>

#include "IeeeInput.h"

namespace {
constexpr std::size_t kModuleEndMarker = 1;                  // first byte of the next entry
constexpr std::size_t kScopeEndMarker = sizeof(int16_t);     // ModuleNumber of the next entry
constexpr std::size_t kTypeEndMarker = sizeof(int16_t);      // a TypeIndex of 0

void CopyCut(char* target, std::size_t capacity, const char* text) {
  std::size_t length = strnlen(text, capacity - 1);
  std::memcpy(target, text, length);
  target[length] = '\0';
}
}  // namespace

void TMardynTables::Attach(TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines, uint8_t* types) {
  *this = TMardynTables{};
  modules_ = modules;
  scopes_ = scopes;
  lines_ = lines;
  types_ = types;
}

void TMardynTables::AddModule(const char* name, int16_t number) {
  std::size_t next = static_cast<std::size_t>(moduleCount_ + 1) * sizeof(TModuleEntry);
  if (!modules_ || next + kModuleEndMarker > MODULE_TABLE_SIZE) throw TIeeeFault{};
  TModuleEntry& entry = modules_[moduleCount_];
  CopyCut(entry.ModuleName, sizeof entry.ModuleName, name);
  entry.SourceFile[0] = '\0';
  entry.ModuleNumber = number;
  entry.SourceBlockCount = 0;
  entry.Reserved169 = 0;
  entry.FirstLinePtr = 0;
  entry.Reserved177 = 0;
  reinterpret_cast<uint8_t*>(modules_)[next] = 0;
  // An entry without a name reads as the table's end, so the next module takes its place.
  if (entry.ModuleName[0] != '\0') ++moduleCount_;
}

void TMardynTables::SetSourceFile(int module, const char* name) {
  TModuleEntry& entry = modules_[module];
  CopyCut(entry.SourceFile, sizeof entry.SourceFile, name);
}

void TMardynTables::AddScope(int16_t module, uint32_t address) {
  std::size_t next = static_cast<std::size_t>(scopeCount_ + 1) * sizeof(TScopeEntry);
  if (!scopes_ || next + kScopeEndMarker > SCOPE_TABLE_SIZE) throw TIeeeFault{};
  TScopeEntry& entry = scopes_[scopeCount_];
  entry.ModuleNumber = module;
  entry.StartAddress = address;
  entry.EndAddress = address;
  entry.FirstLine = 0;
  entry.LastLine = 0;
  entry.FirstLineEntry = 0;
  std::memcpy(reinterpret_cast<uint8_t*>(scopes_) + next, &SCOPE_END_MODULE, sizeof SCOPE_END_MODULE);
  ++scopeCount_;
}

bool TMardynTables::LinesFit(std::size_t count) const {
  return lines_ && lineCount_ + count <= LINE_TABLE_ENTRIES;
}

void TMardynTables::AddLine(uint32_t address, uint32_t line) {
  if (!LinesFit(1)) throw TIeeeFault{};
  TLineEntry& entry = lines_[lineCount_++];
  entry.Area = MARDYN_CODE_AREA;
  entry.Address = address;
  entry.Line = line;
  entry.LineKind = 0;
}

void TMardynTables::AddType(const std::vector<uint8_t>& record) {
  if (!types_ || typeEnd_ + record.size() + kTypeEndMarker > TYPE_BUFFER_SIZE) throw TIeeeFault{};
  std::memcpy(types_ + typeEnd_, record.data(), record.size());
  typeEnd_ += record.size();
  EndTypes();
}

void TMardynTables::EndTypes() {
  if (!types_) return;
  std::memcpy(types_ + typeEnd_, &TYPE_END_INDEX, sizeof TYPE_END_INDEX);
}
