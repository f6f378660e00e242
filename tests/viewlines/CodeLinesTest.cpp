#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "CodeLines.h"
#include "CodeListing.h"
#include "EngineFixture.h"

namespace {

// 64 KB of code that the reader hands out round the end of the address space,
// and the reads it was asked for.
class CodeLinesTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    Memory.assign(0x10000, 0);
  }

  TCodeLines::TReadCode Reader() {
    return [this](uint16_t area, uint32_t address, uint32_t count, uint8_t* code) {
      Reads.push_back({area, address, count});
      for (uint32_t i = 0; i < count; ++i) code[i] = Memory[(address + i) & 0xFFFF];
    };
  }

  void Put(uint32_t address, const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes) Memory[address++ & 0xFFFF] = b;
  }

  static std::string Trimmed(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
  }

  struct TRead {
    uint16_t Area;
    uint32_t Address;
    uint32_t Count;
    bool operator==(const TRead&) const = default;
  };
  std::vector<uint8_t> Memory;
  std::vector<TRead> Reads;
  TCodeLines Lines;
};

struct TLineCase {
  const char* Name;
  uint32_t Address;
  int Instructions;
  int HOffset;
  bool Source;
  std::vector<std::string> Texts;  // trailing blanks cut
  std::vector<uint32_t> Addresses;
};

class CodeLinesCases : public CodeLinesTest, public ::testing::WithParamInterface<TLineCase> {};

TEST_P(CodeLinesCases, HoldTheDisassemblyAndTheFollowingAddress) {
  const TLineCase& c = GetParam();
  Put(0x1000, {0xCD, 0x00, 0x20, 0x00, 0x3E, 0x07});
  Put(0xFFFE, {0x00, 0x21, 0x34, 0x12});
  TCodeLines::TGetSource source;
  if (c.Source)
    source = [](uint16_t, uint32_t address, std::string& text) {
      text = "#main#" + std::to_string(address & 0xFF);
      return address != 0x1003;
    };
  Lines.Build(1, c.Address, c.Instructions, c.HOffset, Reader(), source);
  std::vector<std::string> texts;
  std::vector<uint32_t> addresses;
  for (const TCodeLine& line : Lines.Lines()) {
    texts.push_back(Trimmed(line.Text));
    addresses.push_back(line.Address);
  }
  EXPECT_EQ(texts, c.Texts);
  EXPECT_EQ(addresses, c.Addresses);
  EXPECT_EQ(Reads, (std::vector<TRead>{{1, c.Address, static_cast<uint32_t>(4 * (c.Instructions + 1))}}));
}

