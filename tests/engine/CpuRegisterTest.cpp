#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "EngineFixture.h"
#include "PackedValue.h"
#include "Protocol.h"
#include "Tgtz80.h"

namespace {

class CpuRegisterTest : public EngineFixture {
 protected:
  // Makes the target hold the values while the previous image holds zeros,
  // as after a run that changed them.
  void TargetChanges(const std::array<uint32_t, 14>& values) {
    TheProtocol->ReadRegisters();
    for (uint16_t n = 0; n < 14; ++n) TheCpu->SetRegister(n, values[n]);
    TheProtocol->WriteRegisters();
    for (uint16_t n = 0; n < 14; ++n) TheCpu->SetRegister(n, 0);
  }
  std::string RegisterLine(uint16_t n) {
    std::string line;
    TheCpu->GetRegisterLine(n, line);
    return line;
  }
  std::string FlagLine(uint16_t n) {
    std::string line;
    TheCpu->GetFlagLine(n, line);
    return line;
  }
};

TEST_F(CpuRegisterTest, RegisterLinesMarkWhatChanged) {
  TargetChanges({0x00C1, 0x1234, 0, 0x1A2B, 0xFFFF, 0, 0, 0x0001, 0xABCD, 0, 0x5F, 0xFFFE, 0x8000, 0x07});
  const char* expected[] = {
      "2AF      00C1", "2BC      1234", "1DE      0000", "2HL      1A2B", "2AF'     FFFF",
      "1BC'     0000", "1DE'     0000", "2HL'     0001", "2IX      ABCD", "1IY      0000",
      "2I         5F", "2SP      FFFE", "2PC      8000", "2BANK      07",
  };
  for (uint16_t n = 0; n < 14; ++n) {
    EXPECT_EQ(RegisterLine(n), expected[n]) << n;
    EXPECT_EQ(RegisterLine(n).size(), 13u);
  }
  EXPECT_EQ(RegisterLine(14), "");
  EXPECT_EQ(RegisterLine(0xFFFF), "");

  // Once read again without a change every marker is back to 1.
  TheProtocol->InvalidateCache();
  EXPECT_EQ(RegisterLine(3), "1HL      1A2B");
}

TEST_F(CpuRegisterTest, FlagLinesMarkOnlyTheBitsThatChanged) {
  TargetChanges({0x0080, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // S only
  EXPECT_EQ(FlagLine(0), "1C   0");
  EXPECT_EQ(FlagLine(7), "2S   1");

  TargetChanges({0x0081, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // C as well
  EXPECT_EQ(FlagLine(0), "2C   1");

  const char* labels[] = {"C   ", "N   ", "P   ", "U2  ", "H   ", "U1  ", "Z   ", "S   "};
  for (uint16_t n = 0; n < 8; ++n) EXPECT_EQ(FlagLine(n).substr(1, 4), labels[n]);
  EXPECT_EQ(FlagLine(8), "1    ");
}

TEST_F(CpuRegisterTest, SetRegisterCutsToSixteenBitsAndGuardsTheByteRegisters) {
  struct Case {
    uint16_t N;
    uint32_t Value;
    uint16_t Result;
    uint32_t Stored;  // as GetRegister reads it back by view index
  };
  const Case cases[] = {
      {0, 0x12345, 0, 0x2345},  {10, 0x100, 1, 0x00},   {10, 0xFF, 0, 0xFF},
      {10, 0x10005, 0, 0x05},   {13, 0x1FF, 1, 0x00},   {13, 0x80, 0, 0x80},
      {12, 0xFFFF, 0, 0xFFFF},  {11, 0xFFFF0001, 0, 0x0001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.N);
    TheCpu->SetRegister(c.N, 0);
    EXPECT_EQ(TheCpu->SetRegister(c.N, c.Value), c.Result);
    uint8_t out[4] = {};
    TheCpu->GetRegister(c.N, 4, out);
    EXPECT_EQ(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24, c.Stored);
  }
  TRegisterImage before = *TheCpu->GetRegisterImage();
  EXPECT_EQ(TheCpu->SetRegister(14, 0x1234), 0);
  EXPECT_EQ(std::memcmp(&before, TheCpu->GetRegisterImage(), sizeof before), 0);
}

TEST_F(CpuRegisterTest, ToggleFlagChangesOnlyBitsOfF) {
  TheCpu->SetRegister(0, 0x5500);
  EXPECT_EQ(TheCpu->ToggleFlag(6), 0);
  EXPECT_EQ(Value(TheCpu->GetRegisterImage()->AF), 0x5540);
  TheCpu->ToggleFlag(6);
  EXPECT_EQ(Value(TheCpu->GetRegisterImage()->AF), 0x5500);
  for (uint16_t n : {8, 15, 16, 0xFFFF}) {
    EXPECT_EQ(TheCpu->ToggleFlag(n), 0);
    EXPECT_EQ(Value(TheCpu->GetRegisterImage()->AF), 0x5500) << n;
  }
}

TEST_F(CpuRegisterTest, GetRegisterByViewIndexAndByDebugNumber) {
  const std::array<uint32_t, 14> values = {0xA1F1, 0xB2C2, 0xD3E3, 0x4856, 0xA7F7, 0xB8C8, 0xD9E9,
                                           0x4A5A, 0x1B2B, 0x3C4D, 0x5E,   0x6F70, 0x8192, 0xA3};
  for (uint16_t n = 0; n < 14; ++n) TheCpu->SetRegister(n, values[n]);
  struct Case {
    uint32_t Code;
    uint32_t Value;
  };
  const Case cases[] = {
      // View index.
      {0, 0xA1F1}, {3, 0x4856}, {4, 0xA7F7}, {10, 0x5E}, {11, 0x6F70}, {12, 0x8192}, {13, 0xA3}, {14, 0},
      {0x200, 0},
      // Debug numbers.
      {0x101, 0xB2}, {0x102, 0xC2}, {0x103, 0xD3}, {0x104, 0xE3}, {0x105, 0x48}, {0x106, 0x56},
      {0x107, 0xA1}, {0x108, 0xF1}, {0x10A, 0xB2C2}, {0x10B, 0xD3E3}, {0x10C, 0x4856}, {0x10D, 0xB8},
      {0x10E, 0xC8}, {0x10F, 0xD9}, {0x110, 0xE9}, {0x111, 0x4A}, {0x112, 0x5A}, {0x113, 0xA7},
      {0x114, 0xF7}, {0x115, 0xA7F7}, {0x116, 0xB8C8}, {0x117, 0xD9E9}, {0x118, 0x4A5A}, {0x119, 0x5E},
      {0x11B, 0x1B2B}, {0x11C, 0x3C4D}, {0x123, 0x1B}, {0x124, 0x2B}, {0x125, 0x3C}, {0x126, 0x4D},
      // Numbers without a register (SP and PC have none).
      {0x100, 0}, {0x109, 0}, {0x11A, 0}, {0x11D, 0}, {0x122, 0}, {0x127, 0}, {0x1FF, 0},
  };
  for (const Case& c : cases) {
    uint8_t out[5] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    TheCpu->GetRegister(c.Code, 9, out);  // a size above 3 counts as 4
    EXPECT_EQ(static_cast<uint32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24), c.Value)
        << std::hex << c.Code;
    EXPECT_EQ(out[4], 0xEE);
  }
}

TEST_F(CpuRegisterTest, GetRegisterWritesOnlyTheBytesAskedFor) {
  TheCpu->SetRegister(0, 0x1234);
  TheCpu->SetRegister(13, 0x56);
  uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  TheCpu->GetRegister(0x107, 1, out);
  EXPECT_EQ(out[0], 0x12);
  EXPECT_EQ(out[1], 0xEE);
  TheCpu->GetRegister(13, 2, out);
  EXPECT_EQ(out[0], 0x56);
  EXPECT_EQ(out[1], 0x00);
  EXPECT_EQ(out[2], 0xEE);
  TheCpu->GetRegister(0, 3, out);
  EXPECT_EQ(out[0], 0x34);
  EXPECT_EQ(out[1], 0x12);
  EXPECT_EQ(out[2], 0x00);
  EXPECT_EQ(out[3], 0xEE);
  out[0] = 0xEE;
  TheCpu->GetRegister(0, 0, out);
  EXPECT_EQ(out[0], 0xEE);
}

TEST_F(CpuRegisterTest, SwapExchangesTheBytesOfEveryWordOnly) {
  TRegisterImage& r = *TheCpu->GetRegisterImage();
  for (uint16_t n = 0; n < 14; ++n) TheCpu->SetRegister(n, n == 10 || n == 13 ? 0x12 : 0x1200 + n);
  TheCpu->SwapRegisterImage();
  EXPECT_EQ(Value(r.AF), 0x0012);
  EXPECT_EQ(Value(r.HL_), 0x0712);
  EXPECT_EQ(Value(r.SP), 0x0B12);
  EXPECT_EQ(Value(r.PC), 0x0C12);
  EXPECT_EQ(r.I, 0x12);
  EXPECT_EQ(r.BANK, 0x12);
}

TEST_F(CpuRegisterTest, PcAndSpComeFromTheTarget) {
  TheCpu->SetRegister(11, 0xFFF0);
  TheCpu->SetPC(0x4000);
  TheProtocol->WriteRegisters();
  TheCpu->SetPC(0);
  EXPECT_EQ(TheCpu->GetPC(), 0x4000);
  EXPECT_EQ(TheCpu->GetSP(), 0xFFF0);
  EXPECT_EQ(TheCpu->GetStackArea(), 2);
}

}  // namespace
