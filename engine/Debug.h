#pragma once
// TDebug: the debug information of the loaded object file. It owns the four
// tables that a reader plug-in fills, answers the address, line, scope, module
// and type queries of the windows, loads object files, and builds the display
// descriptors of typed values.
//
// Everything in the tables came from a file, so every walk stays inside its
// table and its filled part, and every type chain is bounded.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ReaderTables.h"

struct TWatchState;
class TByteStream;

// One table of the reader interface, allocated at the interface's byte size
// rather than as a count of whole entries: a reader may fill the last entry
// that fits and write the end marker into the bytes behind it.
template <typename TEntry, std::size_t Size>
class TReaderTable {
 public:
  TReaderTable() : Bytes(std::make_unique<uint8_t[]>(Size)) {}
  TEntry* get() const { return reinterpret_cast<TEntry*>(Bytes.get()); }
  TEntry& operator[](std::size_t n) const { return get()[n]; }

 private:
  std::unique_ptr<uint8_t[]> Bytes;
};

// The four tables as a reader receives them.
struct TDebugTables {
  TModuleEntry* Modules;
  TScopeEntry* Scopes;
  TLineEntry* Lines;
  uint8_t* Types;
};

class TDebug {
 public:
  TDebug();
  ~TDebug();
  TDebug(const TDebug&) = delete;
  TDebug& operator=(const TDebug&) = delete;

  // Empties the tables and forgets the loaded file; keeps the procedure
  // names, the processor information and the file format.
  void ClearTables();

  TDebugTables Tables() const { return {ModuleTable.get(), ScopeTable.get(), LineTable.get(), TypeBuffer.get()}; }

  // Loaded (1 once an object file was loaded). Each non-null out argument
  // receives the file's path, time stamp or load format.
  uint8_t GetLoadedFile(std::string* name, uint32_t* time, uint8_t* format) const;
  // Bit 0 set: the target's data is little-endian.
  uint8_t GetByteOrder() const { return ByteOrder; }

  // The first scope (table order) whose address range holds the address.
  TScopeEntry* FindScopeByAddress(uint32_t address) const;
  // The line entry of an address; sets the current scope and, when found,
  // the current line. Of several entries for one address the last wins.
  TLineEntry* FindLineByAddress(uint32_t address);
  // The first line entry of line index + 1 in a module; sets the current
  // scope and, when found, the current line.
  TLineEntry* FindLineByNumber(int16_t module, uint32_t index);
  // The entry after the current line, or null at the end of the filled part.
  TLineEntry* NextLine();
  TScopeEntry* GetCurrentScope() const { return CurrentScope; }

  TModuleEntry* GetModule(int16_t n) const;
  TModuleEntry* FirstModule();
  TModuleEntry* NextModule();

  // 1 when a type record with the index exists; TypeCursor then points to the
  // first one along the buffer's chain of records.
  uint8_t FindType(uint16_t index);
  // The name of a basic type; the empty text for 15 and above.
  const char* GetTypeName(uint16_t index) const;
  uint8_t MapArea(uint8_t code) const;

  // Turns the scope indexes that the reader delivered with the local symbols
  // into the address ranges of their scopes.
  void ResolveSymbolScopes();

  // Loads an object file through the reader of format 9 or 10; loadCode 1
  // also writes its code into the target.
  void LoadProgram(const std::string& file, uint8_t loadCode, uint8_t format);

  // Appends the FormatValue descriptor of a type to w.Format and its size to
  // w.Size, sets the type class and pointer fields, and follows the member
  // and index path at the front of path (consuming it). With text not null
  // the C-like type text is appended there. Returns the type's size in bytes.
  uint32_t MakeTypeFormat(uint16_t index, TWatchState& w, std::string* text, std::string_view& path);

  std::string MainProcName = "main";
  std::string ExitProcName = "exit";

 private:
  std::size_t ScopeEnd() const;  // index of the end marker, or the capacity
  TScopeEntry* EndScope(std::size_t end) const;
  bool IsLineEnd(std::size_t n) const;
  struct TTypeWalk;
  uint32_t FormatType(uint16_t index, std::string* text, TTypeWalk& walk, int depth);
  uint32_t FormatRecord(uint16_t index, std::string* text, TTypeWalk& walk, int depth);
  uint32_t FormatArray(TByteStream& record, std::string* text, TTypeWalk& walk, int depth);
  uint32_t FormatStructure(TByteStream& record, std::string* text, TTypeWalk& walk, int depth);
  void WriteLoadedBlock(uint8_t area, uint32_t address, const uint8_t* bytes, uint8_t count);

  // A lookup of a missing type index scans the whole chain of records, and
  // one description makes thousands of lookups, so the scan keeps the first
  // record of each index it meets and goes on only when asked for one it has
  // not met. Anyone may write the buffer through Tables() at any time, so
  // what it kept holds only while the buffer still starts with the bytes it
  // read; CheckTypeChain forgets it otherwise.
  struct TTypeChain {
    // By type index: 1 + the offset of its first record, 0 when not met.
    std::vector<uint32_t> First = std::vector<uint32_t>(std::size_t{UINT16_MAX} + 1);
    std::vector<uint16_t> Met;  // the indexes First holds: forgetting costs what was met
    std::vector<uint8_t> Read;  // the buffer's bytes as far as the scan read them
    std::size_t Next = 0;       // offset of the record the scan goes on with
    bool Ended = false;
  };
  void CheckTypeChain();
  // FindType on a buffer checked since it was last written.
  uint8_t LookUpType(uint16_t index);

  TReaderTable<TModuleEntry, MODULE_TABLE_SIZE> ModuleTable;
  TReaderTable<TScopeEntry, SCOPE_TABLE_SIZE> ScopeTable;
  TReaderTable<TLineEntry, LINE_TABLE_SIZE> LineTable;
  TReaderTable<uint8_t, TYPE_BUFFER_SIZE> TypeBuffer;

  std::size_t CurrentLine = 0;   // index into LineTable
  std::size_t TypeCursor = 0;    // offset into TypeBuffer
  TTypeChain TypeChain;
  std::size_t ModuleCursor = 0;  // index into ModuleTable
  TScopeEntry* CurrentScope = nullptr;

  uint8_t ProcessorInfo[8] = {};
  uint8_t Loaded = 0;
  uint16_t LoadCode = 0;
  std::string FileName;
  int32_t FileAge = -1;
  uint8_t FileFormat = 0;
  uint8_t ByteOrder = 1;
};
