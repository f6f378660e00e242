#include <gtest/gtest.h>

#include <vector>

#include "EngineFixture.h"
#include "PackedValue.h"
#include "Protocol.h"

namespace {

class ProtocolBreakTest : public EngineFixture {
 protected:
  void SetAll(const std::vector<uint32_t>& addresses, uint8_t area = 0x81) {
    for (uint32_t a : addresses) ASSERT_NE(TheProtocol->WriteBreak(BREAK_SET, area, a), NO_BREAK);
  }
  // The addresses of the table from index 0, up to the first free entry.
  std::vector<uint32_t> Table(uint8_t area = 0x81) {
    std::vector<uint32_t> order;
    for (uint32_t a = 0; a < 0x40; ++a) {
      TBreakEntry e;
      uint16_t index = TheProtocol->ReadBreak(area, a, e);
      if (index == NO_BREAK) continue;
      if (order.size() <= index) order.resize(index + 1, 0xFFFFFFFF);
      order[index] = a;
    }
    return order;
  }
  uint8_t State(uint32_t address, uint8_t area = 0x81) {
    TBreakEntry e;
    TheProtocol->ReadBreak(area, address, e);
    return e.State;
  }
};

TEST_F(ProtocolBreakTest, RemovingFromTheMiddleKeepsTheOthersInOrder) {
  struct Case {
    const char* Name;
    uint8_t Mode;
  };
  for (const Case& c : {Case{"remove", BREAK_REMOVE}, Case{"toggle", BREAK_TOGGLE}}) {
    SCOPED_TRACE(c.Name);
    TheProtocol->ClearAllBreaks();
    SetAll({0x10, 0x11, 0x12, 0x13, 0x14});
    EXPECT_EQ(TheProtocol->WriteBreak(c.Mode, 0x81, 0x12), 2);
    EXPECT_EQ(Table(), (std::vector<uint32_t>{0x10, 0x11, 0x13, 0x14}));
    // Place 4 is free again: the next new address goes there.
    EXPECT_EQ(TheProtocol->WriteBreak(BREAK_SET, 0x81, 0x20), 4);
  }
}

TEST_F(ProtocolBreakTest, SettingAnExistingAddressReusesItsEntry) {
  SetAll({0x10, 0x11});
  EXPECT_EQ(TheProtocol->WriteBreak(BREAK_SET, 0x81, 0x11), 1);
  EXPECT_EQ(Table(), (std::vector<uint32_t>{0x10, 0x11}));
}

TEST_F(ProtocolBreakTest, TheSeventeenthAddressFindsNoPlace) {
  std::vector<uint32_t> sixteen;
  for (uint32_t a = 0; a < 16; ++a) sixteen.push_back(0x20 + a);
  SetAll(sixteen);
  EXPECT_EQ(TheProtocol->WriteBreak(BREAK_SET, 0x81, 0x30), NO_BREAK);
  EXPECT_EQ(TheProtocol->WriteBreak(BREAK_TOGGLE, 0x81, 0x30), NO_BREAK);
  TBreakEntry e;
  EXPECT_EQ(TheProtocol->ReadBreak(0x81, 0x30, e), NO_BREAK);

  EXPECT_EQ(TheProtocol->WriteBreak(BREAK_TOGGLE, 0x81, 0x25), 5);
  EXPECT_EQ(TheProtocol->WriteBreak(BREAK_SET, 0x81, 0x30), 15);
  EXPECT_EQ(State(0x30), BREAK_ENABLED);
  EXPECT_EQ(State(0x25), BREAK_FREE);
}

TEST_F(ProtocolBreakTest, ClearAllEmptiesAFullTable) {
  std::vector<uint32_t> sixteen;
  for (uint32_t a = 0; a < 16; ++a) sixteen.push_back(0x20 + a);
  SetAll(sixteen);
  TCapabilities* caps = nullptr;
  TheProtocol->GetCapabilities(caps);

  TheProtocol->ClearAllBreaks();

  EXPECT_TRUE(Table().empty());
  // The walk stops at the table's end and leaves what lies behind it alone.
  EXPECT_EQ(caps->Valid, 1);
  EXPECT_EQ(Value(caps->HwLinesOffset), NO_TABLE);
  for (uint32_t a = 0; a < 16; ++a) EXPECT_EQ(TheProtocol->WriteBreak(BREAK_SET, 0x81, 0x40 + a), a);
}

TEST_F(ProtocolBreakTest, EnableDisableAndSetFollowTheState) {
  SetAll({0x10});
  struct Step {
    uint8_t Mode;
    uint8_t StateAfter;
  };
  const Step steps[] = {
      {BREAK_ENABLE, BREAK_ENABLED},   {BREAK_DISABLE, BREAK_DISABLED}, {BREAK_DISABLE, BREAK_DISABLED},
      {BREAK_SET, BREAK_ENABLED},      {BREAK_DISABLE, BREAK_DISABLED}, {BREAK_ENABLE, BREAK_ENABLED},
      {BREAK_DISABLE, BREAK_DISABLED}, {BREAK_TOGGLE, BREAK_ENABLED},   {BREAK_TOGGLE, BREAK_FREE},
      {BREAK_SET, BREAK_ENABLED},      {BREAK_DISABLE, BREAK_DISABLED}, {BREAK_REMOVE, BREAK_FREE},
      {BREAK_ENABLE, BREAK_FREE},      {BREAK_DISABLE, BREAK_FREE},     {BREAK_REMOVE, BREAK_FREE},
  };
  int n = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(n++);
    EXPECT_EQ(TheProtocol->WriteBreak(s.Mode, 0x81, 0x10), 0);
    EXPECT_EQ(State(0x10), s.StateAfter);
  }
}

