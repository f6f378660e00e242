#pragma once
// Fills TDebug's tables the way a reader does, for tests that need debug
// information without an object file.
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Configuration.h"
#include "Debug.h"
#include "Symbols.h"
#include "Tgtz80.h"

// The engine globals a TDebug needs, for the length of one test.
class TDebugFixtureBase {
 protected:
  TDebugFixtureBase() {
    savedCpu = TheCpu;
    savedSymbols = TheSymbols;
    TheCpu = &cpu;
    TheSymbols = &symbols;
  }
  ~TDebugFixtureBase() {
    TheCpu = savedCpu;
    TheSymbols = savedSymbols;
  }

  TCpu cpu;
  TSymbols symbols;
  TCpu* savedCpu;
  TSymbols* savedSymbols;
};

// One symbol as a reader adds it: a global unless a scope is given.
struct TSymbolEntry {
  const char* Name;
  uint8_t Kind;
  uint16_t Area;
  uint32_t Value;
  uint16_t Type = 0;
  uint32_t ScopeLow = 0;
  uint32_t ScopeHigh = 0xFFFFFFFF;
  int16_t FrameArea = 0;
  int32_t FrameBase = 0;
};

inline void AddSymbol(const TSymbolEntry& entry) {
  TSymbolRecord r{};
  r.Kind = entry.Kind;
  r.Attributes = entry.Area;
  r.Value = entry.Value;
  r.FrameArea = entry.FrameArea;
  r.FrameBase = entry.FrameBase;
  r.TypeIndex = static_cast<int16_t>(entry.Type);
  r.ScopeLow = entry.ScopeLow;
  r.ScopeHigh = static_cast<int32_t>(entry.ScopeHigh);
  r.NameLength = static_cast<uint8_t>(std::strlen(entry.Name));
  std::strcpy(r.Name, entry.Name);
  TheSymbols->Add(&r);
}

// Appends modules, scopes and lines, keeping the end markers behind them.
class TTableWriter {
 public:
  explicit TTableWriter(const TDebugTables& t) : tables(t) {}

  int16_t Module(const char* name, const char* source) {
    TModuleEntry& m = tables.Modules[modules];
    m = TModuleEntry{};
    std::strncpy(m.ModuleName, name, sizeof m.ModuleName - 1);
    std::strncpy(m.SourceFile, source, sizeof m.SourceFile - 1);
    m.ModuleNumber = static_cast<int16_t>(modules);
    m.FirstLinePtr = static_cast<uint32_t>(lines);
    tables.Modules[++modules].ModuleName[0] = 0;
    return m.ModuleNumber;
  }

  // A scope whose lines are the (address, line) pairs given, in order.
  std::size_t Scope(int16_t module, uint32_t start, std::vector<std::pair<uint32_t, uint32_t>> code,
                    uint8_t area = 0x81) {
    TScopeEntry& s = tables.Scopes[scopes];
    s = TScopeEntry{module, start, start, 0, 0, static_cast<uint32_t>(lines)};
    for (auto [address, line] : code) {
      tables.Lines[lines++] = TLineEntry{area, address, line, 0};
      s.EndAddress = address;
      if (s.FirstLine == 0) s.FirstLine = line;
      s.LastLine = line;
    }
    tables.Scopes[scopes + 1].ModuleNumber = SCOPE_END_MODULE;
    return scopes++;
  }

  std::size_t lines = 0;

 private:
  TDebugTables tables;
  std::size_t modules = 0;
  std::size_t scopes = 0;
};

// Appends type records, little-endian, and keeps a TypeIndex of 0 behind them.
class TTypeWriter {
 public:
  explicit TTypeWriter(uint8_t* buffer) : buffer(buffer) {}

  TTypeWriter& Record(uint16_t index, uint8_t kind) {
    Word(index);
    return Byte(kind);
  }
  TTypeWriter& Byte(uint8_t v) {
    buffer[pos++] = v;
    End();
    return *this;
  }
  TTypeWriter& Word(uint16_t v) { return Byte(v & 0xFF).Byte(v >> 8); }
  TTypeWriter& Dword(uint32_t v) { return Word(v & 0xFFFF).Word(v >> 16); }
  TTypeWriter& Name(const std::string& s) {
    Byte(static_cast<uint8_t>(s.size()));
    for (char c : s) Byte(static_cast<uint8_t>(c));
    return *this;
  }

  // Common records.
  TTypeWriter& Structure(uint16_t index, uint32_t size, std::vector<std::tuple<uint32_t, std::string, uint16_t>> members) {
    Record(index, 17).Name("").Dword(size).Dword(static_cast<uint32_t>(members.size()));
    for (auto& [offset, name, type] : members) Dword(offset).Name(name).Word(type);
    return *this;
  }
  TTypeWriter& Array(uint16_t index, uint16_t element, uint32_t size, uint32_t count) {
    return Record(index, 16).Word(element).Dword(size).Dword(count);
  }

  std::size_t pos = 0;

 private:
  void End() {
    if (pos + 2 <= TYPE_BUFFER_SIZE) std::memset(buffer + pos, 0, 2);
  }
  uint8_t* buffer;
};
