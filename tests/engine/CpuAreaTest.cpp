#include <gtest/gtest.h>

#include <string>

#include "EngineFixture.h"
#include "Protocol.h"
#include "Tgtz80.h"

namespace {

class CpuAreaTest : public EngineFixture {
 protected:
  void TearDown() override {
    BankMode = 0xFF;
    BankWindowLow = BankWindowHigh = BankSize = 0;
    EngineFixture::TearDown();
  }
  void BankWindow(uint32_t low, uint32_t high, uint32_t size) {
    BankMode = 0;
    BankWindowLow = low;
    BankWindowHigh = high;
    BankSize = size;
  }
};

TEST_F(CpuAreaTest, AreaNamesTakeTheAreaBitsOnly) {
  struct Case {
    uint16_t Area;
    const char* Name;
  };
  const Case cases[] = {
      {0, "UNTP"},  {1, "CODE"},  {2, "DATA"}, {8, "IO"}, {9, "AUTO"}, {11, "CODE"}, {12, ""},
      {0x1F, ""},   {0x41, "CODE"}, {0x81, "CODE"}, {0xC2, "DATA"}, {0x128, "IO"},
  };
  for (const Case& c : cases) {
    std::string name = "stale";
    TheCpu->GetAreaName(c.Area, name);
    EXPECT_EQ(name, c.Name) << c.Area;
  }
}

TEST_F(CpuAreaTest, MaskKeepsTwentyFourBitsForBankedAndProgramAreas) {
  struct Case {
    uint16_t Area;
    uint32_t Address;
    uint32_t Masked;
  };
  const Case cases[] = {
      {0x81, 0x12345678, 0x345678}, {0x41, 0xFF123456, 0x123456}, {0xC0, 0xFFFFFFFF, 0xFFFFFF},
      {2, 0x12345678, 0x5678},      {0x3F, 0x1FFFF, 0xFFFF},      {0x100, 0x10000, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(TheCpu->MaskAddress(c.Area, c.Address), c.Masked) << c.Area;
}

TEST_F(CpuAreaTest, LinearAddressWithBankingOffIsTheAddress) {
  for (uint32_t a : {0u, 0x8000u, 0x39000u, 0xFFFFFFFFu}) EXPECT_EQ(TheCpu->LinearAddress(a), a);
}

TEST_F(CpuAreaTest, LinearAddressMapsTheBankedWindow) {
  BankWindow(0x8000, 0xBFFF, 0x4000);
  EXPECT_EQ(TheCpu->LinearAddress(0x39000), 0x9000u + 3 * 0x4000);
  EXPECT_EQ(TheCpu->LinearAddress(0x3BFFF), 0xBFFFu + 3 * 0x4000);
  EXPECT_EQ(TheCpu->LinearAddress(0x37FFF), 0x37FFFu);  // below the window: bank bits stay
  EXPECT_EQ(TheCpu->LinearAddress(0x3C000), 0x3C000u);
}

TEST_F(CpuAreaTest, CurrentBankAddressAddsTheBankRegister) {
  TheCpu->SetRegister(13, 5);
  TheProtocol->WriteRegisters();
  EXPECT_EQ(TheCpu->CurrentBankAddress(0, 0x19000), 0x9000u);  // banking off: masked only
  BankWindow(0x8000, 0xBFFF, 0x4000);
  EXPECT_EQ(TheCpu->CurrentBankAddress(0, 0x19000), 0x59000u);
  EXPECT_EQ(TheCpu->CurrentBankAddress(0, 0x7000), 0x7000u);
  EXPECT_EQ(TheCpu->CurrentBankAddress(0x81, 0x19000), 0x19000u);  // 24 bits: above the window
}

TEST_F(CpuAreaTest, PointerTypeNamesAppend) {
  std::string text = "x ";
  EXPECT_EQ(TheCpu->GetPointerTypeName(23, text), 14);
  EXPECT_EQ(TheCpu->GetPointerTypeName(31, text), 14);
  EXPECT_EQ(TheCpu->GetPointerTypeName(0, text), 14);
  EXPECT_EQ(text, "x DATA Pointer 16 bits CODE Pointer 16/24 bits Unimplemented type ");
}

TEST_F(CpuAreaTest, ConstructionDescribesAZ80) {
  EXPECT_EQ(TheCpu->CpuName, "Z80");
  EXPECT_EQ(TheCpu->MaxInstrSize, 4);
  EXPECT_EQ(TheCpu->RegsCount, 14u);
  EXPECT_EQ(TheCpu->FlagsCount, 8u);
  EXPECT_EQ(TheCpu->SRegsCount, 0u);
  EXPECT_EQ(TheCpu->GetRegisterImageSize(), 26);
}

}  // namespace
