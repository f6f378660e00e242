#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "EngineFixture.h"
#include "PackedValue.h"
#include "Protocol.h"
#include "Tgtz80.h"

namespace {

using ProtocolTargetTest = EngineFixture;

TEST_F(ProtocolTargetTest, RegistersAreReadOnlyWhileTheImageIsInvalid) {
  TheCpu->SetRegister(3, 0x1A2B);
  TheProtocol->WriteRegisters();
  EXPECT_FALSE(TheCpu->GetRegistersValid());

  TheProtocol->ReadRegisters();
  EXPECT_TRUE(TheCpu->GetRegistersValid());
  EXPECT_EQ(Value(TheCpu->GetRegisterImage()->HL), 0x1A2B);

  // A second read keeps the image as it stands.
  TheCpu->SetRegister(3, 0x5555);
  TheProtocol->ReadRegisters();
  EXPECT_EQ(Value(TheCpu->GetRegisterImage()->HL), 0x5555);

  TheProtocol->InvalidateCache();
  TheProtocol->ReadRegisters();
  EXPECT_EQ(Value(TheCpu->GetRegisterImage()->HL), 0x1A2B);
}

TEST_F(ProtocolTargetTest, WrittenRegistersComeBackUnchanged) {
  const uint32_t values[14] = {0x1234, 0x2345, 0x3456, 0x4567, 0x5678, 0x6789, 0x789A,
                               0x89AB, 0x9ABC, 0xABCD, 0x12,   0xBCDE, 0xCDEF, 0x34};
  for (uint16_t n = 0; n < 14; ++n) ASSERT_EQ(TheCpu->SetRegister(n, values[n]), 0);
  TRegisterImage written = *TheCpu->GetRegisterImage();
  TheProtocol->WriteRegisters();
  // The image stays in host order after the write.
  EXPECT_EQ(std::memcmp(TheCpu->GetRegisterImage(), &written, sizeof written), 0);

  std::memset(TheCpu->GetRegisterImage(), 0, sizeof written);
  TheProtocol->ReadRegisters();
  EXPECT_EQ(std::memcmp(TheCpu->GetRegisterImage(), &written, sizeof written), 0);
}

TEST_F(ProtocolTargetTest, EveryWriteDropsTheRegisterImage) {
  static const uint8_t byte[] = {1};
  for (auto write : {+[] { TheProtocol->WriteMemory(0, 0, 1, byte); },
                     +[] { TheProtocol->FillBlock(0, 0, 1, 1, byte); },
                     +[] { TheProtocol->CopyBlock(0, 0, 0, 1, 1); },
                     +[] { TheProtocol->ResetState(); }}) {
    TheProtocol->ReadRegisters();
    write();
    EXPECT_FALSE(TheCpu->GetRegistersValid());
  }
}

TEST_F(ProtocolTargetTest, CapabilitiesReportEveryFeatureAbsent) {
  TCapabilities* caps = nullptr;
  EXPECT_EQ(TheProtocol->GetCapabilities(caps), STATUS_OK);
  ASSERT_NE(caps, nullptr);
  EXPECT_EQ(caps->Valid, 1);
  EXPECT_EQ(Value(caps->Reserved), 0);
  EXPECT_EQ(Value(caps->HwLinesOffset), NO_TABLE);
  EXPECT_EQ(Value(caps->CpuSettingsOffset), NO_TABLE);
  EXPECT_EQ(Value(caps->TraceOffset), NO_TABLE);
  EXPECT_EQ(Value(caps->AreasOffset), NO_TABLE);

  // A filled record is handed out as it stands until it is reset.
  caps->AreasOffset = 0;
  TCapabilities* again = nullptr;
  TheProtocol->GetCapabilities(again);
  EXPECT_EQ(again, caps);
  EXPECT_EQ(Value(again->AreasOffset), 0);
  TheProtocol->ResetCapabilities();
  TheProtocol->GetCapabilities(again);
  EXPECT_EQ(Value(again->AreasOffset), NO_TABLE);
}

TEST_F(ProtocolTargetTest, FirmwareVersionIsFourZeroZero) {
  char version[4] = "###";
  EXPECT_EQ(TheProtocol->GetFirmwareVersion(version), STATUS_OK);
  EXPECT_STREQ(version, "400");
}

TEST_F(ProtocolTargetTest, RunCommandsSucceedWithoutMoving) {
  uint32_t pc = 0x1234;
  EXPECT_EQ(TheProtocol->Reset(pc), STATUS_OK);
  EXPECT_EQ(TheProtocol->Go(pc, 1), STATUS_OK);
  EXPECT_EQ(TheProtocol->Step(pc), STATUS_OK);
  EXPECT_EQ(TheProtocol->GoTo(pc), STATUS_OK);
  EXPECT_EQ(pc, 0x1234u);
  EXPECT_EQ(TheProtocol->Poll(1), STATUS_OK);
}

TEST_F(ProtocolTargetTest, WarningsAreEmptyAndKeepTheCallersAction) {
  char text[1024];
  std::memset(text, 'x', sizeof text);
  uint8_t action = 0x77;
  EXPECT_EQ(TheProtocol->GetWarning(3, action, text, sizeof text), STATUS_OK);
  EXPECT_EQ(action, 0x77);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(TheProtocol->GetLogCount(), 0);
}

TEST(EngineHolderTest, PointersKeepTheirValuesAfterTheHolderIsGone) {
  auto holder = std::make_unique<TConfiguration>();
  TCpu* cpu = TheCpu;
  TProtocol* protocol = TheProtocol;
  TSymbols* symbols = TheSymbols;
  TDebug* debug = TheDebug;
  ASSERT_NE(cpu, nullptr);
  ASSERT_NE(protocol, nullptr);
  ASSERT_NE(symbols, nullptr);
  ASSERT_NE(debug, nullptr);
  holder.reset();
  EXPECT_EQ(TheCpu, cpu);
  EXPECT_EQ(TheProtocol, protocol);
  EXPECT_EQ(TheSymbols, symbols);
  EXPECT_EQ(TheDebug, debug);
}

}  // namespace
