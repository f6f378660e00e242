#pragma once
// Drives the built Mardyn plug-in as the program does: bound with dlopen,
// handed four reset tables, and parsed to the end. Each result is copied out
// before the next Parse call overwrites it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "IeeeWriter.h"
#include "ReaderBinding.h"

struct TParsed {
  uint8_t Kind = 0;
  uint64_t Value = 0;                // PR_VALUE
  uint8_t Area = 0;                  // PR_CODE
  uint32_t Address = 0;              // PR_CODE
  std::vector<uint8_t> Code;         // PR_CODE
  TSymbolSlot Symbol{};              // PR_SYMBOLS, PR_EXTERN
  bool EndSlotFollows = false;       // PR_SYMBOLS: the slot after the symbol ends the array
  std::string Text;                  // PR_ERROR
};

class TMardynHarness {
 public:
  TMardynHarness();
  bool Bound() const { return bound_ && reader_.Version; }

  // Writes the bytes to a scratch file and parses it whole (at most limit results).
  std::vector<TParsed> ParseBytes(const std::vector<uint8_t>& bytes, std::size_t limit = 100000);
  std::vector<TParsed> ParseFile(const std::string& path, std::size_t limit = 100000);
  const TReaderResult* ParseOnce() { return reader_.Parse(); }

  std::string MainProcName() const { return reader_.MainProcName(); }
  std::string ExitProcName() const { return reader_.ExitProcName(); }
  std::string VersionText() const { return reader_.Version(); }

  const TModuleEntry& Module(int i) const { return reinterpret_cast<const TModuleEntry*>(modules_.get())[i]; }
  const TScopeEntry& Scope(int i) const { return reinterpret_cast<const TScopeEntry*>(scopes_.get())[i]; }
  const TLineEntry& Line(int i) const { return reinterpret_cast<const TLineEntry*>(lines_.get())[i]; }
  const uint8_t* Types() const { return types_.get(); }
  const uint8_t* ModuleBytes() const { return modules_.get(); }
  const uint8_t* ScopeBytes() const { return scopes_.get(); }
  // Line entries up to the first one of ten zero bytes.
  std::size_t LineCount() const;

  std::string ScratchPath() const { return scratch_; }

 private:
  void ResetTables();

  TReaderBinding reader_;
  bool bound_ = false;
  std::unique_ptr<uint8_t[]> modules_, scopes_, lines_, types_;
  std::string scratch_;
};

// The kinds of a result list, for comparing whole sequences at a glance.
std::vector<int> Kinds(const std::vector<TParsed>& results);

// A file with just the module begin record and then what a test puts between it and the end.
std::vector<uint8_t> Wrapped(const std::vector<uint8_t>& body, const char* processor = "Z80");
