#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "Debug.h"
#include "DebugTableBuilder.h"
#include "PackedValue.h"
#include "Symbols.h"

namespace {

class DebugTables : public TDebugFixtureBase, public ::testing::Test {
 protected:
  // Two modules; main.c has two functions, util.c one with a nested block.
  void Fill() {
    TTableWriter w(debug.Tables());
    const int16_t main = w.Module("main", "main.c");
    w.Scope(main, 0x100, {{0x100, 3}, {0x104, 4}, {0x104, 5}, {0x10A, 7}});
    w.Scope(main, 0x110, {{0x110, 10}, {0x113, 11}, {0x118, 12}});
    const int16_t util = w.Module("util", "util.c");
    w.Scope(util, 0x200, {{0x200, 2}, {0x208, 4}, {0x20C, 6}});
    w.Scope(util, 0x204, {{0x204, 3}, {0x206, 3}});  // a block inside the function above
    lines = w.lines;
  }

  TDebug debug;
  std::size_t lines = 0;
};

TEST_F(DebugTables, EmptyTablesAnswerNothing) {
  EXPECT_EQ(debug.GetLoadedFile(nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(debug.FindScopeByAddress(0), nullptr);
  EXPECT_EQ(debug.FindLineByAddress(0x100), nullptr);
  EXPECT_EQ(debug.FindLineByNumber(0, 0), nullptr);
  EXPECT_EQ(debug.NextLine(), nullptr);
  EXPECT_EQ(debug.GetModule(0), nullptr);
  EXPECT_EQ(debug.FirstModule(), nullptr);
  EXPECT_EQ(debug.NextModule(), nullptr);
  EXPECT_EQ(debug.FindType(100), 0);
  std::string name = "x";
  EXPECT_EQ(debug.GetLoadedFile(&name, nullptr, nullptr), 0);
  EXPECT_EQ(name, "");
}

TEST_F(DebugTables, ResetWritesTheEndMarkers) {
  Fill();
  TTypeWriter(debug.Tables().Types).Record(100, 18).Dword(2).Dword(0);
  debug.ClearTables();
  const TDebugTables t = debug.Tables();
  EXPECT_EQ(t.Modules[0].ModuleName[0], 0);
  EXPECT_EQ(Value(t.Scopes[0].ModuleNumber), -1);
  EXPECT_EQ(t.Lines[0].LineKind, 0xFF);
  EXPECT_EQ(Value(t.Lines[1].Address), 0u);  // earlier lines are gone
  EXPECT_EQ(t.Types[0] | t.Types[1], 0);
  EXPECT_EQ(debug.FindType(100), 0);
}

TEST_F(DebugTables, ScopeRangesIncludeBothEnds) {
  Fill();
  struct Case {
    uint32_t address;
    int scope;  // -1: none
  } cases[] = {{0xFF, -1}, {0x100, 0}, {0x10A, 0}, {0x10B, -1}, {0x118, 1}, {0x119, -1},
               // the block at 0x204 lies inside its function, which comes first
               {0x204, 2}, {0x20C, 2}, {0x20D, -1}};
  for (const Case& c : cases) {
    const TScopeEntry* s = debug.FindScopeByAddress(c.address);
    if (c.scope < 0)
      EXPECT_EQ(s, nullptr) << std::hex << c.address;
    else
      EXPECT_EQ(s, &debug.Tables().Scopes[c.scope]) << std::hex << c.address;
  }
}

TEST_F(DebugTables, AddressToLine) {
  Fill();
  struct Case {
    uint32_t address;
    uint32_t line;  // 0: no line entry
  } cases[] = {{0x100, 3}, {0x104, 5}, {0x10A, 7}, {0x102, 0}, {0x113, 11},
               {0x118, 12}, {0x200, 2}, {0x20C, 6}, {0x204, 0}, {0x300, 0}};
  for (const Case& c : cases) {
    const TLineEntry* e = debug.FindLineByAddress(c.address);
    if (c.line == 0) {
      EXPECT_EQ(e, nullptr) << std::hex << c.address;
    } else {
      ASSERT_NE(e, nullptr) << std::hex << c.address;
      EXPECT_EQ(Value(e->Line), c.line) << std::hex << c.address;
      EXPECT_EQ(Value(e->Address), c.address);
    }
  }
}

TEST_F(DebugTables, AddressLookupSetsTheCursors) {
  Fill();
  const TLineEntry* e = debug.FindLineByAddress(0x110);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(debug.GetCurrentScope(), &debug.Tables().Scopes[1]);
  EXPECT_EQ(Value(debug.NextLine()->Line), 11u);
  EXPECT_EQ(Value(debug.NextLine()->Line), 12u);
  // Between two statements: the scope is known, the line is not, and the
  // current line stays.
  EXPECT_EQ(debug.FindLineByAddress(0x111), nullptr);
  EXPECT_EQ(debug.GetCurrentScope(), &debug.Tables().Scopes[1]);
  EXPECT_EQ(Value(debug.NextLine()->Address), 0x200u);
  // Outside every scope the current scope is the end marker.
  EXPECT_EQ(debug.FindLineByAddress(0x5000), nullptr);
  EXPECT_EQ(debug.GetCurrentScope(), &debug.Tables().Scopes[4]);
}

TEST_F(DebugTables, LineToAddress) {
  Fill();
  struct Case {
    int16_t module;
    uint32_t index;
    uint32_t address;  // 0: none
    int scope;
  } cases[] = {
      {0, 2, 0x100, 0},  {0, 3, 0x104, 0}, {0, 4, 0x104, 0}, {0, 6, 0x10A, 0}, {0, 5, 0, 0},  // no code on line 6
      {0, 0, 0, 0},                                                                            // before the first function
      {0, 8, 0, 1},                                                                            // between two functions
      {0, 11, 0x118, 1}, {0, 12, 0, 4},                                                        // past the last function
      {1, 1, 0x200, 2},  {1, 3, 0x208, 2}, {1, 2, 0, 2},  // line 3 is in the block, not in its function's lines
      {2, 0, 0, 4},      {-1, 0, 0, 4},
  };
  for (const Case& c : cases) {
    const TLineEntry* e = debug.FindLineByNumber(c.module, c.index);
    if (c.address == 0) {
      EXPECT_EQ(e, nullptr) << c.module << ":" << c.index;
    } else {
      ASSERT_NE(e, nullptr) << c.module << ":" << c.index;
      EXPECT_EQ(Value(e->Address), c.address) << c.module << ":" << c.index;
      EXPECT_EQ(Value(e->Line), c.index + 1);
    }
    EXPECT_EQ(debug.GetCurrentScope(), &debug.Tables().Scopes[c.scope]) << c.module << ":" << c.index;
  }
}

TEST_F(DebugTables, EveryLineRoundTrips) {
  Fill();
  const TDebugTables t = debug.Tables();
  for (std::size_t n = 0; n < lines; ++n) {
    const TLineEntry& entry = t.Lines[n];
    const TLineEntry* byAddress = debug.FindLineByAddress(entry.Address);
    if (!byAddress) continue;  // the block's lines lie inside its function's range
    const int16_t module = debug.GetCurrentScope()->ModuleNumber;
    const TLineEntry* byLine = debug.FindLineByNumber(module, byAddress->Line - 1);
    ASSERT_NE(byLine, nullptr) << n;
    EXPECT_EQ(Value(byLine->Line), Value(byAddress->Line));
    EXPECT_EQ(Value(debug.FindLineByAddress(byLine->Address)->Line), Value(byAddress->Line)) << n;
  }
}

TEST_F(DebugTables, ModulesInOrder) {
  Fill();
  ASSERT_NE(debug.GetModule(1), nullptr);
  EXPECT_STREQ(debug.GetModule(1)->SourceFile, "util.c");
  EXPECT_EQ(debug.GetModule(2), nullptr);
  EXPECT_EQ(debug.GetModule(-1), nullptr);
  EXPECT_STREQ(debug.FirstModule()->ModuleName, "main");
  EXPECT_STREQ(debug.NextModule()->ModuleName, "util");
  EXPECT_EQ(debug.NextModule(), nullptr);
  EXPECT_EQ(debug.NextModule(), nullptr);
}

TEST_F(DebugTables, FullModuleTableWithoutEndMarker) {
  const TDebugTables t = debug.Tables();
  for (std::size_t n = 0; n < MODULE_TABLE_ENTRIES; ++n) {
    t.Modules[n] = TModuleEntry{};
    t.Modules[n].ModuleName[0] = 'm';
  }
  EXPECT_EQ(debug.GetModule(367), &t.Modules[367]);
  EXPECT_EQ(debug.GetModule(368), nullptr);
  EXPECT_EQ(debug.GetModule(32767), nullptr);
  int count = debug.FirstModule() ? 1 : 0;
  while (debug.NextModule()) ++count;
  EXPECT_EQ(count, 368);
}

TEST_F(DebugTables, FullScopeTableWithoutEndMarker) {
  const TDebugTables t = debug.Tables();
  for (std::size_t n = 0; n < SCOPE_TABLE_ENTRIES; ++n) t.Scopes[n] = TScopeEntry{0, 0x1000, 0x1000, 1, 1, 0};
  t.Lines[0] = TLineEntry{1, 0x1000, 1, 0};
  EXPECT_EQ(debug.FindScopeByAddress(0x2000), nullptr);
  EXPECT_EQ(debug.FindLineByAddress(0x2000), nullptr);
  EXPECT_EQ(debug.GetCurrentScope(), nullptr);
  EXPECT_EQ(debug.FindLineByNumber(1, 0), nullptr);
  EXPECT_EQ(debug.GetCurrentScope(), nullptr);
  t.Scopes[SCOPE_TABLE_ENTRIES - 1].StartAddress = 0x2000;
  t.Scopes[SCOPE_TABLE_ENTRIES - 1].EndAddress = 0x2000;
  EXPECT_EQ(debug.FindScopeByAddress(0x2000), &t.Scopes[SCOPE_TABLE_ENTRIES - 1]);
}

// Scopes whose line data does not fit them: the walks stop at the end of the
// filled part of the line table, or at its capacity.
TEST_F(DebugTables, LineWalksStayInsideTheTable) {
  const TDebugTables t = debug.Tables();
  TTableWriter w(t);
  const int16_t m = w.Module("m", "m.c");
  w.Scope(m, 0x100, {{0x100, 1}, {0x102, 2}});
  t.Scopes[0].EndAddress = 0xFFFFFFFF;  // claims far more code than it has lines
  t.Scopes[0].LastLine = 0xFFFFFFFF;
  EXPECT_EQ(debug.FindLineByAddress(0x5000), nullptr);
  EXPECT_EQ(debug.FindLineByNumber(m, 99), nullptr);
  EXPECT_NE(debug.FindLineByAddress(0x102), nullptr);
  EXPECT_EQ(debug.NextLine(), nullptr);

  t.Scopes[0].FirstLineEntry = 0xFFFFFFFF;
  EXPECT_EQ(debug.FindLineByAddress(0x100), nullptr);
  t.Scopes[0].FirstLineEntry = LINE_TABLE_ENTRIES;
  EXPECT_EQ(debug.FindLineByNumber(m, 0), nullptr);
}

TEST_F(DebugTables, FullLineTableStopsAtItsLastEntry) {
  const TDebugTables t = debug.Tables();
  for (std::size_t n = 0; n < LINE_TABLE_ENTRIES; ++n) t.Lines[n] = TLineEntry{1, 0x10, 1, 0};
  t.Lines[LINE_TABLE_ENTRIES - 1] = TLineEntry{1, 0x20, 2, 0};
  t.Scopes[0] = TScopeEntry{0, 0, 0xFFFF, 1, 0xFFFF, 0};
  t.Scopes[1].ModuleNumber = SCOPE_END_MODULE;
  EXPECT_EQ(debug.FindLineByAddress(0x30), nullptr);
  EXPECT_EQ(debug.FindLineByAddress(0x20), &t.Lines[LINE_TABLE_ENTRIES - 1]);
  EXPECT_EQ(debug.NextLine(), nullptr);
  EXPECT_EQ(debug.FindLineByNumber(0, 2), nullptr);
  // Of many entries for one address the last wins, and the walk ends inside.
  t.Lines[LINE_TABLE_ENTRIES - 1].Address = 0x10;
  EXPECT_EQ(debug.FindLineByAddress(0x10), &t.Lines[LINE_TABLE_ENTRIES - 1]);
}

TEST(DebugTypeNames, ByIndex) {
  TCpu cpu;
  TCpu* saved = TheCpu;
  TheCpu = &cpu;
  {
    TDebug debug;
    struct Case {
      uint16_t index;
      const char* name;
    } cases[] = {{0, "undefined"}, {1, "uchar"}, {8, "long"}, {11, "long double"}, {13, "..."},
                 {14, "address"},  {15, ""},     {31, ""},    {33, "uchar"},       {0xFFEE, "address"}};
    for (const Case& c : cases) EXPECT_STREQ(debug.GetTypeName(c.index), c.name) << c.index;
    // Without the matching processor description area codes pass unchanged.
    cpu.CpuType = 3;
    for (unsigned code : {0u, 5u, 9u, 0x81u}) EXPECT_EQ(debug.MapArea(static_cast<uint8_t>(code)), code);
  }
  TheCpu = saved;
}

class DebugSymbolScopes : public DebugTables {
 protected:
  void AddSymbol(const char* name, uint32_t value, uint32_t scopeLow, int32_t scopeHigh) {
    TSymbolRecord r{};
    r.Kind = 1;
    r.Attributes = 2;
    r.Value = value;
    r.ScopeLow = scopeLow;
    r.ScopeHigh = scopeHigh;
    r.NameLength = static_cast<uint8_t>(std::strlen(name));
    std::strcpy(r.Name, name);
    symbols.Add(&r);
  }
  const TSymbolRecord* Symbol(const char* name) { return symbols.FindByName(name, false); }
};

TEST_F(DebugSymbolScopes, LocalsTakeTheirScopesRange) {
  Fill();
  AddSymbol("global", 0x10, 0, -1);
  AddSymbol("inMain", 0x20, 1, 0);      // scope 0
  AddSymbol("inBlock", 0x30, 4, 0);     // scope 3
  AddSymbol("pastEnd", 0x40, 5, 0);     // index 4 is the end marker
  AddSymbol("wild", 0x50, 0x7FFFFFFF, 0);
  debug.ResolveSymbolScopes();
  struct Case {
    const char* name;
    uint32_t low;
    uint32_t high;
  } cases[] = {{"global", 0, 0xFFFFFFFF}, {"inMain", 0x100, 0x10A}, {"inBlock", 0x204, 0x206},
               {"pastEnd", 5, 0},         {"wild", 0x7FFFFFFF, 0}};
  for (const Case& c : cases) {
    const TSymbolRecord* s = Symbol(c.name);
    ASSERT_NE(s, nullptr) << c.name;
    EXPECT_EQ(Value(s->ScopeLow), c.low) << c.name;
    EXPECT_EQ(static_cast<uint32_t>(s->ScopeHigh), c.high) << c.name;
  }
  // A second resolution changes nothing.
  debug.ResolveSymbolScopes();
  EXPECT_EQ(Value(Symbol("inBlock")->ScopeLow), 0x204u);
}

}  // namespace
