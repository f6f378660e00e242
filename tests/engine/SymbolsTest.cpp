#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "Configuration.h"
#include "FirstRecordTable.h"
#include "PackedValue.h"
#include "Symbols.h"
#include "Tgtz80.h"

namespace {

TSymbolRecord Slot(const char* name, uint16_t area, uint32_t value) {
  TSymbolRecord s{};
  s.Attributes = area;
  s.Value = value;
  s.ScopeHigh = -1;
  std::snprintf(s.Name, sizeof s.Name, "%s", name);
  s.NameLength = static_cast<uint8_t>(std::strlen(s.Name));
  return s;
}

class SymbolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SavedCpu = TheCpu;
    TheCpu = &Cpu;
  }
  void TearDown() override { TheCpu = SavedCpu; }

  void Add(const char* name, uint16_t area, uint32_t value) {
    const TSymbolRecord s = Slot(name, area, value);
    Symbols.Add(&s);
  }
  std::vector<std::string> NamesByAddress() const {
    std::vector<std::string> names;
    for (int i = 0; i < Symbols.Count(); ++i) names.emplace_back(Symbols.GetByAddress(i)->Name);
    return names;
  }

  TCpu Cpu;
  TCpu* SavedCpu = nullptr;
  TSymbols Symbols;
};

TEST_F(SymbolsTest, AddressLookupFindsOnlyStoredAddresses) {
  Add("start", 1, 0x100);
  Add("loop", 1, 0x180);
  Add("buffer", 2, 0x100);
  struct {
    uint16_t area;
    uint32_t address;
    const char* name;  // null: nothing found
  } const cases[] = {
      {1, 0x100, "start"}, {1, 0x180, "loop"}, {2, 0x100, "buffer"}, {1, 0x0FF, nullptr},
      {1, 0x140, nullptr}, {1, 0x181, nullptr}, {3, 0x100, nullptr},  {0x81, 0x100, "start"},
  };
  for (const auto& c : cases) {
    const TSymbolRecord* r = Symbols.FindByAddress(c.area, c.address);
    if (c.name) {
      ASSERT_NE(r, nullptr) << c.area << ":" << c.address;
      EXPECT_STREQ(r->Name, c.name);
    } else {
      EXPECT_EQ(r, nullptr) << c.area << ":" << c.address;
    }
  }
}

TEST_F(SymbolsTest, EqualAddressesKeepInsertionOrderAndAllAreFoundExactly) {
  Add("zz", 1, 0x50);
  for (const char* name : {"first", "second", "third", "fourth", "fifth"}) Add(name, 1, 0x200);
  Add("aa", 1, 0x300);
  EXPECT_EQ(NamesByAddress(), (std::vector<std::string>{"zz", "first", "second", "third", "fourth", "fifth", "aa"}));
  EXPECT_STREQ(Symbols.FindByAddress(1, 0x200)->Name, "first");
  for (const char* name : {"first", "second", "third", "fourth", "fifth"}) {
    const TSymbolRecord* r = Symbols.FindExact(1, 0x200, name);
    ASSERT_NE(r, nullptr) << name;
    EXPECT_STREQ(r->Name, name);
  }
  EXPECT_EQ(Symbols.FindExact(1, 0x200, "aa"), nullptr);
  EXPECT_EQ(Symbols.FindExact(1, 0x200, "sixth"), nullptr);
  EXPECT_EQ(Symbols.FindExact(2, 0x200, "first"), nullptr);
}

TEST_F(SymbolsTest, FindExactOnBankedAreaComparesLinearAddresses) {
  Add("plain", 1, 0x31234);
  Add("bankA", 0x41, 0x31234);
  Add("bankB", 0x41, 0x31234);
  EXPECT_STREQ(Symbols.FindExact(0x41, 0x31234, "bankB")->Name, "bankB");
  EXPECT_STREQ(Symbols.FindExact(0x41, 0x31234, "plain")->Name, "plain");
  EXPECT_EQ(Symbols.FindExact(0x41, 0x1234, "bankA"), nullptr);
}

TEST_F(SymbolsTest, BankedLookupLinearisesWhenBankingIsOn) {
  const uint8_t savedMode = BankMode;
  const uint32_t savedLow = BankWindowLow, savedHigh = BankWindowHigh, savedSize = BankSize;
  BankMode = 0;
  BankWindowLow = 0x8000;
  BankWindowHigh = 0xBFFF;
  BankSize = 0x4000;
  Add("banked", 0x41, 0x28000);  // bank 2 of the window: linear 0x10000
  const TSymbolRecord* r = Symbols.FindByAddress(0x41, 0x10000);
  BankMode = savedMode;
  BankWindowLow = savedLow;
  BankWindowHigh = savedHigh;
  BankSize = savedSize;
  ASSERT_NE(r, nullptr);
  EXPECT_STREQ(r->Name, "banked");
}

