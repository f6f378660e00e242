// Source-level stepping on the scripted target: which run commands reach the
// target, and which temporary breakpoints are armed, for each stepping rule.
#include "SourceStepper.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "DebugTableBuilder.h"
#include "EngineFixture.h"
#include "MessageBoxRecorder.h"
#include "ScriptedProtocol.h"
#include "SourceGutter.h"
#include "TargetPokes.h"
#include "TickCount.h"

namespace {

// One module: f from 0100h (lines 10 to 14), main from 0200h (lines 20 to 23),
// and the exit procedure at 0300h, which has no lines.
void Symbol(const char* name, uint32_t value) {
  TSymbolRecord slot{};
  slot.Kind = 1;
  slot.Attributes = 1;
  slot.Value = value;
  slot.NameLength = static_cast<uint8_t>(std::strlen(name));
  std::strcpy(slot.Name, name);
  TheSymbols->Add(&slot);
}
void Code(uint32_t address, std::vector<uint8_t> bytes) {
  TheProtocol->WriteMemory(1, address, static_cast<uint8_t>(bytes.size()), bytes.data());
}
void Kind(std::size_t entry, uint8_t kind) { TheDebug->Tables().Lines[entry].LineKind = kind; }

class SourceTablesTest : public EngineFixture {
 protected:
  void SetUp() override {
    UseTestClock(true, 5000);
    ProtocolScript() = {};
    EngineFixture::SetUp();
    TTableWriter tables(TheDebug->Tables());
    tables.Module("demo", "demo.c");
    tables.Scope(0, 0x100, {{0x100, 10}, {0x103, 11}, {0x106, 12}, {0x109, 13}, {0x10C, 14}});
    tables.Scope(0, 0x200, {{0x200, 20}, {0x203, 21}, {0x206, 22}, {0x209, 23}});
    Symbol("exit", 0x300);
  }
  void TearDown() override {
    EngineFixture::TearDown();
    UseTestClock(false);
  }

