#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "Configuration.h"
#include "EngineFixture.h"
#include "Protocol.h"
#include "ScriptedProtocol.h"
#include "TargetDialogLines.h"
#include "TargetTables.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {

class TargetTables : public EngineFixture {
 protected:
  void SetUp() override {
    ProtocolScript() = {};
    EngineFixture::SetUp();
  }
  static std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
  const TCapabilities& Capabilities() {
    TheProtocol->ResetCapabilities();
    TCapabilities* capabilities = nullptr;
    TheProtocol->GetCapabilities(capabilities);
    return *capabilities;
  }
};

TEST_F(TargetTables, HardwareLinesByName) {
  const std::string longName(100, 'N');
  ProtocolScript().HwLines = Bytes(std::string("\x05\x00~RESET\0\x03\x05" "CLK\0\x00\x09", 16) + longName +
                                   std::string("\0\x01\x00\0", 4));
  const THwLineTable table = ReadHwLineTable(Capabilities());
  EXPECT_EQ(table.Count, 5);
  ASSERT_EQ(table.Lines.size(), 3u);
  EXPECT_EQ(table.Lines[0].Name, "RESET");
  EXPECT_EQ(table.Lines[2].Name, std::string(79, 'N'));

  std::array<uint8_t, 256> bitmap{};
  EXPECT_FALSE(LineIsSet(table.Lines[0], bitmap.data()));
  bitmap[3] = 0x20;
  EXPECT_TRUE(LineIsSet(table.Lines[0], bitmap.data()));
  bitmap[3] = 0xDF;
  EXPECT_FALSE(LineIsSet(table.Lines[0], bitmap.data()));
  std::array<uint8_t, 256> out{};
  SetLine(table.Lines[0], out.data());
  SetLine(table.Lines[1], out.data());  // bit 9 names no bit
  EXPECT_EQ(out[3], 0x20);
  EXPECT_EQ(out[0], 0);
}

TEST_F(TargetTables, CpuSettingsShowAndChangeTheirBytes) {
  ProtocolScript().CpuSettings = Bytes(std::string(
      "\x04"
      "\x01Note\0"
      "\x02\x0C\x00" "A\0xx" "B\0xx" "~C~\0xx" "\0"
      "\x03" "Clock\0\x01\x02"
      "\x07"
      "\x02\x00\x09" "Z\0xx\0"
      "\x02\x00\x03" "Y\0xx" "Z\0xx\0"
      "\x03" "Wide\0\xFF\x02"
      "\x00",
      63));
  const TCpuSettingTable table = ReadCpuSettingTable(Capabilities());
  EXPECT_EQ(table.ValueCount, 4);
  ASSERT_EQ(table.Settings.size(), 5u);
  const TCpuSetting& choice = table.Settings[0];
  const TCpuSetting& clock = table.Settings[1];
  const TCpuSetting& outside = table.Settings[2];  // mask 0, value byte 9 of 4
  const TCpuSetting& noBits = table.Settings[3];   // mask 0, value byte 3
  const TCpuSetting& wide = table.Settings[4];     // value bytes 255 and 256 of 4

  std::vector<uint8_t> values = {0x08 | 0x81, 0x12, 0x34, 0};
  EXPECT_EQ(ChoiceOf(choice, values), 2);
  EXPECT_EQ(SettingText(choice, values), "C");
  SetChoice(choice, 1, values);
  EXPECT_EQ(values[0], 0x04 | 0x81);
  values[0] = 0x0C;
  EXPECT_EQ(SettingText(choice, values), "");  // past the last option

  EXPECT_EQ(SettingText(clock, values), "Clock" + std::string(27, '.') + "1234h");
  EXPECT_EQ(NumberAnswer(clock, values), "01234h");
  EXPECT_TRUE(SetNumber(clock, "5678h", values));
  EXPECT_EQ(values, (std::vector<uint8_t>{0x0C, 0x56, 0x78, 0}));
  EXPECT_FALSE(SetNumber(clock, "(", values));
  EXPECT_EQ(values[1], 0x56);

  EXPECT_EQ(ChoiceOf(outside, values), 0);
  SetChoice(outside, 1, values);
  SetChoice(noBits, 1, values);
  EXPECT_EQ(values, (std::vector<uint8_t>{0x0C, 0x56, 0x78, 0}));
  EXPECT_EQ(SettingText(wide, values), "Wide" + std::string(28, '.') + "0000h");
}