TEST_F(SymbolsTest, AddressesFarApartStayInOneConsistentOrder) {
  for (uint32_t v : {0x80000020u, 0u, 0x7FFFFFF0u, 0xFFFFFFFFu, 0x12u}) Add(std::to_string(v).c_str(), 1, v);
  for (uint32_t v : {0x80000020u, 0u, 0x7FFFFFF0u, 0xFFFFFFFFu, 0x12u}) {
    const TSymbolRecord* r = Symbols.FindByAddress(1, v);
    ASSERT_NE(r, nullptr) << std::hex << v;
    EXPECT_EQ(Value(r->Value), v);
  }
}

TEST_F(SymbolsTest, NameLookups) {
  for (const char* name : {"main", "Zeta", "alpha", "main_loop"}) Add(name, 1, 0x10);
  struct {
    const char* key;
    bool noCase;
    const char* found;
  } const cases[] = {
      {"main", false, "main"}, {"MAIN", false, nullptr}, {"MAIN", true, "main"},     {"ZETA", true, "Zeta"},
      {"zeta", false, nullptr}, {"ALPHA", true, "alpha"}, {"mai", true, nullptr},     {"", false, nullptr},
      {"main_", false, nullptr}, {"MAIN_LOOP", true, "main_loop"},
  };
  for (const auto& c : cases) {
    const TSymbolRecord* r = Symbols.FindByName(c.key, c.noCase);
    if (c.found) {
      ASSERT_NE(r, nullptr) << c.key;
      EXPECT_STREQ(r->Name, c.found);
    } else {
      EXPECT_EQ(r, nullptr) << c.key;
    }
  }
}

TEST_F(SymbolsTest, NameOrderIsTheByteOrderOfStrcmp) {
  const std::vector<std::string> names = {"abcdefgh", "a", "Z", "\xE9t\xE9", "abcdefghi", "", "a\x01",
                                          "abcdefgg", "ab", "abcdefgh", "_", "\x7F",
                                          "abcdefghijklmnopqrstuvwx", "abcdefghijklmnopqrstuvwxz",
                                          "abcdefghijklmnopqrstuvwxa", "abcdefghijklmnopqrstuvw",
                                          "abcdefghijklmnopqrstuvwxa"};
  for (const auto& n : names) Add(n.c_str(), 1, 0);
  std::vector<std::string> sorted = names;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const std::string& a, const std::string& b) { return std::strcmp(a.c_str(), b.c_str()) < 0; });
  for (int i = 0; i < Symbols.Count(); ++i) {
    EXPECT_EQ(Symbols.GetByName(i)->Name, sorted[i]) << i;
    EXPECT_EQ(Symbols.FindByName(sorted[i].c_str(), false)->Name, sorted[i]);
  }
}

