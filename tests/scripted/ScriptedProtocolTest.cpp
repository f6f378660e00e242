#include "ScriptedProtocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "EngineFixture.h"
#include "PackedValue.h"
#include "MessageBoxRecorder.h"
#include "TickCount.h"

namespace {

class ScriptedProtocolTest : public EngineFixture {
 protected:
  void SetUp() override {
    ProtocolScript() = {};
    EngineFixture::SetUp();
  }
};

TEST_F(ScriptedProtocolTest, RunCommandsStopWhereTheScriptSays) {
  ProtocolScript().Stops = {0x0103, 0x0105};
  TheProtocol->ReadRegisters();
  uint32_t pc = 0;
  TheProtocol->Step(pc);
  EXPECT_EQ(pc, 0x0103u);
  EXPECT_EQ(TheCpu->GetPC(), 0x0103);
  std::string line;
  TheCpu->GetRegisterLine(12, line);
  EXPECT_EQ(line, "2PC      0103");

  TheProtocol->Go(pc, 1);
  EXPECT_EQ(TheCpu->GetPC(), 0x0105);
  uint32_t to = 0x2000;
  TheProtocol->GoTo(to);
  EXPECT_EQ(to, 0x2000u);
  EXPECT_EQ(TheCpu->GetPC(), 0x2000);
  TheProtocol->Step(pc);
  EXPECT_EQ(pc, 0x0105u);
  EXPECT_EQ(ProtocolScript().RunCalls, (std::vector<std::string>{"Step", "Go", "GoTo 2000", "Step"}));
}

TEST_F(ScriptedProtocolTest, PollAnswersInTurnThenSucceeds) {
  ProtocolScript().PollResults = {1, 2};
  EXPECT_EQ(TheProtocol->Poll(1), 1);
  EXPECT_EQ(TheProtocol->Poll(1), 2);
  EXPECT_EQ(TheProtocol->Poll(1), STATUS_OK);
  EXPECT_EQ(ProtocolScript().PollCount, 3);
}

TEST_F(ScriptedProtocolTest, CapabilityTablesFollowEachOther) {
  ProtocolScript().HwLines = {1, 0, 'R', 0, 3, 4, 0};
  ProtocolScript().Areas = {0, 0, 'A', 0, 0, 0, 1, 2, 0};
  TCapabilities* caps = nullptr;
  TheProtocol->GetCapabilities(caps);
  EXPECT_EQ(Value(caps->HwLinesOffset), 0);
  EXPECT_EQ(Value(caps->CpuSettingsOffset), NO_TABLE);
  EXPECT_EQ(Value(caps->TraceOffset), NO_TABLE);
  EXPECT_EQ(Value(caps->AreasOffset), 7);
  EXPECT_EQ(caps->Data[9], 'A');
  TheProtocol->GetCapabilities(caps);
  EXPECT_EQ(ProtocolScript().CapabilityFills, 1);
}

TEST_F(ScriptedProtocolTest, EventsTraceFramesAndMapComeFromTheScript) {
  ProtocolScript().Events[7] = {EVENT_STOPPED, "Target stopped"};
  char text[8];
  uint8_t action = 0;
  TheProtocol->GetWarning(7, action, text, sizeof text);
  EXPECT_EQ(action, EVENT_STOPPED);
  EXPECT_STREQ(text, "Target ");

  TTraceFrame frame{};
  frame.Address = 0x1234;
  ProtocolScript().TraceFrames = {frame};
  TTraceFrame out{};
  out.Data = 0x99;
  TheProtocol->ReadTraceFrame(0, out);
  EXPECT_EQ(Value(out.Address), 0x1234u);
  out.Address = 0;
  TheProtocol->ReadTraceFrame(1, out);
  EXPECT_EQ(Value(out.Address), 0u);

  ProtocolScript().MemoryMap = {{0, 0x7FFF, 1}, {0x8000, 0xFFFF, 2}};
  uint32_t to = 0;
  uint8_t setting = 0;
  TheProtocol->ReadMemoryMap(0x9000, 0xFF, to, setting);
  EXPECT_EQ(to, 0xFFFFu);
  EXPECT_EQ(setting, 2);
}

TEST_F(ScriptedProtocolTest, MessageBoxRecorderAnswersAndRestores) {
  {
    TMessageBoxRecorder outer(IDNO);
    {
      TMessageBoxRecorder inner;
      inner.Answers = {IDYES};
      EXPECT_EQ(MessageBox("first", "WARNING", MB_YESNO | MB_ICONWARNING), IDYES);
      EXPECT_EQ(MessageBox("second", "Error", MB_OK | MB_ICONSTOP), IDOK);
      ASSERT_EQ(inner.Messages.size(), 2u);
      EXPECT_EQ(inner.Messages[0].Caption, "WARNING");
      EXPECT_EQ(inner.Messages[1].Flags, unsigned{MB_OK | MB_ICONSTOP});
    }
    EXPECT_EQ(MessageBox("third", "ERROR", MB_OK), IDNO);
    ASSERT_EQ(outer.Messages.size(), 1u);
    EXPECT_EQ(outer.Messages[0].Text, "third");
  }
}

}  // namespace