TEST_F(TargetTables, TablesThatRunPastTheRecordEndThere) {
  std::vector<uint8_t> lines = {1, 0};
  while (lines.size() < 1100) lines.push_back('L');
  ProtocolScript().HwLines = lines;
  EXPECT_TRUE(ReadHwLineTable(Capabilities()).Lines.empty());
  std::vector<uint8_t> settings = {2};
  while (settings.size() < 1100) settings.insert(settings.end(), {2, 1, 0, 'O', 0, 0, 0});
  ProtocolScript().HwLines.clear();
  ProtocolScript().CpuSettings = settings;
  EXPECT_TRUE(ReadCpuSettingTable(Capabilities()).Settings.empty());
}

struct MapCase {
  uint8_t AddressBits;
  std::vector<TMemoryMapRun> Runs;
  std::vector<std::string> Rows;
};

TEST_F(TargetTables, MapRowsEndWithTheAreaOrABadRun) {
  const MapCase cases[] = {
      {16, {{0, 0xFFFF, 0}}, {"From 00000000h to 0000FFFFh as ROM"}},
      {16, {{0, 0x7FFF, 0}, {0x8000, 0xFFFF, 2}}, {"From 00000000h to 00007FFFh as ROM", "From 00008000h to 0000FFFFh as RAM"}},
      {40, {{0, 0xFFFFFFFF, 2}}, {"From 00000000h to FFFFFFFFh as RAM"}},
      {16, {{0, 0x00FF, 0}, {0x0100, 0x0050, 0}}, {"From 00000000h to 000000FFh as ROM", "From 00000100h to 00000050h as ROM"}},
      {16, {{0, 0x0FFF, 0}}, {"From 00000000h to 00000FFFh as ROM", "From 00001000h to 0000FFFFh as ROM"}},
  };
  for (const MapCase& c : cases) {
    const char areas[] = "\x00\x00" "&Code|program\0ROM\0RAM\0\x00\x01";
    ProtocolScript().Areas.assign(areas, areas + sizeof areas);
    ProtocolScript().Areas[0] = c.AddressBits;
    ProtocolScript().MemoryMap = c.Runs;
    Capabilities();
    TAreaDescriptor descriptor{};
    ASSERT_EQ(GetAreaDescriptor(0, 1, descriptor), 1);
    EXPECT_EQ(MapCaption(descriptor), "Edit code map");
    const TMapArea area(descriptor);
    std::vector<std::string> rows;
    for (const TMapRun& run : ReadMapRuns(area)) rows.push_back(MapRow(area, run));
    EXPECT_EQ(rows, c.Rows) << int{c.AddressBits};
  }
}

TEST_F(TargetTables, MapRowsWithoutNamesShowTheBits) {
  const char areas[] = "\x10\x00" "A long name of thirty-nine characters!!\0\0RAM\0\x00\x06";
  ProtocolScript().Areas.assign(areas, areas + sizeof areas);
  Capabilities();
  TAreaDescriptor descriptor{};
  ASSERT_EQ(GetAreaDescriptor(0, 1, descriptor), 1);
  EXPECT_EQ(MapCaption(descriptor), "Edit a long name of thirty-nine characters!! map");
  const TMapArea area(descriptor);
  EXPECT_EQ(MapRow(area, {0, 0xFF, 0x41}), "From 00000000h to 000000FFh as .X......");
  EXPECT_EQ(MapRow(area, {0, 0xFF, 0x01}), "From 00000000h to 000000FFh as ._......");
}

// Address mode 1 shows through the read dialog; the wider and unknown modes here.
TEST_F(TargetTables, ReadLinesFollowTheAddressMode) {
  TheCpu->AddrMode = 3;
  EXPECT_EQ(TargetReadLine(1, 0x100, 0, 0), "@CODE:00000100 = 00");
  TheCpu->AddrMode = 7;
  EXPECT_EQ(TargetReadLine(2, 0x100, 0, 0), "@DATA: = 00");
}

}  // namespace