TEST_F(SymbolsTest, NameWalkStartsAtTheFirstOfEqualNames) {
  Add("count", 2, 1);
  Add("b", 2, 9);
  Add("count", 2, 2);
  Add("count", 2, 3);
  Add("a", 2, 8);
  const TSymbolRecord* r = Symbols.FindByName("count", false);
  std::vector<uint32_t> values;
  for (; r && std::strcmp(r->Name, "count") == 0; r = Symbols.NextByName()) values.push_back(Value(r->Value));
  EXPECT_EQ(values, (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(r, nullptr);  // "count" sorts last
}

TEST_F(SymbolsTest, NextBeforeAnyLookupStartsAtTheFirstName) {
  Add("b", 1, 1);
  Add("a", 1, 2);
  EXPECT_STREQ(Symbols.NextByName()->Name, "a");
  EXPECT_STREQ(Symbols.NextByName()->Name, "b");
  EXPECT_EQ(Symbols.NextByName(), nullptr);
}

TEST_F(SymbolsTest, PositionalAccessOutsideTheTableGivesNull) {
  Add("one", 1, 1);
  Add("two", 1, 2);
  EXPECT_EQ(Symbols.Count(), 2);
  EXPECT_EQ(Symbols.GetByName(2), nullptr);
  EXPECT_EQ(Symbols.GetByName(-1), nullptr);
  EXPECT_EQ(Symbols.GetByAddress(-1), nullptr);
  EXPECT_EQ(Symbols.GetByAddress(2), nullptr);
  EXPECT_STREQ(Symbols.GetByName(1)->Name, "two");
}

TEST_F(SymbolsTest, ClearEmptiesTheIndexesButKeepsRecordsReadable) {
  Add("keep", 1, 0x42);
  const TSymbolRecord* held = Symbols.FindByName("keep", false);
  Symbols.Clear();
  EXPECT_EQ(Symbols.Count(), 0);
  EXPECT_EQ(Symbols.FindByName("keep", false), nullptr);
  EXPECT_EQ(Symbols.FindByName("KEEP", true), nullptr);
  EXPECT_EQ(Symbols.FindByAddress(1, 0x42), nullptr);
  EXPECT_EQ(Symbols.FindExact(1, 0x42, "keep"), nullptr);
  EXPECT_EQ(Symbols.NextByName(), nullptr);
  EXPECT_EQ(Symbols.GetByName(0), nullptr);
  EXPECT_STREQ(held->Name, "keep");
  EXPECT_EQ(Value(held->Value), 0x42u);
  Add("again", 1, 0x42);
  EXPECT_STREQ(Symbols.FindByAddress(1, 0x42)->Name, "again");
}

TEST_F(SymbolsTest, ClearLeavesTheNameWalkAtItsPosition) {
  for (const char* name : {"a", "b", "c"}) Add(name, 1, 1);
  ASSERT_STREQ(Symbols.FindByName("b", false)->Name, "b");
  Symbols.Clear();
  EXPECT_EQ(Symbols.NextByName(), nullptr);
  for (const char* name : {"x", "y", "z"}) Add(name, 1, 1);
  EXPECT_STREQ(Symbols.NextByName()->Name, "z");  // the walk goes on after position 1
}

TEST_F(SymbolsTest, ManyRecordsStayOrderedAndNeverMove) {
  // Enough long names to fill several pool blocks and split many index blocks.
  std::vector<const TSymbolRecord*> held;
  for (int i = 0; i < 3000; ++i) {
    const uint32_t address = static_cast<uint32_t>((i * 7919) % 3000);
    const std::string name = "symbol_with_a_rather_long_name_" + std::to_string(address);
    Add(name.c_str(), 1, address);
    held.push_back(Symbols.FindByAddress(1, address));
  }
  ASSERT_EQ(Symbols.Count(), 3000);
  for (int i = 0; i < 3000; ++i) {
    EXPECT_EQ(Value(Symbols.GetByAddress(i)->Value), static_cast<uint32_t>(i));
    EXPECT_EQ(Symbols.FindByAddress(1, held[i]->Value), held[i]);
    if (i > 0) {
      EXPECT_LT(std::strcmp(Symbols.GetByName(i - 1)->Name, Symbols.GetByName(i)->Name), 0);
    }
  }
}

// Additions are sorted in when something needs the order; however lookups
// interleave with them, both orders are those of adding one by one: sorted,
// equal keys in the order they were added.
TEST(SymbolOrderTest, LookupsBetweenAdditionsChangeNoOrder) {
  TCpu cpu;
  TCpu* const savedCpu = std::exchange(TheCpu, &cpu);
  struct TAdded {
    std::string Name;
    uint32_t Value;
  };
  std::vector<TAdded> added;
  for (int i = 0; i < 3000; ++i)
    added.push_back({"n" + std::to_string((i * 13) % 700), static_cast<uint32_t>((i * 7919) % 300)});
  std::vector<TAdded> byAddress = added, byName = added;
  std::stable_sort(byAddress.begin(), byAddress.end(), [](auto& a, auto& b) { return a.Value < b.Value; });
  std::stable_sort(byName.begin(), byName.end(), [](auto& a, auto& b) { return a.Name < b.Name; });

  for (int every : {0, 1, 7, 500, 2999}) {
    SCOPED_TRACE(every);
    TSymbols symbols;
    for (int i = 0; i < 3000; ++i) {
      const TSymbolRecord s = Slot(added[i].Name.c_str(), 1, added[i].Value);
      symbols.Add(&s);
      if (every != 0 && i % every == 0) symbols.GetByName(i / 2);
    }
    for (int i = 0; i < 3000; ++i) {
      ASSERT_EQ(symbols.GetByAddress(i)->Name, byAddress[i].Name) << i;
      ASSERT_EQ(Value(symbols.GetByAddress(i)->Value), byAddress[i].Value) << i;
      ASSERT_EQ(symbols.GetByName(i)->Name, byName[i].Name) << i;
      ASSERT_EQ(Value(symbols.GetByName(i)->Value), byName[i].Value) << i;
    }
  }
  TheCpu = savedCpu;
}

TEST_F(SymbolsTest, StoredRecordsCanBeCopiedAsWholeSlots) {
  // Callers copy a found record as a 280-byte slot; the pool keeps the room.
  for (int i = 0; i < 2000; ++i) Add(("s" + std::to_string(i)).c_str(), 1, static_cast<uint32_t>(i));
  for (int i = 0; i < 2000; ++i) {
    TSymbolRecord copy;
    std::memcpy(&copy, Symbols.GetByAddress(i), sizeof copy);
    EXPECT_EQ(Value(copy.Value), static_cast<uint32_t>(i));
  }
}

TEST_F(SymbolsTest, NamesAreStoredUpToTheirNulAndAtMost255Characters) {
  TSymbolRecord unterminated = Slot("", 1, 1);
  std::memset(unterminated.Name, 'x', sizeof unterminated.Name);
  unterminated.NameLength = 7;
  Symbols.Add(&unterminated);
  TSymbolRecord wrongLength = Slot("short", 1, 2);
  wrongLength.NameLength = 200;
  Symbols.Add(&wrongLength);
  Add("after", 1, 3);

  const TSymbolRecord* longOne = Symbols.FindByAddress(1, 1);
  EXPECT_EQ(Value(longOne->NameLength), 255);
  EXPECT_EQ(std::strlen(longOne->Name), 255u);
  EXPECT_EQ(Value(Symbols.FindByAddress(1, 2)->NameLength), 5);
  EXPECT_STREQ(Symbols.FindByAddress(1, 3)->Name, "after");
  EXPECT_EQ(Symbols.FindByName(std::string(255, 'x').c_str(), false), longOne);
  EXPECT_EQ(Symbols.FindByName(std::string(300, 'x').c_str(), false), nullptr);
  EXPECT_EQ(Symbols.FindByName(std::string(300, 'x').c_str(), true), nullptr);
  EXPECT_EQ(Symbols.FindExact(1, 1, std::string(300, 'x').c_str()), nullptr);
}

TEST(TBTreeTest, WithoutAnOrderSearchFailsAndInsertAppends) {
  TBTree tree;
  TSymbolRecord a = Slot("b", 1, 1), b = Slot("a", 1, 2);
  EXPECT_EQ(tree.Search(&a), TBTree::SEARCH_NO_COMPARE);
  EXPECT_EQ(tree.Find(&a), nullptr);
  for (int i = 0; i < 600; ++i) tree.Insert(i % 2 ? &b : &a);
  EXPECT_EQ(tree.Count(), 600);
  EXPECT_EQ(tree.Get(0), &a);
  EXPECT_EQ(tree.Get(599), &b);
  EXPECT_EQ(tree.Next(), &a);  // the cursor starts before the first element
}

TEST(TBTreeTest, SearchGivesFirstEqualOrInsertionPoint) {
  TBTree tree;
  tree.SetOnCompare(TSymbols::CompareName);
  std::vector<TSymbolRecord> records = {Slot("b", 0, 0), Slot("d", 0, 1), Slot("d", 0, 2), Slot("f", 0, 3)};
  for (auto& r : records) tree.Insert(&r);
  const struct {
    const char* key;
    int result;
  } cases[] = {{"a", -1}, {"b", 0}, {"c", -2}, {"d", 1}, {"e", -4}, {"f", 3}, {"g", -5}};
  for (const auto& c : cases) {
    const TSymbolRecord key = Slot(c.key, 0, 0);
    EXPECT_EQ(tree.Search(&key), c.result) << c.key;
  }
}

TEST(FirstRecordTableTest, KeepsTheFirstRecordPerKeyAndNameThroughGrowth) {
  std::vector<TSymbolRecord> records;
  for (int i = 0; i < 5000; ++i) records.push_back(Slot(("n" + std::to_string(i % 2500)).c_str(), 1, 0));
  TFirstRecordTable table;
  EXPECT_EQ(table.Find(7, "n1"), nullptr);
  // Every name under one of only three keys, as names whose hashes collide.
  for (auto& r : records) table.Add(std::stoul(r.Name + 1) % 3, &r, r.Name);
  for (int i = 0; i < 2500; ++i) {
    const std::string name = "n" + std::to_string(i);
    EXPECT_EQ(table.Find(static_cast<uint64_t>(i % 3), name.c_str()), &records[i]) << name;
    EXPECT_EQ(table.Find(static_cast<uint64_t>((i + 1) % 3), name.c_str()), nullptr) << name;
  }
  TFirstRecordTable exact;
  for (uint64_t k = 0; k < 3000; ++k) exact.Add(k << 32, &records[k]);
  exact.Add(5ull << 32, &records[4000]);
  EXPECT_EQ(exact.Find(5ull << 32), &records[5]);
  EXPECT_EQ(exact.Find(2999ull << 32), &records[2999]);
  EXPECT_EQ(exact.Find(3000ull << 32), nullptr);
  exact.Clear();
  EXPECT_EQ(exact.Find(5ull << 32), nullptr);
}

}  // namespace
