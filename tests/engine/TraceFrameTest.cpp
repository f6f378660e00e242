// Trace frames: the empty test, cycle codes, decoding into frame lines and the
// text of each kind of line.
#include <gtest/gtest.h>

#include "PackedValue.h"
#include "Z80CodeFixture.h"

namespace {

TTraceFrame Frame(uint32_t address, uint8_t data, uint8_t status0, uint8_t status1, uint8_t lines = 0) {
  TTraceFrame frame{};
  frame.Address = address;
  frame.Data = data;
  frame.Status0 = status0;
  frame.Status1 = status1;
  frame.ExtLines[0] = lines;
  return frame;
}

_framelinetype CycleLine(int32_t number, uint32_t address, uint8_t data, uint16_t cycle, uint8_t lines) {
  _framelinetype line{};
  line.FrameNumber = number;
  line.Kind = FL_CYCLE;
  line.Address = address;
  line.CycleCode = cycle;
  line.ByteCount = 1;
  line.Bytes[0] = data;
  line.ExtLines[0] = lines;
  return line;
}

class TraceFrames : public Z80CodeFixture {
 protected:
  std::string Text(const _framelinetype& line) {
    char out[FRAME_LINE_SIZE];
    std::memset(out, '#', sizeof out);
    Cpu.FormatFrameLine(line, out);
    EXPECT_EQ(std::strlen(out), FRAME_LINE_SIZE - 1);
    return out;
  }
  static std::string Padded(const std::string& text) { return text + std::string(FRAME_LINE_SIZE - 1 - text.size(), ' '); }
};

TEST_F(TraceFrames, EmptyMeansAddressDataStatusZeroAndNoLines) {
  TTraceFrame frame{};
  EXPECT_TRUE(Cpu.IsEmptyFrame(frame));
  frame.Status1 = 0x28;  // bytes 7, 9 and 10 are not looked at
  frame.ExtLines[1] = 1;
  frame.ExtLines[2] = 1;
  EXPECT_TRUE(Cpu.IsEmptyFrame(frame));
  EXPECT_FALSE(Cpu.IsCodeFrame(frame));
  for (int offset : {0, 3, 4, 5, 6, 8}) {
    TTraceFrame other{};
    reinterpret_cast<uint8_t*>(&other)[offset] = 1;
    EXPECT_FALSE(Cpu.IsEmptyFrame(other)) << offset;
  }
}

TEST_F(TraceFrames, CycleCodesSayFetchAndCodeFrames) {
  const TTraceFrame fetch = Frame(0x100, 0x3E, 0x65, 0x28);
  const TTraceFrame read = Frame(0x100, 0x3E, 0x65, 0x38);
  const TTraceFrame write = Frame(0x100, 0x3E, 0x63, 0x38);
  EXPECT_TRUE(Cpu.IsFetchFrame(fetch));
  EXPECT_TRUE(Cpu.IsCodeFrame(fetch));
  EXPECT_FALSE(Cpu.IsFetchFrame(read));
  EXPECT_TRUE(Cpu.IsCodeFrame(read));
  EXPECT_FALSE(Cpu.IsCodeFrame(write));
  // An empty frame whose status would read as a fetch is no fetch.
  EXPECT_FALSE(Cpu.IsFetchFrame(Frame(0, 0, 0, 0x28)));

  _framelinetype line{};
  Cpu.DecodeFrame(7, line, fetch);
  EXPECT_EQ(Value(line.CycleCode), 0x100A);
  EXPECT_EQ(Value(line.Kind), FL_CODECYCLE);
  Cpu.DecodeFrame(7, line, read);
  EXPECT_EQ(Value(line.CycleCode), 0x000A);
  Cpu.DecodeFrame(7, line, write);
  EXPECT_EQ(Value(line.CycleCode), 0x000C);
  EXPECT_EQ(Value(line.Kind), FL_CYCLE);
}

TEST_F(TraceFrames, DecodeFrameFillsTheLine) {
  _framelinetype line;
  std::memset(&line, 0xAA, sizeof line);
  TTraceFrame frame = Frame(0x123456, 0x3E, 0x65, 0x28, 0xA5);
  frame.ExtLines[1] = 0x11;
  frame.ExtLines[2] = 0x22;
  Cpu.DecodeFrame(-3, line, frame);
  EXPECT_EQ(Value(line.FrameNumber), -3);
  EXPECT_EQ(Value(line.Continuation), 0);
  EXPECT_EQ(Value(line.Kind), FL_CODECYCLE);
  EXPECT_EQ(Value(line.Address), 0x123456u);
  EXPECT_EQ(Value(line.ByteCount), 1);
  EXPECT_EQ(Value(line.Bytes[0]), 0x3E);
  EXPECT_EQ(Value(line.ExtLines[0]), 0xA5);
  EXPECT_EQ(Value(line.ExtLines[1]), 0x11);
  EXPECT_EQ(Value(line.ExtLines[2]), 0x22);

  // An empty frame marks the end of the trace and changes nothing else.
  std::memset(&line, 0xAA, sizeof line);
  Cpu.DecodeFrame(5, line, TTraceFrame{});
  EXPECT_EQ(Value(line.Kind), FL_TRACEEND);
  EXPECT_EQ(Value(line.FrameNumber), static_cast<int32_t>(0xAAAAAAAA));
  EXPECT_EQ(Value(line.Address), 0xAAAAAAAAu);
}

TEST_F(TraceFrames, FrameBytesComeOneAtTheExpectedAddress) {
  const TTraceFrame frame = Frame(0x2000, 0xC9, 0x65, 0x28);
  uint8_t byte = 0x55;
  EXPECT_EQ(Cpu.GetFrameByteCount(frame), 1);
  EXPECT_EQ(Cpu.GetFrameByte(0x2001, frame, byte), 0);
  EXPECT_EQ(byte, 0x55);
  EXPECT_EQ(Cpu.GetFrameByte(0x2000, frame, byte), 1);
  EXPECT_EQ(byte, 0xC9);
}

TEST_F(TraceFrames, CycleLineShowsNumberAddressDataCycleAndLines) {
  // 41 characters: "%+06ld ", "  %06lX:%02X ", the 13-character name, 8 line bits, a blank.
  EXPECT_EQ(Text(CycleLine(-3, 0x1234, 0x3E, 0x100A, 0xA5)), Padded("-00003   001234:3E Fetch        10100101 "));
  EXPECT_EQ(Text(CycleLine(12, 0xFFFF, 0x00, 0x000A, 0x00)), Padded("+00012   00FFFF:00 Read memory  00000000 "));
  EXPECT_EQ(Text(CycleLine(2147483647, 0xFFFFFFFF, 0xFF, 0x000C, 0xFF)),
            Padded("+2147483647   FFFFFFFF:FF Write memory 11111111 "));
}

TEST_F(TraceFrames, CycleNamesByCode) {
  const struct {
    uint16_t Code;
    const char* Name;
  } cases[] = {
      {0x100A, "Fetch        "}, {0x000A, "Read memory  "}, {0x000C, "Write memory "}, {0x0022, "Read port    "},
      {0x0024, "Write port   "}, {0x1020, "INTACK cicle "}, {0x2808, "Halt         "}, {0x2000, "Halt         "},
      {0x0800, "Refresh      "}, {0x0801, "Refresh      "}, {0x0001, "Unknown      "}, {0x0000, "Unknown      "},
  };
  for (const auto& c : cases) EXPECT_EQ(Text(CycleLine(0, 0, 0, c.Code, 0)).substr(19, 13), c.Name) << c.Code;
}

TEST_F(TraceFrames, BlankEndAndInstructionLines) {
  _framelinetype line{};
  line.Kind = FL_BLANK;
  EXPECT_EQ(Text(line), Padded(""));
  line.Kind = FL_TRACEEND;
  EXPECT_EQ(Text(line), Padded(">>>>>> Trace end <<<<<<"));

  line = {};
  line.Kind = FL_INSTRUCTION;
  line.Address = 0x1000;
  line.ByteCount = 3;
  line.Bytes[0] = 0xCD;
  line.Bytes[1] = 0x00;
  line.Bytes[2] = 0x38;
  EXPECT_EQ(Text(line), Padded("001000:CD0038" + std::string(20, ' ') + "CALL    3800h"));
  // A long label is cut at the end of the line.
  AddSymbol(1, 0x3800, std::string(255, 's'));
  EXPECT_EQ(Text(line), "001000:CD0038" + std::string(20, ' ') + "CALL    " + std::string(127 - 41, 's'));
}

}  // namespace
