#pragma once
// Loads the built Pellis.so as the program does and runs it over files made
// by TIarObjectWriter, into tables with guard bytes behind each one.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "IarObjectWriter.h"
#include "ReaderBinding.h"

// One Parse result, copied out before the next call.
struct TParsed {
  uint8_t Kind = 0;
  uint64_t Value = 0;                // PR_MODULEFLAG
  TCodeBlock Code{};                 // PR_CODE (Data is stale after the next call)
  std::vector<uint8_t> CodeBytes;    // PR_CODE
  std::vector<TSymbolSlot> Symbols;  // PR_SYMBOLS, without the end slot
  std::array<uint8_t, 4> Target{};   // PR_TARGETINFO
  std::string Text;                  // PR_ERROR
};

// The reader's entries are the harness's own.
class TPellisHarness : public TReaderBinding {
 public:
  static constexpr std::size_t GUARD = 64;
  static constexpr uint8_t GUARD_BYTE = 0xA5;

  TPellisHarness();
  ~TPellisHarness();
  TPellisHarness(const TPellisHarness&) = delete;
  TPellisHarness& operator=(const TPellisHarness&) = delete;
  bool Loaded() const;

  // Resets the tables as the program does before a load.
  void ResetTables();
  // Opens the file, parses until PR_END or PR_ERROR (at most maxCalls), closes.
  std::vector<TParsed> Run(const std::string& path, std::size_t maxCalls = 1000000);
  std::vector<TParsed> Run(const TIarObjectWriter& file, std::size_t maxCalls = 1000000);
  // Writes the file under a name of its own in the temporary folder.
  std::string Save(const TIarObjectWriter& file);

  const TModuleEntry& Module(std::size_t index) const;
  const TScopeEntry& Scope(std::size_t index) const;
  const TLineEntry& Line(std::size_t index) const;
  const uint8_t* Types() const { return types_.data(); }
  const uint8_t* ModuleBytes() const { return modules_.data(); }
  bool GuardsIntact() const;

 private:
  bool bound_ = false;
  std::vector<uint8_t> modules_, scopes_, lines_, types_;
  std::string folder_;
  int saved_ = 0;
};

// The text of the error record for a record at `offset` whose first bytes are
// `bytes` (bytes past the end of the file print as FFFFFFFF).
std::string BadRecordText(long offset, const std::vector<uint8_t>& bytes);
