#include "MardynTables.h"

#include <cstring>

#include "IeeeInput.h"

namespace {
void CopyCut(char* target, std::size_t capacity, const char* text) {
  std::size_t length = strnlen(text, capacity - 1);
  std::memcpy(target, text, length);
  target[length] = '\0';
}
}  // namespace

void TMardynTables::Attach(TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines, uint8_t* types) {
  host_.Attach(modules, scopes, lines, types);
  moduleCount_ = 0;
}

void TMardynTables::AddModule(const char* name, int16_t number) {
  TModuleEntry* entry = host_.ModuleEntry(moduleCount_);
  if (!entry) throw TIeeeFault{};
  CopyCut(entry->ModuleName, sizeof entry->ModuleName, name);
  entry->SourceFile[0] = '\0';
  entry->ModuleNumber = number;
  entry->SourceBlockCount = 0;
  entry->Reserved169 = 0;
  entry->FirstLinePtr = 0;
  entry->Reserved177 = 0;
  // An entry without a name reads as the table's end, so the next module takes its place.
  if (entry->ModuleName[0] != '\0') ++moduleCount_;
}

void TMardynTables::SetSourceFile(int module, const char* name) {
  TModuleEntry& entry = host_.Module(module);
  CopyCut(entry.SourceFile, sizeof entry.SourceFile, name);
}

void TMardynTables::AddScope(int16_t module, uint32_t address) {
  if (!host_.AppendScope(TScopeEntry{module, address, address, 0, 0, 0})) throw TIeeeFault{};
}

void TMardynTables::AddLine(uint32_t address, uint32_t line) {
  if (!host_.AppendLine(TLineEntry{MARDYN_CODE_AREA, address, line, 0})) throw TIeeeFault{};
}

void TMardynTables::AddType(const std::vector<uint8_t>& record) {
  if (!host_.AppendType(record)) throw TIeeeFault{};
}
