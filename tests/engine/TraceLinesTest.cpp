// The trace view's lines: instructions rebuilt from fetch and read cycles,
// the three mode flags, the end of the trace, scrolling through the cache and
// the bounds on cache and frames.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "Symbols.h"
#include "TargetPokes.h"
#include "TraceLines.h"

namespace {

// LD A,5 at 1234h, a write to 8000h, NOP at 1236h, then the end.
const std::vector<TTraceFrame> Program = {Frame(Fetch, 0x1234, 0x3E), Frame(Read, 0x1235, 0x05),
                                          Frame(Write, 0x8000, 0x05), Frame(Fetch, 0x1236, 0x00)};

std::string Trimmed(std::string text) { return text.erase(text.find_last_not_of(' ') + 1); }

class TraceLines : public EngineFixture {
 protected:
  // Frames by number; every other number leaves the frame as it was handed over.
  TTraceLines Lines{[this](int32_t number, TTraceFrame& out) {
    ++Reads;
    auto frame = Frames.find(number);
    if (frame != Frames.end()) out = frame->second;
  }};
  std::map<int32_t, TTraceFrame> Frames;
  long Reads = 0;

  void Load(const std::vector<TTraceFrame>& frames, int32_t first = 0) {
    for (std::size_t i = 0; i < frames.size(); ++i) Frames[first + static_cast<int32_t>(i)] = frames[i];
  }

