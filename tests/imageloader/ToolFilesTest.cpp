// Files written by independent tools (srec_cat, objcopy, sdcc) load to the
// addresses meant, and files written here are read back by srec_cat to the same
// bytes. Tests skip when a tool is not installed.
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "BrenlowLibrary.h"

namespace {

using TMemory = std::map<uint32_t, uint8_t>;

bool Have(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

int RunTool(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

std::string Bytes(size_t size, unsigned seed) {
  std::string bytes;
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes += static_cast<char>(seed >> 16);
  }
  return bytes;
}

// Every data byte of an image as the library loads it.
TMemory Load(TBrenlow& brenlow, int format, const std::string& path) {
  TMemory memory;
  std::vector<TReadRecord> records = brenlow.ReadAll(format, path);
  EXPECT_FALSE(records.empty());
  if (records.empty()) return memory;
  EXPECT_EQ(records.back().Type, IR_END);
  for (const TReadRecord& record : records) {
    EXPECT_GE(record.Result, 0);
    if (record.Type != IR_DATA && record.Type != IR_DATA_WIDE) continue;
    for (int i = 0; i < record.Count; ++i)
      memory[record.Address + i] = static_cast<uint8_t>(std::stoul(record.Text.substr(2 * i, 2), nullptr, 16));
  }
  return memory;
}

TMemory Placed(const std::string& bytes, uint32_t address) {
  TMemory memory;
  for (size_t i = 0; i < bytes.size(); ++i) memory[address + static_cast<uint32_t>(i)] = static_cast<uint8_t>(bytes[i]);
  return memory;
}

struct TToolCase {
  const char* Name;
  const char* Tool;
  std::string Command;  // {in} the raw bytes, {out} the image
  int Format;
  uint32_t Address;
};

void PrintTo(const TToolCase& c, std::ostream* out) { *out << c.Name; }

const TToolCase TOOL_CASES[] = {
    {"SrecCatIntelLinear", "srec_cat", "srec_cat {in} -binary -offset 0x12340 -o {out} -intel", 2, 0x12340},
    {"SrecCatIntelSegmented", "srec_cat", "srec_cat {in} -binary -offset 0x12340 -o {out} -intel -address-length=3",
     2, 0x12340},
    {"SrecCatIntelLongRecords", "srec_cat", "srec_cat {in} -binary -offset 0xFF80 -o {out} -intel -obs=120", 2, 0xFF80},
    {"SrecCatS1", "srec_cat", "srec_cat {in} -binary -offset 0x100 -o {out} -motorola -disable=data-count", 3, 0x100},
    {"SrecCatS2", "srec_cat", "srec_cat {in} -binary -offset 0x12340 -o {out} -motorola -disable=data-count", 3,
     0x12340},
    {"SrecCatS3", "srec_cat",
     "srec_cat {in} -binary -offset 0x100 -o {out} -motorola -address-length=4 -disable=data-count", 3, 0x100},
    {"ObjcopyIntel", "z80-unknown-coff-objcopy",
     "z80-unknown-coff-objcopy -I binary -O ihex --change-addresses 0x1000 {in} {out}", 2, 0x1000},
    {"ObjcopyIntelHigh", "z80-unknown-coff-objcopy",
     "z80-unknown-coff-objcopy -I binary -O ihex --change-addresses 0x2FFF0 {in} {out}", 2, 0x2FFF0},
    {"ObjcopySRecord", "z80-unknown-coff-objcopy",
     "z80-unknown-coff-objcopy -I binary -O srec --change-addresses 0x12340 {in} {out}", 3, 0x12340},
};

class ToolFiles : public BrenlowTest, public ::testing::WithParamInterface<TToolCase> {};

std::string Fill(std::string command, const std::string& in, const std::string& out) {
  command.replace(command.find("{in}"), 4, in);
  command.replace(command.find("{out}"), 5, out);
  return command;
}

TEST_P(ToolFiles, LoadToTheAddressesMeant) {
  const TToolCase& c = GetParam();
  if (!Have(c.Tool)) GTEST_SKIP() << c.Tool << " not installed";
  std::string bytes = Bytes(1000, c.Address);
  std::string in = Write("data.bin", bytes);
  ASSERT_EQ(RunTool(Fill(c.Command, in, Path("image.hex"))), 0);
  EXPECT_EQ(Load(brenlow_, c.Format, Path("image.hex")), Placed(bytes, c.Address));
}

INSTANTIATE_TEST_SUITE_P(Tools, ToolFiles, ::testing::ValuesIn(TOOL_CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(BrenlowTest, SdccProgramLoadsAsSrecCatReadsIt) {
  if (!Have("sdcc") || !Have("srec_cat")) GTEST_SKIP() << "sdcc or srec_cat not installed";
  Write("main.c",
        "const unsigned char table[] = {1, 2, 3, 4, 5, 6, 7, 8};\n"
        "unsigned char sum;\n"
        "void main(void) { for (unsigned char i = 0; i < 8; ++i) sum += table[i]; }\n");
  ASSERT_EQ(RunTool("cd " + folder_.string() + " && sdcc -mz80 --code-loc 0x0200 main.c"), 0);
  ASSERT_EQ(RunTool("srec_cat " + Path("main.ihx") + " -intel -o " + Path("main.bin") + " -binary"), 0);
  TMemory loaded = Load(brenlow_, 2, Path("main.ihx"));
  std::string bin = Read(Path("main.bin"));
  ASSERT_FALSE(loaded.empty());
  for (const auto& [address, byte] : loaded) {
    ASSERT_LT(address, bin.size());
    EXPECT_EQ(static_cast<uint8_t>(bin[address]), byte) << address;
  }
  for (size_t address = 0; address < bin.size(); ++address)
    if (bin[address] != 0) {
      EXPECT_TRUE(loaded.count(static_cast<uint32_t>(address))) << address;
    }
}

// Written here, read back by srec_cat (which verifies every checksum) range by range.
struct TChunk {
  uint32_t Address;
  std::string Bytes;
};

class WrittenFiles : public BrenlowTest, public ::testing::WithParamInterface<int> {};

TEST_P(WrittenFiles, ReadBackBySrecCat) {
  if (!Have("srec_cat")) GTEST_SKIP() << "srec_cat not installed";
  int format = GetParam();
  std::vector<TChunk> chunks = {{0x0100, Bytes(40, 1)}, {0x12340, Bytes(33, 2)}, {0x0200, Bytes(16, 3)}};
  if (format == 3) chunks.push_back({0x1234560, Bytes(20, 4)});
  ASSERT_EQ(brenlow_.SetFormat(format), 1);
  ASSERT_EQ(brenlow_.Open(Path("out").c_str(), 1), 1);
  for (const TChunk& chunk : chunks)
    for (size_t at = 0; at < chunk.Bytes.size(); at += 16) {
      std::string hex;
      for (size_t i = at; i < chunk.Bytes.size() && i < at + 16; ++i) {
        hex += "0123456789ABCDEF"[static_cast<uint8_t>(chunk.Bytes[i]) >> 4];
        hex += "0123456789ABCDEF"[chunk.Bytes[i] & 15];
      }
      TImageRecord record = DataRecord(chunk.Address + static_cast<uint32_t>(at), hex.data());
      ASSERT_GE(brenlow_.PutData(&record), 0);
    }
  ASSERT_EQ(brenlow_.Close(), 1);

  const char* kind = format == 3 ? "-motorola" : "-intel";
  for (const TChunk& chunk : chunks) {
    char range[96];
    std::snprintf(range, sizeof range, " -crop 0x%X 0x%zX -offset -0x%X", chunk.Address,
                  chunk.Address + chunk.Bytes.size(), chunk.Address);
    ASSERT_EQ(RunTool("srec_cat " + Path("out") + " " + kind + range + " -o " + Path("chunk.bin") + " -binary"), 0);
    EXPECT_EQ(Read(Path("chunk.bin")), chunk.Bytes) << std::hex << chunk.Address;
  }
}

INSTANTIATE_TEST_SUITE_P(IntelAndMotorola, WrittenFiles, ::testing::Values(2, 3));

// Every writer's file reads back through its own reader to the same bytes.
TEST_F(BrenlowTest, RoundTripThroughEachFormat) {
  std::string bytes = Bytes(100, 9);
  for (int format : {1, 2, 3, 4, 5, 6, 7, 8}) {
    SCOPED_TRACE(format);
    uint32_t address = format == 8 ? 0 : 0x1FFC0;
    ASSERT_EQ(brenlow_.SetFormat(format), 1);
    ASSERT_EQ(brenlow_.Open(Path("rt").c_str(), 1), 1);
    for (size_t at = 0; at < bytes.size(); at += 16) {
      std::string hex;
      for (size_t i = at; i < bytes.size() && i < at + 16; ++i) {
        hex += "0123456789ABCDEF"[static_cast<uint8_t>(bytes[i]) >> 4];
        hex += "0123456789ABCDEF"[bytes[i] & 15];
      }
      TImageRecord record = DataRecord(address + static_cast<uint32_t>(at), hex.data());
      ASSERT_GE(brenlow_.PutData(&record), 0);
    }
    ASSERT_EQ(brenlow_.Close(), 1);
    EXPECT_EQ(Load(brenlow_, format, Path("rt")), Placed(bytes, address));
  }
}

}  // namespace
