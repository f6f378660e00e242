#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineFixture.h"
#include "StackLines.h"

namespace {

struct StackCase {
  const char* Name;
  uint16_t Area;
  uint32_t Addr;
  uint8_t AddrMode;
  uint8_t DataMode;
  std::vector<std::string> Lines;
};

class StackLines : public EngineFixture, public ::testing::WithParamInterface<StackCase> {};

// Memory counts up from 0x10, so every item shows its bytes' order.
TEST_P(StackLines, OneItemALineLeastSignificantByteFirst) {
  const StackCase& c = GetParam();
  uint8_t data[16];
  for (int i = 0; i < 16; ++i) data[i] = static_cast<uint8_t>(0x10 + i);
  EXPECT_EQ(MakeStackLines(c.Area, c.Addr, c.AddrMode, c.DataMode, data, static_cast<int>(c.Lines.size())), c.Lines);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StackLines,
    ::testing::Values(StackCase{"Bytes", 1, 0xFFF0, 1, 0, {"FFF0 10", "FFF1 11", "FFF2 12"}},
                      StackCase{"Words", 2, 0xFFF0, 1, 1, {"FFF0 1110", "FFF2 1312", "FFF4 1514"}},
                      StackCase{"ThreeBytes", 1, 0x100, 1, 2, {"0100 121110", "0103 151413"}},
                      StackCase{"DoubleWords", 1, 0x100, 1, 3, {"0100 13121110", "0104 17161514"}},
                      StackCase{"WrapsAtTheTopOfA16BitArea", 2, 0xFFFC, 1, 1, {"FFFC 1110", "FFFE 1312", "0000 1514"}},
                      StackCase{"BankedAreaKeeps24Bits", 0x41, 0x1FFFE, 2, 1, {"01FFFE 1110", "020000 1312"}},
                      StackCase{"EightBitAddressColumnWidensForLargerOnes", 1, 0x1234, 0, 0, {"1234 10"}},
                      StackCase{"ThirtyTwoBitAddressColumn", 0x80, 0xABC, 3, 0, {"00000ABC 10"}}),
    [](const ::testing::TestParamInfo<StackCase>& info) { return info.param.Name; });

TEST(StackPointerLine, ComparesTheUnmaskedAddress) {
  EXPECT_TRUE(IsStackPointerLine(0xFFF0, 1, 2, 0xFFF4));
  EXPECT_FALSE(IsStackPointerLine(0xFFF0, 3, 1, 0xFFF2));  // not a whole item away
  EXPECT_TRUE(IsStackPointerLine(0xFFF0, 0, 4, 0xFFF4));
  // The line shown as 0000 after FFFE stands for 0x10000.
  EXPECT_FALSE(IsStackPointerLine(0xFFFC, 1, 2, 0x0000));
}

TEST(StackLineCount, OneReadOf255BytesAtMost) {
  EXPECT_EQ(StackLineCount(9, 1), 9);
  EXPECT_EQ(StackLineCount(200, 0), 200);
  EXPECT_EQ(StackLineCount(200, 1), 127);
  EXPECT_EQ(StackLineCount(200, 2), 85);
  EXPECT_EQ(StackLineCount(200, 3), 63);
  EXPECT_EQ(StackLineCount(-1, 3), 0);
}

}  // namespace