  // Each row as colour code and text without trailing blanks.
  std::vector<std::string> Show(int rows) {
    std::vector<std::string> shown;
    for (const TTraceRow& row : Lines.Rows(rows)) shown.push_back(Trimmed(std::to_string(row.Color) + " " + row.Text));
    return shown;
  }
};

const std::string End = "0 >>>>>> Trace end <<<<<<";
const std::string EndAfterPrefix = "0          >>>>>> Trace end <<<<<<";

TEST_F(TraceLines, ModesMixInstructionFrameAndBlankLines) {
  const std::string ld = "001234:3E05                      LD      A,05";
  const std::string nop = "001236:00                        NOP";
  struct TCase {
    uint16_t Mode;
    std::vector<std::string> Rows;
  } cases[] = {
      {TRACE_SHOW_FRAMES,
       {"2 +00000   001234:3E Fetch        00000000", "2 +00001   001235:05 Read memory  00000000",
        "1 +00002   008000:05 Write memory 00000000", "2 +00003   001236:00 Fetch        00000000", End, End}},
      {TRACE_SHOW_ASM, {"2 +00000   " + ld, "2 +00003   " + nop, EndAfterPrefix, EndAfterPrefix}},
      // No blank before the first instruction of a run.
      {TRACE_SHOW_ASM | TRACE_SEPARATE, {"2 +00000   " + ld, "2", "2 +00003   " + nop, EndAfterPrefix}},
      {TRACE_SHOW_ASM | TRACE_SHOW_FRAMES | TRACE_SEPARATE,
       {"2 " + ld, "2 +00000   001234:3E Fetch        00000000", "2 +00001   001235:05 Read memory  00000000",
        "1 +00002   008000:05 Write memory 00000000", "2", "2 " + nop, "2 +00003   001236:00 Fetch        00000000",
        End}},
      // Nothing to show: the paint decodes to the end and shows that.
      {0, {EndAfterPrefix, EndAfterPrefix}},
  };
  Load(Program);
  for (const TCase& c : cases) {
    Lines.MoveTo(0, 2, c.Mode);
    EXPECT_EQ(Show(static_cast<int>(c.Rows.size())), c.Rows) << "mode " << c.Mode;
  }
}

TEST_F(TraceLines, TheEndOfTheRecordedFrames) {
  struct TCase {
    const char* Name;
    std::vector<TTraceFrame> Frames;
    uint16_t Mode;
    std::vector<std::string> Rows;
  } cases[] = {
      {"first frame empty", {}, 7, {End, End, End}},
      // An instruction whose last byte was never recorded is no instruction.
      {"cut instruction", {Frame(Fetch, 0x1234, 0x3E)}, 7, {"2 +00000   001234:3E Fetch        00000000", End}},
      {"cut instruction, instruction lines only", {Frame(Fetch, 0x1234, 0x3E)}, 1, {EndAfterPrefix}},
      // A read that continues no fetch is a cycle of its own.
      {"read without fetch", {Frame(Read, 0x10, 0xAA)}, 7, {"2 +00000   000010:AA Read memory  00000000", End}},
  };
  for (const TCase& c : cases) {
    Frames.clear();
    Load(c.Frames);
    Lines.MoveTo(0, 2, c.Mode);
    EXPECT_EQ(Show(static_cast<int>(c.Rows.size())), c.Rows) << c.Name;
  }
}

TEST_F(TraceLines, ALongLabelIsCutAtTheEndOfTheLine) {
  TSymbolRecord slot{};
  slot.Attributes = 1;
  slot.Value = 0x0100;
  slot.ScopeHigh = -1;
  slot.NameLength = SYMBOL_MAX_NAME;
  std::memset(slot.Name, 'L', SYMBOL_MAX_NAME);
  TheSymbols->Add(&slot);
  Load({Frame(Fetch, 0x0200, 0xC3), Frame(Read, 0x0201, 0x00), Frame(Read, 0x0202, 0x01)});
  for (int mode : {1, 3}) {
    Lines.MoveTo(0, 0, static_cast<uint16_t>(mode));
    const std::string text = Lines.Rows(1).at(0).Text;
    const std::size_t prefix = mode & TRACE_SHOW_FRAMES ? 0 : 9;
    EXPECT_EQ(text.size(), prefix + FRAME_LINE_SIZE - 1);
    EXPECT_EQ(text.substr(prefix, 42), "000200:C30001                    JP      L");
    EXPECT_EQ(text.back(), 'L');
  }
}

TEST_F(TraceLines, EveryFrameIsZeroedBeforeItIsRead) {
  TTraceLines silent([](int32_t, TTraceFrame&) {});
  EXPECT_EQ(Trimmed(silent.Rows(1).at(0).Text), ">>>>>> Trace end <<<<<<");
  // The demonstration target writes no frame either.
  TTraceLines target;
  EXPECT_EQ(target.Rows(2).at(1).Color, TRACE_GREY);
}

TEST_F(TraceLines, EndlessBuffersAndTallWindowsStayInsideTheirBounds) {
  // Frames for ever, none of them a fetch: without frame lines nothing is shown.
  TTraceLines endless([this](int32_t number, TTraceFrame& out) {
    ++Reads;
    out = Frame(Write, static_cast<uint32_t>(number), 0x11);
  });
  endless.MoveTo(0, 0, TRACE_SHOW_ASM);
  EXPECT_EQ(endless.Rows(3).at(2).Color, TRACE_GREY);
  EXPECT_LE(Reads, TTraceLines::FRAMES_PER_PAINT + 16);

  // Frame numbers run round their 32-bit ends, whatever start was typed.
  endless.MoveTo(INT32_MAX, 0, TRACE_SHOW_FRAMES);
  EXPECT_EQ(Trimmed(endless.Rows(2).at(1).Text), "-2147483648   80000000:11 Write memory 00000000");
  int top = 0;
  endless.MoveTo(INT32_MIN, 0, TRACE_SHOW_FRAMES);
  endless.LineUp(top);
  EXPECT_EQ(Trimmed(endless.Rows(1).at(0).Text), "+2147483647   7FFFFFFF:11 Write memory 00000000");

  // A window taller than the cache: its rows below the cache are blank.
  endless.MoveTo(0, 0, TRACE_SHOW_FRAMES);
  const std::vector<TTraceRow> rows = endless.Rows(150);
  EXPECT_EQ(Trimmed(rows[99].Text), "+00099   000063:11 Write memory 00000000");
  EXPECT_EQ(rows[100].Text, "");
  EXPECT_EQ(rows[149].Text, "");
  int cursor = 120;
  EXPECT_TRUE(endless.LineDown(cursor, 150));
  EXPECT_EQ(cursor, 99);
  const std::vector<TTraceRow> moved = endless.Rows(150);
  EXPECT_EQ(Trimmed(moved[0].Text), "+00001   000001:11 Write memory 00000000");
  EXPECT_EQ(Trimmed(moved[99].Text), "+00100   000064:11 Write memory 00000000");
  endless.PageDown(150);
  EXPECT_EQ(Trimmed(endless.Rows(1).at(0).Text), "+00100   000064:11 Write memory 00000000");
}

TEST_F(TraceLines, ScrollingMovesThroughTheCacheAndTheFrames) {
  std::vector<TTraceFrame> frames;
  for (uint32_t i = 0; i < 200; ++i) frames.push_back(Frame(Write, i, 0));
  Load(frames);
  Frames[-1] = Frame(Write, 0xFFFF, 0);
  Lines.MoveTo(0, 0, TRACE_SHOW_FRAMES);
  Show(10);

  // Up on the first row decodes again from one frame earlier.
  int cursor = 0;
  Lines.LineUp(cursor);
  EXPECT_EQ(cursor, 0);
  EXPECT_EQ(Show(1).at(0), "1 -00001   00FFFF:00 Write memory 00000000");

  // Down past the last row moves the view a row, then the cache.
  Lines.MoveTo(0, 0, TRACE_SHOW_FRAMES);
  Show(10);
  for (int i = 0; i < 9; ++i) Lines.LineDown(cursor, 10);
  EXPECT_EQ(cursor, 9);
  for (int i = 0; i < 80; ++i) {
    Lines.LineDown(cursor, 10);
    Show(10);
  }
  EXPECT_EQ(cursor, 9);
  EXPECT_EQ(Lines.TopLine(), TTraceLines::SCROLL_LIMIT - 9);
  EXPECT_EQ(Show(1).at(0), "1 +00080   000050:00 Write memory 00000000");
  // Pages move on from the row at the top, wherever it stands in the cache.
  Lines.PageDown(10);
  EXPECT_EQ(Show(1).at(0), "1 +00090   00005A:00 Write memory 00000000");
  for (int i = 0; i < 30; ++i) {
    Lines.LineDown(cursor, 10);
    Show(10);
  }
  Lines.PageUp(10);
  EXPECT_EQ(Show(1).at(0), "1 +00110   00006E:00 Write memory 00000000");

  Lines.MoveTo(0, 0, TRACE_SHOW_FRAMES);
  Show(10);
  Lines.PageDown(10);
  EXPECT_EQ(Show(1).at(0), "1 +00010   00000A:00 Write memory 00000000");
  Lines.PageUp(10);
  EXPECT_EQ(Show(1).at(0), "1 +00000   000000:00 Write memory 00000000");

  // The cursor never moves onto the end line, and a page down shows no more.
  Lines.MoveTo(195, 0, TRACE_SHOW_FRAMES);
  Show(10);
  cursor = 4;
  EXPECT_FALSE(Lines.LineDown(cursor, 10));
  EXPECT_EQ(cursor, 4);
  Lines.PageDown(10);
  EXPECT_EQ(Show(1).at(0), "1 +00195   0000C3:00 Write memory 00000000");

  // Rebuild decodes the same frames again.
  Frames[195] = Frame(Fetch, 0x0100, 0x00);
  Lines.Rebuild();
  EXPECT_EQ(Show(1).at(0), "2 +00195   000100:00 Fetch        00000000");
}

}  // namespace