namespace {

class ScriptedSeams : public ScriptedProtocolTest {};

TEST_F(ScriptedSeams, StopsCarryRegistersAndStepsMoveTheClock) {
  UseTestClock(true, 1000);
  ProtocolScript().TicksPerStep = 600;
  ProtocolScript().Stops = {{0x0200, {{"SP", 0xFFF0}, {"HL", 0x1234}, {"I", 0x3F}}}};
  uint32_t pc = 0;
  TheProtocol->Step(pc);
  TheProtocol->ReadRegisters();
  EXPECT_EQ(TheCpu->GetPC(), 0x0200);
  EXPECT_EQ(TheCpu->GetSP(), 0xFFF0);
  std::string line;
  TheCpu->GetRegisterLine(3, line);
  EXPECT_EQ(line, "2HL      1234");
  EXPECT_EQ(GetTickCount(), 1600u);
  UseTestClock(false);

  ProtocolScript().Stops = {{0x0300, {{"XY", 1}}}};
  EXPECT_THROW(TheProtocol->Go(pc, 1), std::out_of_range);
}

TEST_F(ScriptedSeams, TransfersMonitorAndTraceAreRecorded) {
  uint8_t bytes[4] = {1, 2, 3, 4};
  TheProtocol->WriteMemory(1, 0x8000, 4, bytes);
  TheProtocol->ReadMemoryWrapped(0, 0xFFFE, 4, bytes);
  TheProtocol->WriteMemoryHex(2, 0x10, 1, "AB");
  TheProtocol->CopyBlock(0, 0x8000, 3, 0x9000, 300);
  struct TExpected {
    TTransferKind Kind;
    uint8_t Area;
    uint32_t Address, Count;
  };
  const TExpected expected[] = {{TTransferKind::Write, 1, 0x8000, 4},
                                {TTransferKind::Read, 0, 0xFFFE, 4},
                                {TTransferKind::WriteHex, 2, 0x10, 1},
                                {TTransferKind::Copy, 3, 0x9000, 300}};
  ASSERT_EQ(ProtocolScript().Transfers.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const TMemoryTransfer& t = ProtocolScript().Transfers[i];
    EXPECT_EQ(t.Kind, expected[i].Kind) << i;
    EXPECT_EQ(t.Area, expected[i].Area) << i;
    EXPECT_EQ(t.Address, expected[i].Address) << i;
    EXPECT_EQ(t.Count, expected[i].Count) << i;
  }

  ProtocolScript().RefusedMonitorBlock = 1;
  EXPECT_EQ(TheProtocol->WriteMonitor(0x100, 2, bytes), STATUS_OK);
  EXPECT_NE(TheProtocol->WriteMonitor(0x102, 2, bytes), STATUS_OK);
  EXPECT_EQ(ProtocolScript().MonitorBlocks.size(), 2u);

  ProtocolScript().TraceConfig = {0, 5, 0, 9, 0, 0x10, 0x10, 0, 1, 0};
  uint8_t command[5] = {0, 7, 3, 1, 0xFF};
  TheProtocol->TransferTraceConfig(1, 5, command);
  uint8_t record[10] = {};
  TheProtocol->TransferTraceConfig(0, 10, record);
  EXPECT_EQ(record[3], 9);
  ASSERT_EQ(ProtocolScript().TraceCommands.size(), 1u);
  EXPECT_EQ(ProtocolScript().TraceCommands[0], (std::vector<uint8_t>{0, 7, 3, 1, 0xFF}));

  TTraceFrame a{}, b{};
  a.Address = 0xA;
  b.Address = 0xB;
  ProtocolScript().TraceFrames = {a, b};
  ProtocolScript().EndlessTraceFrames = true;
  TTraceFrame out{};
  TheProtocol->ReadTraceFrame(70001, out);
  EXPECT_EQ(Value(out.Address), 0xBu);
  TheProtocol->ReadTraceFrame(-4, out);
  EXPECT_EQ(Value(out.Address), 0xAu);
}

}  // namespace
