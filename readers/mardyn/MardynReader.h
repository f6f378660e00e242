#pragma once
// The IEEE-695 reader: walks an absolute object file record by record, fills
// the program's module, scope, line and type tables, and hands over code
// blocks, symbols, externals and values one Parse result at a time.
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "IeeeInput.h"
#include "MardynTables.h"
#include "MardynTypes.h"
#include "ReaderInterface.h"

class TMardynReader {
 public:
  TMardynReader() = default;
  ~TMardynReader();
  TMardynReader(const TMardynReader&) = delete;
  TMardynReader& operator=(const TMardynReader&) = delete;

  // Starts a file from a clean state, whatever an earlier file left behind.
  void Open(const char* path, TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines, uint8_t* types);
  const TReaderResult* Parse();
  int Close();
  const char* ExitProcName() const;

 private:
  using TResult = std::optional<TReaderResultKind>;

  void Reset();
  TResult ReadRecord(long start);
  TResult ReadAssignment();
  void ReadEnvironmentPart(long offset);
  TResult ReadPublicName();
  TResult ReadVariableName();
  TResult ReadAttributeRecord();
  TResult ReadAttribute(int depth);
  TResult ReadAttributeItems(int depth);
  void ReadLineNumber();
  void ReadBlockBegin(long recordStart);
  void ReadBlockEnd();
  void NewModule();
  void NewScope();
  void ReadSourceFile();
  TResult ReadCode();
  TResult ReadRepeatedCode();
  TResult DeliverCode(uint32_t count);

  void ExpectWord(uint16_t word);
  void PushBlock(uint8_t type);
  void PrepareSymbol();
  TResult Value(uint32_t value);
  void MakeErrorRecord(long offset);
  const TReaderResult* Deliver(TReaderResultKind kind, uint64_t payload);

  std::FILE* stream_ = nullptr;
  std::string path_;
  TIeeeInput input_;
  TMardynTables tables_;
  TMardynTypes types_;
  bool finished_ = false;

  int processorCode_ = -1;
  int32_t toolNumber_ = -1;
  uint32_t loadAddress_ = 0;
  uint8_t blockType_ = 0;
  std::array<uint8_t, 256> blockStack_{};
  uint8_t blockDepth_ = 0;  // wraps with the stack's 256 entries
  int16_t moduleCounter_ = -1;
  int currentScope_ = -1;
  int lineScopeSearch_ = -1;
  uint32_t lineAddress_ = 0;
  uint32_t value_ = 0;

  std::array<char, 256> name_{};
  std::size_t nameLength_ = 0;
  std::array<TSymbolSlot, 2> slots_{};
  std::array<uint8_t, 65535> data_{};
  TCodeBlock code_{};
  std::string errorText_;
  TReaderResult result_{};
};