TEST_F(ProtocolBreakTest, ModesOnAnUnknownAddressChangeNothing) {
  SetAll({0x10, 0x11});
  for (uint8_t mode : {uint8_t{BREAK_REMOVE}, uint8_t{BREAK_ENABLE}, uint8_t{BREAK_DISABLE}, uint8_t{5}, uint8_t{0xFF}}) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(TheProtocol->WriteBreak(mode, 0x81, 0x99), 2);
    EXPECT_EQ(Table(), (std::vector<uint32_t>{0x10, 0x11}));
    EXPECT_EQ(State(0x99), BREAK_FREE);
  }
  // Above 4 the mode only looks up.
  EXPECT_EQ(TheProtocol->WriteBreak(7, 0x81, 0x11), 1);
  EXPECT_EQ(State(0x11), BREAK_ENABLED);
}

TEST_F(ProtocolBreakTest, TheWholeAreaByteTellsEntriesApart) {
  EXPECT_EQ(TheProtocol->WriteBreak(BREAK_SET, 0x01, 0x1234), 0);
  EXPECT_EQ(TheProtocol->WriteBreak(BREAK_SET, 0x81, 0x1234), 1);
  TBreakEntry e;
  EXPECT_EQ(TheProtocol->ReadBreak(0x01, 0x1234, e), 0);
  EXPECT_EQ(TheProtocol->ReadBreak(0x81, 0x1234, e), 1);
  EXPECT_EQ(e.Area, 0x81);
  EXPECT_EQ(e.Address, 0x1234u);
  EXPECT_EQ(TheProtocol->ReadBreak(0x02, 0x1234, e), NO_BREAK);
}

TEST_F(ProtocolBreakTest, ReadBreakClearsItsOutputWhenNothingMatches) {
  SetAll({0x10});
  TBreakEntry e;
  TheProtocol->ReadBreak(0x81, 0x10, e);
  EXPECT_EQ(e.State, BREAK_ENABLED);
  EXPECT_EQ(TheProtocol->ReadBreak(0x81, 0x11, e), NO_BREAK);
  EXPECT_EQ(e.State, BREAK_FREE);
  EXPECT_EQ(e.Area, 0);
  EXPECT_EQ(e.Address, 0u);
}

}  // namespace
