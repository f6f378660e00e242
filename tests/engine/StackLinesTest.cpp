#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineFixture.h"
#include "StackLines.h"

namespace {

// The data modes, the wrap at the top of a 16-bit area and the read limit are
// checked on the stack view's grid; here the address columns.
class StackLines : public EngineFixture {};

TEST_F(StackLines, AddressColumnsFollowTheAreaAndTheAddressMode) {
  const uint8_t data[4] = {0x10, 0x11, 0x12, 0x13};
  EXPECT_EQ(MakeStackLines(0x41, 0x1FFFE, 2, 1, data, 2), std::vector<std::string>({"01FFFE 1110", "020000 1312"}));
  EXPECT_EQ(MakeStackLines(1, 0x1FFFE, 1, 1, data, 2), std::vector<std::string>({"FFFE 1110", "0000 1312"}));
  EXPECT_EQ(MakeStackLine(1, 0x1234, 0, 0, data), "1234 10");
  EXPECT_EQ(MakeStackLine(0x80, 0xABC, 3, 3, data), "00000ABC 13121110");
}

}  // namespace
