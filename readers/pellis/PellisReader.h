#pragma once
// The reader of IAR's universal binary relocatable object format: walks the
// file's tagged records and hands over one item per Parse call, while it
// fills the program's module, scope, line and type tables.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "PellisTables.h"
#include "ObjectFile.h"
#include "ReaderInterface.h"

class TPellisReader {
 public:
  void Open(const char* path, TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines, uint8_t* types);
  const TReaderResult* Parse();
  int Close() { return file_.Close(); }

  static constexpr std::size_t SLOT_COUNT = 100;  // 99 symbols and the end slot
  static constexpr std::size_t DATA_SIZE = 256;

 private:
  // Everything that one file leaves behind; Open starts each file from these values.
  struct TState {
    std::string path;
    bool finished = false;
    long recordStart = 0;
    int16_t moduleCounter = -1;
    std::optional<uint32_t> currentScope;  // index in the scope table
    bool lineKinds = false;                // the module records line kinds
    std::array<uint16_t, 256> lengths = Unknown();
    uint8_t area = 0x81;
    uint32_t address = 0;
    // A symbol list handed over in pieces that fit the slot array.
    uint32_t listLeft = 0;
    bool listExtra = false;
    uint32_t listScopeLow = 0;
    std::array<TSymbolSlot, SLOT_COUNT> slots{};
    std::array<uint8_t, DATA_SIZE> data{};
    std::string errorText;
    TCodeBlock code{};
    TReaderResult result{};
  };
  static std::array<uint16_t, 256> Unknown();

  // Handles the record whose tag was just read; null when it only filled tables.
  const TReaderResult* Record(uint8_t tag);
  const TReaderResult* ModuleHeader();
  const TReaderResult* Code();
  const TReaderResult* TargetInfo();
  void SourceFile();
  void SourceName();
  void Line();
  void TypeDefinition();
  void SetArea();
  const TReaderResult* OneSymbol(bool extra);
  const TReaderResult* StartSymbolList(bool extra);
  const TReaderResult* SymbolPiece();
  void PassOver(uint8_t tag);
  void SkipItems(uint32_t head, uint32_t tail, uint32_t elementSize);

  const TReaderResult* Result(uint8_t kind, uint64_t payload);
  const TReaderResult* Pointer(uint8_t kind, const void* payload);
  const TReaderResult* Error(std::string text);
  std::string BadRecordText();

  TObjectFile file_;
  TPellisTables tables_;
  TState state_;
};
