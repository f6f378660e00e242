// The trace windows' frame counts and the communication log's lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineFixture.h"
#include "LogLines.h"
#include "TraceConfig.h"

namespace {

TEST(TraceFrameRange, AvailableFramesFollowTheBufferAndTheLastFrame) {
  struct TCase {
    uint16_t Recorded, Buffer, Last;
    int32_t Available, First;
  } cases[] = {
      {0x8005, 0x1000, 0x10, 4096, -4080},  // wrapped: 5 frames on, fewer than the last number
      {0x8020, 0x1000, 0x10, 0x20, -16},   // wrapped, 20h frames on from the buffer's start
      {0x0005, 0x1000, 0x03, 5, -2},
      {0x0010, 0x0008, 0x02, 8, -6},       // more than the buffer holds
      {0, 0, 0, 0, 0},                     // a target that answered nothing
  };
  for (const TCase& c : cases) {
    const TTraceFrameRange range = TraceFrameRange({0, c.Recorded, c.Last, c.Buffer, 0});
    EXPECT_EQ(range.Available, c.Available) << std::hex << c.Recorded;
    EXPECT_EQ(range.First, c.First) << std::hex << c.Recorded;
    EXPECT_EQ(range.Last, c.Last);
  }
}

class TraceConfigOnTheDemonstrationTarget : public EngineFixture {};

TEST_F(TraceConfigOnTheDemonstrationTarget, ReadsZeros) {
  const TTraceConfigRecord record = ReadTraceConfig();
  EXPECT_EQ(record.Counter, 0);
  EXPECT_EQ(record.BufferSize, 0);
  EXPECT_EQ(record.Switches, 0);
  EXPECT_TRUE(ReadLogLines().empty());
}

TEST(LogLines, OneLinePerRunOfOneDirection) {
  struct TCase {
    std::vector<uint16_t> Log;
    std::vector<std::string> Lines;  // direction, blank, text
  } cases[] = {
      {{}, {}},
      {{0x0041, 0x0042, 0x010D, 0x0141}, {"0 AB", "1 <0D>A"}},
      {{0x0061, 0x0130, 0x007A, 0x0239}, {"0 a", "1 0", "0 z", "2 9"}},
      // Only ASCII letters and digits stand for themselves.
      {{0x0020, 0x00E9, 0x0080, 0x00FF, 0x007F, 0x005A}, {"0 <20><E9><80><FF><7F>Z"}},
  };
  for (const TCase& c : cases) {
    std::vector<std::string> shown;
    for (const TLogLine& line :
         BuildLogLines(static_cast<uint16_t>(c.Log.size()), [&c](uint16_t i) { return c.Log.at(i); }))
      shown.push_back(std::to_string(line.Direction) + " " + line.Text);
    EXPECT_EQ(shown, c.Lines);
  }
}

}  // namespace
