#pragma once
// The program's four debug-information tables as this reader fills them. An
// append that would not fit raises TIeeeFault.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "HostTables.h"

// Every line entry and code block of this reader lies in program code.
inline constexpr uint8_t MARDYN_CODE_AREA = 0x81;

class TMardynTables {
 public:
  void Attach(TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines, uint8_t* types);

  // Modules: a new entry numbered number, named by the first 32 characters of name.
  void AddModule(const char* name, int16_t number);
  // Modules that the table holds: the index of its first free entry.
  int ModuleCount() const { return moduleCount_; }
  void SetSourceFile(int module, const char* name);

  // Scopes: a new entry starting (and for now ending) at address.
  void AddScope(int16_t module, uint32_t address);
  int ScopeCount() const { return static_cast<int>(host_.ScopeCount()); }
  TScopeEntry& Scope(int index) { return host_.Scope(index); }

  std::size_t LineCount() const { return host_.LineCount(); }
  bool LinesFit(std::size_t count) const { return host_.LinesFit(count); }
  void AddLine(uint32_t address, uint32_t line);

  // Types: appends one finished record and keeps the buffer ending at a
  // TypeIndex of 0 behind it.
  void AddType(const std::vector<uint8_t>& record);
  void EndTypes() { host_.EndTypes(); }

 private:
  THostTables host_;
  int moduleCount_ = 0;
};
