// The monitor download: Intel HEX monitor code to the target in blocks of at
// most 1024 contiguous bytes, then the end call.
#include <cstdio>

#include "LoadingFixture.h"
#include "MonitorLoad.h"

namespace {

struct TBlock {
  uint32_t Address;
  std::size_t Count;
  bool operator==(const TBlock&) const = default;
};
std::ostream& operator<<(std::ostream& out, const TBlock& b) {
  return out << "(" << std::hex << b.Address << "h, " << std::dec << b.Count << ")";
}

// A monitor record of count bytes at address, of the given type.
std::string Line(uint16_t address, int count, int type = 0) {
  char line[600];
  int size = std::snprintf(line, sizeof line, ":%02X%04X%02X", count, address, type);
  for (int i = 0; i < count; ++i) size += std::snprintf(line + size, sizeof line - size, "%02X", (address + i) & 0xFF);
  std::snprintf(line + size, sizeof line - size, "00\r\n");
  return line;
}

std::string Lines(uint16_t from, int bytes) {
  std::string text;
  for (int at = 0; at < bytes; at += 16) text += Line(static_cast<uint16_t>(from + at), std::min(16, bytes - at));
  return text;
}

class TRecordedProgress : public TMonitorProgress {
 public:
  void Show(const std::string& text, std::size_t maximum) override { Log.push_back(text + "/" + std::to_string(maximum)); }
  void Update(const std::string& text, std::size_t) override { Log.push_back(text); }
  void Hide() override { Log.push_back("hide"); }
  std::vector<std::string> Log;
};

std::vector<TBlock> Blocks() {
  std::vector<TBlock> blocks;
  for (const TMonitorBlock& b : ProtocolScript().MonitorBlocks) blocks.push_back({b.Address, b.Data.size()});
  return blocks;
}

class MonitorLoad : public LoadingTest {};

TEST_F(MonitorLoad, BlocksOfContiguousBytesUpTo1024ThenTheEnd) {
  const std::string bad = "Bad monitor code-file format!";
  const std::string sent = Line(0x0000, 16) + Line(0x0200, 16);
  struct TCase {
    const char* Name;
    std::string Text;
    std::vector<TBlock> Blocks;
    int Result;
    const char* Message;  // null: none
  } const cases[] = {
      {"3000 bytes", Lines(0x0000, 3000), {{0x0000, 1024}, {0x0400, 1024}, {0x0800, 952}}, MONITOR_DONE, nullptr},
      {"a gap and blank lines", "\r\n" + Line(0x0100, 16) + "\n\n  " + Line(0x0200, 8), {{0x0100, 16}, {0x0200, 8}},
       MONITOR_DONE, nullptr},
      {"other record types", Line(0x0000, 2, 4) + Line(0x0000, 4) + Line(0x1234, 4, 3) + ":00000001FF\n",
       {{0x0000, 4}}, MONITOR_DONE, nullptr},
      // The block gathered before the bad line goes out too, nothing of that line.
      {"a comment line", sent + "; monitor\n" + Line(0x0210, 16), {{0x0000, 16}, {0x0200, 16}}, MONITOR_BAD,
       bad.c_str()},
      {"a line cut short", sent + ":1002100000010203", {{0x0000, 16}, {0x0200, 16}}, MONITOR_BAD, bad.c_str()},
      {"no hex digit", sent + ":1002G000" + std::string(34, '0'), {{0x0000, 16}, {0x0200, 16}}, MONITOR_BAD,
       bad.c_str()},
      {"a bad first line", ";\n" + sent, {}, MONITOR_BAD, bad.c_str()},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ProtocolScript() = {};
    Boxes.Messages.clear();
    TRecordedProgress progress;
    EXPECT_EQ(DownloadMonitor(c.Text, progress), c.Result);
    EXPECT_EQ(Blocks(), c.Blocks);
    EXPECT_EQ(ProtocolScript().MonitorEnded, c.Result == MONITOR_DONE);
    ASSERT_EQ(Boxes.Messages.size(), c.Message ? 1u : 0u);
    if (c.Message) {
      EXPECT_EQ(Boxes.Messages[0].Text, c.Message);
      EXPECT_EQ(Boxes.Messages[0].Caption, "ERROR");
    }
    EXPECT_EQ(progress.Log.back(), "hide");
  }
}

TEST_F(MonitorLoad, ProgressCountsTheBytesSent) {
  TRecordedProgress progress;
  const std::string text = Lines(0x0000, 3000);
  DownloadMonitor(text, progress);
  EXPECT_EQ(progress.Log, (std::vector<std::string>{"Loading monitor\r\n0 Bytes read/" + std::to_string(text.size()),
                                                    "Loading monitor\r\n1024 Bytes read",
                                                    "Loading monitor\r\n2048 Bytes read",
                                                    "Loading monitor\r\n3000 Bytes read", "hide"}));
}

TEST_F(MonitorLoad, RefusedBlockStopsAfterItsLine) {
  ProtocolScript().RefusedMonitorBlock = 0;
  TRecordedProgress progress;
  EXPECT_EQ(DownloadMonitor(Line(0x0000, 16) + Line(0x0100, 16) + Line(0x0200, 16), progress), MONITOR_REFUSED);
  EXPECT_EQ(Blocks(), (std::vector<TBlock>{{0x0000, 16}}));
  EXPECT_FALSE(ProtocolScript().MonitorEnded);
  EXPECT_TRUE(Boxes.Messages.empty());
}

TEST_F(MonitorLoad, MissingFileEndsTheProgramWithCode2) {
  TRecordedProgress progress;
  EXPECT_EQ(LoadMonitor((Folder / "Monitor1.hex").string(), progress), MONITOR_BAD);
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "Monitor code-file not found!");
  EXPECT_EQ(Boxes.Messages[0].Caption, "ERROR");
  EXPECT_EQ(QuitCodes, std::vector<int>{2});
  EXPECT_TRUE(Blocks().empty());

  EXPECT_EQ(LoadMonitor(Write("Monitor1.hex", Lines(0x0000, 20)), progress), MONITOR_DONE);
  EXPECT_EQ(Blocks(), (std::vector<TBlock>{{0x0000, 20}}));
}

TEST(MonitorFileTest, OnlyTypes1_3And15HaveOne) {
  for (unsigned type = 0; type < 32; ++type) {
    const bool has = type == 1 || type == 3 || type == 15;
    EXPECT_EQ(MonitorFileName(type).empty(), !has) << type;
  }
  EXPECT_TRUE(MonitorFileName(15).ends_with("/Monitor15.hex"));
}

}  // namespace
