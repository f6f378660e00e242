#include <string>

#include "PellisTest.h"

namespace {


TIarSymbol Sym(const std::string& name, uint8_t kind = 1, uint32_t value = 0x1234, uint16_t type = 3) {
  TIarSymbol symbol;
  symbol.Kind = kind;
  symbol.Attributes = 0x0042;
  symbol.Value = value;
  symbol.Name = name;
  symbol.TypeIndex = type;
  symbol.ExtraItems = 2;
  return symbol;
}

std::vector<TIarSymbol> Numbered(int count) {
  std::vector<TIarSymbol> symbols;
  for (int i = 0; i < count; ++i) symbols.push_back(Sym("s" + std::to_string(i), 1, static_cast<uint32_t>(i)));
  return symbols;
}

TEST_F(PellisTest, SymbolListMarksRegisterVariables) {
  TIarObjectWriter file;
  file.SymbolList({Sym("alpha"), Sym("reg", 8, 5), Sym("gamma", 2, 0xFFFFFFFF)}).End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_SYMBOLS, PR_END}));
  const auto& symbols = results[0].Symbols;
  ASSERT_EQ(symbols.size(), 3u);
  EXPECT_STREQ(symbols[0].Name, "alpha");
  EXPECT_EQ(symbols[0].Kind, 1);
  EXPECT_EQ(Value(symbols[0].Attributes), 0x42);
  EXPECT_EQ(Value(symbols[0].Value), 0x1234u);
  EXPECT_EQ(Value(symbols[0].TypeIndex), 3);
  EXPECT_EQ(symbols[0].NameLength, 5);
  EXPECT_EQ(Value(symbols[0].FrameArea), 0);
  EXPECT_EQ(Value(symbols[0].FrameBase), 0);
  EXPECT_EQ(Value(symbols[1].Value), 0x105u);
  EXPECT_EQ(Value(symbols[2].Value), 0xFFFFFFFFu);
}

TEST_F(PellisTest, EmptySymbolListGivesOnlyTheEndSlot) {
  TIarObjectWriter file;
  file.SymbolList({}).End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_SYMBOLS, PR_END}));
  EXPECT_TRUE(results[0].Symbols.empty());
}

TEST_F(PellisTest, LongestNameIsKeptWhole) {
  TIarObjectWriter file;
  file.Symbol(Sym(std::string(255, 'q'))).End();
  auto results = h.Run(file);
  ASSERT_EQ(results[0].Symbols.size(), 1u);
  EXPECT_EQ(results[0].Symbols[0].Name, std::string(255, 'q'));
  EXPECT_EQ(results[0].Symbols[0].NameLength, 255);
}

// ScopeLow as delivered: 1 + the index of the current scope, 0 without one.
struct TScopeCase {
  const char* Name;
  bool InScope;
  uint32_t ScopeLow;
  int32_t ScopeHigh;
};

class PellisSymbolScopeTest : public PellisTest, public ::testing::WithParamInterface<TScopeCase> {
 protected:
  // Module, an optional open scope (the second of the file), then `symbols`.
  std::vector<TParsed> RunWith(void (*symbols)(TIarObjectWriter&)) {
    TIarObjectWriter file;
    file.ModuleHeader(0, 0x10, "m").Line(1, 0).EndScope().Line(2, 0);
    if (!GetParam().InScope) file.EndScope();
    symbols(file);
    file.End();
    return h.Run(file);
  }
};

TEST_P(PellisSymbolScopeTest, OneSymbolIsGlobalOutsideAnyScope) {
  auto results = RunWith([](TIarObjectWriter& f) { f.Symbol(Sym("one")).SymbolWithExtra(Sym("two")); });
  ASSERT_EQ(KindsOf(results), (Kinds{PR_MODULEFLAG, PR_SYMBOLS, PR_SYMBOLS, PR_END}));
  for (int i : {1, 2}) {
    ASSERT_EQ(results[i].Symbols.size(), 1u);
    EXPECT_EQ(Value(results[i].Symbols[0].ScopeLow), GetParam().ScopeLow);
    EXPECT_EQ(Value(results[i].Symbols[0].ScopeHigh), GetParam().ScopeHigh);
  }
  EXPECT_STREQ(results[2].Symbols[0].Name, "two");
  EXPECT_EQ(Value(results[2].Symbols[0].TypeIndex), 3);
}

TEST_P(PellisSymbolScopeTest, ListSymbolsAreNeverGlobal) {
  auto results = RunWith([](TIarObjectWriter& f) {
    f.SymbolList({Sym("a")}).NamedSymbolList({Sym("b")}).SymbolListWithExtra({Sym("c"), Sym("d")});
  });
  ASSERT_EQ(KindsOf(results), (Kinds{PR_MODULEFLAG, PR_SYMBOLS, PR_SYMBOLS, PR_SYMBOLS, PR_END}));
  EXPECT_STREQ(results[2].Symbols[0].Name, "b");
  ASSERT_EQ(results[3].Symbols.size(), 2u);
  EXPECT_STREQ(results[3].Symbols[1].Name, "d");
  for (int i : {1, 2, 3}) {
    EXPECT_EQ(Value(results[i].Symbols[0].ScopeLow), GetParam().ScopeLow);
    EXPECT_EQ(Value(results[i].Symbols[0].ScopeHigh), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Scopes, PellisSymbolScopeTest,
                         ::testing::Values(TScopeCase{"InSecondScope", true, 2, 0},
                                           TScopeCase{"OutsideScopes", false, 0, -1}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Lists longer than the slot array come in pieces of 99, none lost.
class PellisLongListTest : public PellisTest, public ::testing::WithParamInterface<int> {};

TEST_P(PellisLongListTest, IsHandedOverInPiecesOfNinetyNine) {
  int count = GetParam();
  TIarObjectWriter file;
  file.SymbolListWithExtra(Numbered(count)).Code({0x55}).End();
  auto results = h.Run(file);
  ASSERT_EQ(results.back().Kind, PR_END);
  ASSERT_EQ(results[results.size() - 2].Kind, PR_CODE);

  std::vector<std::string> names;
  std::size_t pieces = results.size() - 2;
  for (std::size_t i = 0; i < pieces; ++i) {
    ASSERT_EQ(results[i].Kind, PR_SYMBOLS);
    std::size_t expected = std::min<std::size_t>(99, count - i * 99);
    EXPECT_EQ(results[i].Symbols.size(), expected);
    for (const TSymbolSlot& slot : results[i].Symbols) names.push_back(slot.Name);
  }
  EXPECT_EQ(pieces, static_cast<std::size_t>((count + 98) / 99));
  ASSERT_EQ(names.size(), static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) EXPECT_EQ(names[i], "s" + std::to_string(i));
}

INSTANTIATE_TEST_SUITE_P(Counts, PellisLongListTest, ::testing::Values(1, 98, 99, 100, 198, 250, 65535));

}  // namespace
