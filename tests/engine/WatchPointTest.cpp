#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "DebugTableBuilder.h"
#include "EngineFixture.h"
#include "Protocol.h"
#include "TargetPokes.h"
#include "Utility.h"
#include "WatchList.h"
#include "WatchPoint.h"

namespace {

enum : uint16_t {
  T_PAIR = 100,     // struct {int a @0; char b @2}
  T_CHARS = 101,    // char[10]
  T_INT_PTR = 102,  // pointer to int, two bytes
  T_DOUBLES = 103,  // double[40]
  T_FAR_PTR = 104,  // pointer to int in two parts: address (2 bytes, first), memory type (1 byte)
};

enum : uint16_t { INT = 6, CHAR = 2 };

constexpr uint32_t F_LOW = 0x100, F_HIGH = 0x1FF;  // a function
constexpr uint32_t G_LOW = 0x300, G_HIGH = 0x3FF;  // another one

class WatchTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    TTypeWriter t(TheDebug->Tables().Types);
    t.Structure(T_PAIR, 3, {{0, "a", INT}, {2, "b", CHAR}});
    t.Array(T_CHARS, CHAR, 10, 10);
    t.Record(T_INT_PTR, 15).Word(INT).Word(2);
    t.Array(T_DOUBLES, 10, 320, 40);
    t.Record(T_FAR_PTR, 97).Byte(0x40 | (2 << 3) | 1).Byte(0).Word(INT);

    for (const TSymbolEntry& s : std::vector<TSymbolEntry>{
             {"x", 0, 2, 0x1234, INT},
             {"s", 0, 2, 0x1240, T_PAIR},
             {"str", 0, 2, 0x1250, T_CHARS},
             {"p", 0, 2, 0x1260, T_INT_PTR},
             {"d", 0, 2, 0x1300, T_DOUBLES},
             {"fp", 0, 2, 0x1400, T_FAR_PTR},
             {"u", 0, 0, 0x10, INT},
             {"r", 8, 0, 2, INT},                                 // in DE
             {"a", 7, 9, 2, INT, F_LOW, F_HIGH},                  // SP + 2
             {"fl", 32, 9, 4, INT, F_LOW, F_HIGH, 255, 8},        // IX + 4
             {"k", 0, 2, 0x1500, INT, F_LOW, F_HIGH},             // static local of f
             {"k", 0, 2, 0x1502, CHAR, G_LOW, G_HIGH},            // of g, another type
             {"k", 0, 2, 0x1504, T_INT_PTR},                      // and a global
             {"only", 0, 2, 0x1506, INT, F_LOW, F_HIGH},
             {"v", 0, 2, 0x1508, 0}})                             // untyped
      AddSymbol(s);

    Write(0x100, {0x3E});
    Write(0x1234, {0x34, 0x12});
    Write(0x1240, {0xFE, 0xFF, 'A'});
    Write(0x1250, {'H', 'e', 'l', 'l', 'o', 0, 0, 0, 0, 0});
    Write(0x1260, {0x34, 0x12});
    Write(0x1400, {0x12, 0x34, 0x02});
    Write(0x1500, {0x05, 0x00, 'g', 0x00, 0x60, 0x12});
    Write(0x1506, {0x09, 0x00});
    Write(0x8002, {0x07, 0x00});
    Write(0x9004, {0x0B, 0x00});
    TheCpu->GetPC();
    TRegisterImage& regs = *TheCpu->GetRegisterImage();
    regs.DE = 0x1234;
    regs.SP = 0x8000;
    regs.IX = 0x9000;
    SetPC(0);
  }

  static void Write(uint32_t address, std::vector<uint8_t> bytes) {
    TheProtocol->WriteMemory(2, address, static_cast<uint8_t>(bytes.size()), bytes.data());
  }

  // The row as the view gets it, without the blanks that fill it up.
  static std::string Row(TWatchPoint& watch) {
    std::string row(WATCH_ROW_SIZE, ' ');
    watch.Evaluate(TheCpu->GetPC(), row.data(), 1, row.size());
    EXPECT_EQ(row.back(), '\0');
    row.pop_back();
    return row.substr(0, row.find_last_not_of(' ') + 1);
  }
};

TEST_F(WatchTest, ExpressionsShowTypedValuesOrTheReason) {
  const struct {
    const char* expression;
    std::string row;
  } cases[] = {
      {"x", "x: 4660"},
      {"  x  ", "x: 4660"},
      {"&x", "&x: DATA:0x1234"},
      {"&s.b", "&s.b: DATA:0x1242"},
      {"&u", "&u: UNTYPED:0x10"},
      {"x,2b", "x,2b: 0x34,0x12"},
      {"x,XI", "x,XI: 0x1234"},
      {"x,w", "x,w: 0x1234"},
      {"x,q", "x,q: Syntax error"},
      {"x,", "x,: Syntax error"},
      {"x,1000c", "x,1000c: Syntax error"},
      {"x,128i", "x,128i: Syntax error"},
      {"str,5c", "str,5c: \"Hello\""},
      {"str,1c", "str,1c: 'H'"},
      {"str", "str: \"Hello\\d0\\d0\\d0\\d0\\d0\""},
      {"str[1]", "str[1]: 'e'"},
      {"str[300]", "str[300]: Syntax error"},
      {"str[1", "str[1: Syntax error"},
      {"s", "s: {-2,'A'}"},
      {"s.b", "s.b: 'A'"},
      {"s.nothing", "s.nothing: Syntax error"},
      {"p", "p: 0x1234"},
      {"*p", "*p: 4660"},
      {"p[3]", "p[3]: 0x1234"},
      {"p[q]", "p[q]: Syntax error"},
      {"*p[3]", "*p[3]: Syntax error"},
      {"x[3]", "x[3]: Syntax error"},
      {"*x", "*x: Syntax error"},
      {"*fp", "*fp: 4660"},
      {"r", "r: 4660"},
      {"v", "v: Syntax error"},
      {"nosuch", "nosuch: Variable not found"},
      {"X", "X: Variable not found"},
      {"@nosuch", "@nosuch: Symbol not found"},
      {"@NOAREA:100H", "@NOAREA:100H: Syntax error"},
      {"@DATA:1234H,i", "@DATA:1234H,i 4660"},
      {"@DATA:x,2b", "@DATA:x,2b 0x34,0x12"},
      {"@AUTO:2,i", "@AUTO:2,i 7"},
      // 40 doubles are 320 bytes: 255 are read and only those are shown.
      {"d", "d: " + [] {
         std::string row;
         for (int i = 0; i < 255 / 8; ++i) row += "0.000000,";
         return row;
       }()},
  };
  for (const auto& c : cases) {
    TWatchPoint watch(c.expression);
    EXPECT_EQ(Row(watch), c.row) << c.expression;
  }
}

