#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "Protocol.h"
#include "Utility.h"

namespace {

class AreaDescriptorTest : public EngineFixture {
 protected:
  // Puts a memory-area table into the target's capability record.
  void SetTable(uint16_t offset, const std::vector<uint8_t>& table) {
    TCapabilities* caps = nullptr;
    TheProtocol->GetCapabilities(caps);
    std::memset(caps->Data, 0, sizeof caps->Data);
    std::memcpy(caps->Data + offset, table.data(), std::min(table.size(), sizeof caps->Data - offset));
    caps->AreasOffset = offset;
  }
  static void Append(std::vector<uint8_t>& table, const std::string& text) {
    table.insert(table.end(), text.begin(), text.end());
    table.push_back(0);
  }
};

TEST_F(AreaDescriptorTest, SplitsEachEntry) {
  std::vector<uint8_t> table = {24, 0x55};
  Append(table, "~Main ~memory|rest of the name");
  Append(table, "On~chip");
  Append(table, "External");
  table.insert(table.end(), {0x07, 3});
  Append(table, "Second");
  Append(table, "");
  Append(table, std::string(60, 'z'));
  table.insert(table.end(), {0x01, 9});
  Append(table, std::string(45, 'w'));
  Append(table, "a");
  Append(table, "b");
  table.insert(table.end(), {0x02, 33});
  table.push_back(0);
  SetTable(100, table);

  TAreaDescriptor d{};
  ASSERT_EQ(GetAreaDescriptor(0, 1, d), 1);
  EXPECT_EQ(d.AddressBits, 24);
  EXPECT_EQ(d.HeaderByte, 0x55);
  EXPECT_STREQ(d.Name, "Main memory");
  EXPECT_STREQ(d.Text2, "Onchip");
  EXPECT_STREQ(d.Text3, "External");
  EXPECT_EQ(d.ValueByte, 7);
  EXPECT_EQ(d.BitMask, 8);

  ASSERT_EQ(GetAreaDescriptor(1, 1, d), 1);
  EXPECT_STREQ(d.Name, "Second");
  EXPECT_STREQ(d.Text2, "");
  EXPECT_EQ(std::string(d.Text3), std::string(39, 'z'));
  EXPECT_EQ(d.BitMask, 0);  // a bit number of 8 or more gives no mask

  ASSERT_EQ(GetAreaDescriptor(2, 1, d), 1);
  EXPECT_EQ(std::string(d.Name), std::string(39, 'w'));
  EXPECT_EQ(d.ValueByte, 2);
  EXPECT_EQ(d.BitMask, 2);  // 33 taken modulo 32

  EXPECT_EQ(GetAreaDescriptor(3, 1, d), 0);
  EXPECT_EQ(GetAreaDescriptor(255, 1, d), 0);
}

TEST_F(AreaDescriptorTest, TablesThatRunPastTheRecordGiveNothing) {
  TAreaDescriptor d{};
  EXPECT_EQ(GetAreaDescriptor(0, 1, d), 0);  // the demonstration target has no table (0xFFFF)

  SetTable(1022, {8, 0});  // header only, at the very end
  EXPECT_EQ(GetAreaDescriptor(0, 1, d), 0);
  SetTable(1023, {8});
  EXPECT_EQ(GetAreaDescriptor(0, 1, d), 0);

  std::vector<uint8_t> table = {8, 0};
  Append(table, "A");
  Append(table, "B");
  Append(table, "C");
  table.push_back(1);  // the bit number is missing
  SetTable(static_cast<uint16_t>(1024 - table.size()), table);
  EXPECT_EQ(GetAreaDescriptor(0, 1, d), 0);

  std::vector<uint8_t> endless = {8, 0};
  endless.insert(endless.end(), 200, 'x');
  SetTable(static_cast<uint16_t>(1024 - endless.size()), endless);
  EXPECT_EQ(GetAreaDescriptor(0, 1, d), 0);
  EXPECT_EQ(GetAreaDescriptor(1, 1, d), 0);
}

TEST_F(AreaDescriptorTest, SplitStopsAtTheGivenEnd) {
  const uint8_t entry[] = {'N', '|', 'x', 0, 'T', 0, 'U', 0, 5, 2};
  TAreaDescriptor d{};
  EXPECT_EQ(SplitAreaDescriptor(entry, entry + sizeof entry, 1, d), entry + sizeof entry);
  EXPECT_STREQ(d.Name, "N");
  EXPECT_STREQ(d.Text3, "U");
  EXPECT_EQ(d.BitMask, 4);
  EXPECT_EQ(SplitAreaDescriptor(entry, entry + sizeof entry - 1, 1, d), nullptr);
  EXPECT_EQ(SplitAreaDescriptor(entry, entry + 2, 1, d), nullptr);
}

}  // namespace