  // "arm 3" / "disarm 3": each WriteBreakList call with its count.
  static std::vector<std::string> BreakLists() {
    std::vector<std::string> calls;
    for (const TBreakListCall& call : ProtocolScript().BreakLists)
      calls.push_back((call.Arm ? "arm " : "disarm ") + std::to_string(call.Addresses.size()));
    return calls;
  }
};

struct TSteppingCase {
  const char* Name;
  std::function<void()> Prepare;             // after the tables, before the stepper
  std::function<bool(TSourceStepper&)> Run;  // the command
  std::vector<std::string> RunCalls;
  std::vector<std::string> BreakLists;
  std::vector<std::string> Messages;
  uint16_t PC;
  bool Posts = true;  // false: the command refused and nothing may follow it
};

class SourceSteppingTest : public SourceTablesTest, public ::testing::WithParamInterface<TSteppingCase> {};

const TSteppingCase SteppingCases[] = {
    {"after a reset, step over runs to main and steps nothing",
     [] { Symbol("main", 0x200); SetPC(0x100); },
     [](TSourceStepper& s) { s.TargetReset(); return s.StepOver(); },
     {"GoTo 200"}, {}, {}, 0x200},
    {"after a reset without a main symbol nothing runs",
     [] { SetPC(0x100); },
     [](TSourceStepper& s) { s.TargetReset(); return s.TraceInto(); },
     {}, {}, {"'main' function not found!\nCannot execute startup automatically."}, 0x100},
    {"trace into steps until the PC reaches a line",
     [] { SetPC(0x100); ProtocolScript().Stops = {0x101, 0x102, 0x103}; },
     [](TSourceStepper& s) { s.Stopped(); return s.TraceInto(); },
     {"Step", "Step", "Step"}, {}, {}, 0x103},
    {"lines of kinds 5 and 6 are no stopping points",
     [] { Kind(1, 5); Kind(2, 6); SetPC(0x100); ProtocolScript().Stops = {0x103, 0x106, 0x109}; },
     [](TSourceStepper& s) { s.Stopped(); return s.TraceInto(); },
     {"Step", "Step", "Step"}, {}, {}, 0x109},
    {"a line without kinds makes one step",
     [] { Kind(0, LINE_KIND_NONE); SetPC(0x100); ProtocolScript().Stops = {0x101}; },
     [](TSourceStepper& s) { s.Stopped(); return s.TraceInto(); },
     {"Step"}, {}, {}, 0x101},
    {"five calls into code without lines are stepped, the sixth arms the function and runs",
     [] {
       SetPC(0x103);
       Code(0x103, {0xCD, 0x00, 0x30});
       Code(0x3000, {0xCD, 0x00, 0x30});
       ProtocolScript().Stops = {0x3000, 0x3000, 0x3000, 0x3000, 0x3000, 0x106};
     },
     [](TSourceStepper& s) { s.Stopped(); return s.TraceInto(); },
     {"Step", "Step", "Step", "Step", "Step", "Go"}, {"arm 4"}, {}, 0x106},
    {"the step loop gives up after 3000 ms",
     [] { SetPC(0x100); ProtocolScript().Stops = {0x101}; ProtocolScript().TicksPerStep = 600; },
     [](TSourceStepper& s) { s.Stopped(); return s.TraceInto(); },
     {"Step", "Step", "Step", "Step", "Step", "Step"}, {}, {}, 0x101},
    {"step over arms the function's statements, runs, and disarms once the PC has left it",
     [] { SetPC(0x103); ProtocolScript().Stops = {0x203}; },
     [](TSourceStepper& s) { s.Stopped(); return s.StepOver(); },
     {"Go"}, {"arm 4", "disarm 4"}, {}, 0x203},
    {"step over on a function's last line steps out instead",
     [] { SetPC(0x10C); ProtocolScript().Stops = {0x10D, 0x206}; },
     [](TSourceStepper& s) { s.Stopped(); return s.StepOver(); },
     {"Step", "Step"}, {}, {}, 0x206},
    {"step over after a kind 9 entry of the same line steps on",
     [] { Kind(2, 9); TheDebug->Tables().Lines[2].Line = 11; SetPC(0x103); ProtocolScript().Stops = {0x106, 0x109}; },
     [](TSourceStepper& s) { s.Stopped(); return s.StepOver(); },
     {"Go", "Step"}, {"arm 4"}, {}, 0x109},
    {"step over a call on a line without kinds runs to the next instruction",
     [] { Kind(1, LINE_KIND_NONE); SetPC(0x103); Code(0x103, {0xCD, 0x00, 0x30}); },
     [](TSourceStepper& s) { s.Stopped(); return s.StepOver(); },
     {"GoTo 106"}, {}, {}, 0x106},
    {"a function of 300 statements arms and disarms them 255 at a time",
     [] {
       TTableWriter tables(TheDebug->Tables());
       tables.Module("big", "big.c");
       std::vector<std::pair<uint32_t, uint32_t>> lines;
       for (uint32_t n = 0; n <= 300; ++n) lines.push_back({0x1000 + 3 * n, 100 + n});
       tables.Scope(0, 0x1000, lines);
       SetPC(0x1003);
       ProtocolScript().Stops = {0x2000};
     },
     [](TSourceStepper& s) { s.Stopped(); return s.StepOver(); },
     {"Go"}, {"arm 255", "arm 45", "disarm 255", "disarm 45"}, {}, 0x2000},
    {"a function without a line entry at its end address arms up to the end of the line table",
     [] { TheDebug->Tables().Scopes[0].EndAddress = 0x10E; SetPC(0x103); ProtocolScript().Stops = {0x2000}; },
     [](TSourceStepper& s) { s.Stopped(); return s.StepOver(); },
     {"Go"}, {"arm 8", "disarm 8"}, {}, 0x2000},
    {"go removes the temporary breakpoints and runs",
     [] { SetPC(0x103); ProtocolScript().Stops = {0x106, 0x203}; },
     [](TSourceStepper& s) { s.Stopped(); s.StepOver(); return s.Go(); },
     {"Go", "Go"}, {"arm 4", "disarm 4"}, {}, 0x203},
    {"go to cursor runs to the line's first code address",
     [] { SetPC(0x100); },
     [](TSourceStepper& s) { return s.GoToCursor(0, 22); },
     {"GoTo 206"}, {}, {}, 0x206},
    {"at the exit procedure trace into refuses",
     [] { SetPC(0x300); },
     [](TSourceStepper& s) { return s.TraceInto(); },
     {}, {}, {"Cannot execute command because the CPU reached EXIT label!"}, 0x300, false},
    {"a run that stops at the exit procedure warns and completes",
     [] { SetPC(0x100); ProtocolScript().Stops = {0x300}; },
     [](TSourceStepper& s) { return s.Go(); },
     {"Go"}, {}, {"The CPU reached EXIT address !"}, 0x300},
};

TEST_P(SourceSteppingTest, Rule) {
  const TSteppingCase& c = GetParam();
  SCOPED_TRACE(c.Name);
  c.Prepare();
  TMessageBoxRecorder boxes;
  TSourceStepper stepper;
  EXPECT_EQ(c.Run(stepper), c.Posts);
  EXPECT_EQ(ProtocolScript().RunCalls, c.RunCalls);
  EXPECT_EQ(BreakLists(), c.BreakLists);
  std::vector<std::string> texts;
  for (const TRecordedMessage& m : boxes.Messages) texts.push_back(m.Text);
  EXPECT_EQ(texts, c.Messages);
  EXPECT_EQ(TheCpu->GetPC(), c.PC);
}

INSTANTIATE_TEST_SUITE_P(Source, SourceSteppingTest, ::testing::ValuesIn(SteppingCases));

// The gutter reads and toggles the same table entries as the CPU window,
// which sets code breakpoints in area 0x81.
TEST_F(SourceTablesTest, GutterFollowsTheBreakpointTable) {
  const auto glyph = [](uint16_t module, uint32_t line) { return SourceLineGlyph(module, line); };
  EXPECT_EQ(ToggleSourceBreak(0xFFFF, 10), TToggleResult::NoCode);  // no module shown yet
  EXPECT_EQ(glyph(0xFFFF, 10), TLineGlyph::None);
  EXPECT_EQ(ToggleSourceBreak(0, 9), TToggleResult::NoCode);  // a comment before f
  EXPECT_EQ(glyph(0, 9), TLineGlyph::None);
  EXPECT_EQ(glyph(0, 10), TLineGlyph::Code);

  EXPECT_EQ(ToggleSourceBreak(0, 10), TToggleResult::Toggled);
  EXPECT_EQ(glyph(0, 10), TLineGlyph::Break);
  TheProtocol->WriteBreak(BREAK_DISABLE, 0x81, 0x100);
  EXPECT_EQ(glyph(0, 10), TLineGlyph::Disabled);
  EXPECT_EQ(ToggleSourceBreak(0, 10), TToggleResult::Toggled);
  EXPECT_EQ(glyph(0, 10), TLineGlyph::Break);
  EXPECT_EQ(ToggleSourceBreak(0, 10), TToggleResult::Toggled);
  EXPECT_EQ(glyph(0, 10), TLineGlyph::Code);

  TheProtocol->WriteBreak(BREAK_SET, 0x81, 0x203);  // as the CPU window's margin sets it
  EXPECT_EQ(glyph(0, 21), TLineGlyph::Break);
  for (uint32_t n = 1; n < 16; ++n) TheProtocol->WriteBreak(BREAK_SET, 0x81, 0x4000 + n);
  EXPECT_EQ(ToggleSourceBreak(0, 11), TToggleResult::TableFull);
  EXPECT_EQ(glyph(0, 11), TLineGlyph::Code);

  SetPC(0x103);
  EXPECT_EQ(SourceExecutionLine(0), 11);
  EXPECT_EQ(SourceExecutionLine(1), -1);
  EXPECT_EQ(SourceExecutionLine(0xFFFF), -1);
  SetPC(0x104);
  EXPECT_EQ(SourceExecutionLine(0), -1);

  // A glyph 14 pixels high sits at the top of a 15-pixel row, 3 pixels down in a 20-pixel one.
  EXPECT_EQ(GlyphTop(12, 10, 15), 30);
  EXPECT_EQ(GlyphTop(12, 10, 20), 43);
}

}  // namespace