TEST_F(WatchTest, AbsoluteWatchIsCompletedOnceAndFollowsMemory) {
  TWatchPoint watch("@CODE:100H");
  EXPECT_EQ(Row(watch), "@CODE:100H,b 0x3E");
  EXPECT_STREQ(watch.Expression, "@CODE:100H,b");
  EXPECT_EQ(Row(watch), "@CODE:100H,b: 0x3E");
  Write(0x100, {0x7F});
  EXPECT_EQ(Row(watch), "@CODE:100H,b: 0x7F");

  // No room left for the format: nothing is appended.
  TWatchPoint full("@" + std::string(252, '1') + "   ");
  EXPECT_EQ(std::strlen(full.Expression), 253u);
  EXPECT_EQ(Row(full), std::string(full.Expression) + ": Syntax error");
  EXPECT_EQ(std::strlen(full.Expression), 253u);

  TWatchPoint longest("@" + std::string(400, '2'));
  EXPECT_EQ(std::strlen(longest.Expression), 254u);
  EXPECT_EQ(Row(longest), std::string(longest.Expression) + ": Syntax error");
}

TEST_F(WatchTest, LocalsResolveInTheirScopeAndStayWhileThePcDoes) {
  const struct {
    uint16_t pc;
    const char* expression;
    const char* row;
  } cases[] = {
      {0x150, "only", "only: 9"},    {0x250, "only", "only: Variable not found"},
      {0x150, "a", "a: 7"},          {0x150, "fl", "fl: 11"},    {0x350, "a", "a: Variable not found"},
  };
  for (const auto& c : cases) {
    SetPC(c.pc);
    TWatchPoint watch(c.expression);
    EXPECT_EQ(Row(watch), c.row) << c.expression << " at " << c.pc;
  }

  // One watch followed through the functions: a same-named variable of
  // another type takes over in its own scope.
  TWatchPoint k("k");
  for (auto [pc, row] : {std::pair{0x150, "k: 5"}, {0x350, "k: 'g'"}, {0x050, "k: 0x1260"}, {0x150, "k: 5"}}) {
    SetPC(static_cast<uint16_t>(pc));
    EXPECT_EQ(Row(k), row) << pc;
  }

  // Many locals of one name: the one in scope is found wherever the index
  // keeps it among them.
  for (uint32_t i = 0; i < 20; ++i) AddSymbol({"n", 0, 2, 0x1600 + 2 * i, INT, 0x1000 + 0x10 * i, 0x100F + 0x10 * i});
  Write(0x1600, {0x01, 0x00});
  Write(0x1626, {0x14, 0x00});
  for (auto [pc, row] : {std::pair{0x1005, "n: 1"}, {0x1135, "n: 20"}}) {
    SetPC(static_cast<uint16_t>(pc));
    TWatchPoint n("n");
    EXPECT_EQ(Row(n), row);
  }

  // While the PC stays in its scope a local is not looked up again.
  SetPC(0x150);
  EXPECT_EQ(Row(k), "k: 5");
  TheSymbols->Clear();
  EXPECT_EQ(Row(k), "k: 5");
  SetPC(0x350);
  EXPECT_EQ(Row(k), "k: Variable not found");
}

TEST_F(WatchTest, ListKeepsFiftySlotsAndRowsStopThere) {
  TWatchList list;
  list.Put(5, "x");  // past the end: appended
  for (int i = 1; i < 60; ++i) list.Put(i, "x," + std::to_string(i % 9 + 1) + "b");
  EXPECT_EQ(list.Expression(0), "x");
  EXPECT_EQ(list.Count(), MAX_WATCHES);
  EXPECT_EQ(list.Expression(49), "x,5b");

  // Only the rows shown are evaluated; more rows than slots stay empty.
  list.CreateLines(45, 80);
  EXPECT_EQ(list.Line(4).substr(0, 10), "x,5b: 0x34");
  EXPECT_EQ(list.Line(5), "");
  EXPECT_EQ(list.Line(80), "");
  list.CreateLines(0, 2);
  EXPECT_NE(list.Line(2), "");
  EXPECT_EQ(list.Line(3), "");
  list.Remove(MAX_WATCHES - 1);
  EXPECT_EQ(list.Count(), MAX_WATCHES - 1);
}

}  // namespace