const std::string Gap(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

INSTANTIATE_TEST_SUITE_P(
    Views, CodeLinesCases,
    ::testing::Values(
        TLineCase{"TwoLinesShowThreeInstructions", 0x1000, 2, 0, false,
                  {"1000:CD0020" + Gap(20) + "CALL    2000h", "1003:00" + Gap(24) + "NOP",
                   "1004:3E07" + Gap(22) + "LD      A,07", ""},
                  {0x1000, 0x1003, 0x1004, 0x1006}},
        TLineCase{"ColumnOffsetCutsTheFront", 0x1000, 0, 31, false, {"CALL    2000h", ""}, {0x1000, 0x1003}},
        TLineCase{"FarColumnOffsetLeavesBlanks", 0x1000, 0, 132, false, {"", ""}, {0x1000, 0x1003}},
        TLineCase{"SourceLinesStandAboveTheirInstructions", 0x1000, 1, 0, true,
                  {"#main#0", "1000:CD0020" + Gap(20) + "CALL    2000h", "1003:00" + Gap(24) + "NOP", ""},
                  {0x1000, 0x1000, 0x1003, 0x1004}},
        TLineCase{"PlainAreasWrapAtSixtyFourKilobytes", 0xFFFE, 1, 0, false,
                  {"FFFE:00" + Gap(24) + "NOP", "FFFF:213412" + Gap(20) + "LD      HL,1234h", ""},
                  {0xFFFE, 0xFFFF, 0x10002}},
        TLineCase{"AViewWithoutLinesStillKnowsOneInstruction", 0x1003, 0, 0, false, {"1003:00" + Gap(24) + "NOP", ""},
                  {0x1003, 0x1004}}),
    [](const ::testing::TestParamInfo<TLineCase>& info) { return std::string(info.param.Name); });

TEST_F(CodeLinesTest, ReadsTheCodeOfATallViewInOnePiece) {
  // 99 lines need 400 bytes, more than the 256 a rebuild once read.
  for (uint32_t a = 0; a < 400; a += 2) Put(a, {0x18, 0xFE});
  Lines.Build(1, 0, 99, 0, Reader(), nullptr);
  ASSERT_EQ(Lines.Count(), 101);
  EXPECT_EQ(Reads, (std::vector<TRead>{{1, 0, 400}}));
  EXPECT_EQ(Trimmed(Lines.Lines()[99].Text), "00C6:18FE" + Gap(22) + "JR      00C6h");
  EXPECT_EQ(Lines.Address(100), 200u);
}

TEST_F(CodeLinesTest, FindsAnAddressOnlyAmongTheLinesAsked) {
  Put(0x1000, {0xCD, 0x00, 0x20});
  Lines.Build(1, 0x1000, 3, 0, Reader(), nullptr);
  EXPECT_EQ(Lines.Find(0x1004, 3), 2);
  EXPECT_EQ(Lines.Find(0x1004, 2), -1);
  EXPECT_EQ(Lines.Find(0x1000, 0), -1);
  // Addresses asked past either end come from the first or the last line.
  EXPECT_EQ(Lines.Address(-1), 0x1000u);
  EXPECT_EQ(Lines.Address(99), Lines.Lines().back().Address);
}

class CodeListingTest : public CodeLinesTest {
 protected:
  std::string List(uint32_t start, uint32_t end, const TCodeListing::TGoOn& goOn = nullptr) {
    std::FILE* out = std::tmpfile();
    EXPECT_TRUE(TCodeListing::Write(
        out, start, end,
        [this](uint32_t address, uint8_t count, uint8_t* code) {
          Reads.push_back({1, address, count});
          for (uint32_t i = 0; i < count; ++i) code[i] = Memory[(address + i) & 0xFFFF];
        },
        goOn));
    std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    EXPECT_EQ(std::fread(text.data(), 1, text.size(), out), text.size());
    std::fclose(out);
    return text;
  }
};

// An instruction that starts at the end address is listed whole; the top of
// the address space ends the listing, and so does being told to.
TEST_F(CodeListingTest, WritesOneBareLinePerInstructionUpToTheEnd) {
  Put(0x1000, {0x00, 0xCD, 0x00, 0x20});
  EXPECT_EQ(List(0x1000, 0x1001), "1000:00" + Gap(24) + "NOP\n1001:CD0020" + Gap(20) + "CALL    2000h\n");
  EXPECT_EQ(List(0xFFFFFFFE, 0xFFFFFFFF), "FFFE:00" + Gap(24) + "NOP\nFFFF:00" + Gap(24) + "NOP\n");
  std::vector<uint32_t> told;
  List(0x100, 0x1FF, [&told](uint32_t next) {
    told.push_back(next);
    return told.size() < 3;
  });
  EXPECT_EQ(told, (std::vector<uint32_t>{0x101, 0x102, 0x103}));
}

TEST_F(CodeListingTest, ReadsTheCodeInWindowsOfAHundredAndTwentyEightBytes) {
  for (uint32_t a = 0; a < 0x200; a += 2) Put(a, {0x18, 0x00});
  const std::string text = List(0, 0x1FF);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 256);
  // A window is read again once four bytes or fewer are left in it.
  EXPECT_EQ(Reads, (std::vector<TRead>{{1, 0, 128}, {1, 124, 128}, {1, 248, 128}, {1, 372, 128}, {1, 496, 128}}));
}

}  // namespace
