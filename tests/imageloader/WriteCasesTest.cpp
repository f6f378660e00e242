// Exact file texts written by each writer, the results of PutData and the
// changes the writers make to the caller's record.
#include <cstring>
#include <string>
#include <vector>

#include "BrenlowLibrary.h"

namespace {

struct TPut {
  uint16_t Type;
  uint32_t Address;
  const char* Text;
  int Result;           // PutData's result
  uint16_t TypeAfter;   // the record after the call
  uint8_t AreaAfter;
  uint32_t AddressAfter;
};

struct TWriteCase {
  const char* Name;
  int Format;
  int Mode;
  std::vector<TPut> Puts;
  std::string Expected;
};

void PrintTo(const TWriteCase& c, std::ostream* out) { *out << c.Name; }

const TWriteCase CASES[] = {
    {"IntelData", 2, 1, {{1, 0x100, "1234", 16, 1, 1, 0x100}}, ":020100001234B7\n:00000001FF\n"},
    {"IntelLinearBaseOncePerSegment", 4, 1,
     {{1, 0x12345, "AB", 14, 1, 1, 0x2345}, {2, 0x12400, "CD", 14, 2, 1, 0x2400}, {1, 0x200, "EF", 14, 1, 1, 0x200}},
     ":020000040001F9\n:01234500ABEC\n:01240000CD0E\n:020000040000FA\n:01020000EF0E\n:00000001FF\n"},
    {"IntelSymbolsAndOtherTypesWriteNothing", 7, 1,
     {{3, 0x12345, "main", 0, 3, 7, 0x12345}, {0, 0x100, "", 0, 0, 7, 0x100}, {9, 0x100, "", 0, 9, 7, 0x100}},
     ":00000001FF\n"},
    {"IntelNoEndLineWithMode2", 2, 2, {{1, 0x100, "1234", 16, 1, 1, 0x100}}, ":020100001234B7\n"},
    {"SRecordByAddress", 3, 1,
     {{1, 0x100, "1234", 0, 1, 7, 0x100}, {1, 0x12345, "01020304", 0, 2, 7, 0x12345},
      {2, 0x1234567, "AA", 0, 3, 7, 0x1234567}, {4, 0x100, "main", 0, 4, 7, 0x100}},
     "S10501001234B3\nS2080123450102030484\nS30601234567AA7F\nS9030000FC\n"},
    {"Symbolic", 1, 1,
     {{1, 0x100, "1234", 20, 1, 1, 0x100}, {3, 0x200, "main", 20, 3, 1, 0x200}, {2, 0x12345678, "", 16, 2, 1, 0x12345678},
      {7, 0x100, "", 0, 7, 7, 0x100}},
     "#110000010002123432\n#310000020004main12\n#2112345678008A\n#95C\n"},
    {"BinaryConcatenatesIgnoringAddresses", 8, 1,
     {{1, 0x500, "414243", 3, 1, 7, 0x500}, {2, 0, "44", 1, 2, 7, 0}, {5, 0, "45", 0, 5, 7, 0}}, "ABCD"},
};

class WriteCases : public BrenlowTest, public ::testing::WithParamInterface<TWriteCase> {};

TEST_P(WriteCases, WriteTheText) {
  const TWriteCase& c = GetParam();
  ASSERT_EQ(brenlow_.SetFormat(c.Format), 1);
  ASSERT_EQ(brenlow_.Open(Path("out").c_str(), c.Mode), 1);
  for (const TPut& put : c.Puts) {
    char text[IMAGE_TEXT_SIZE] = {};
    std::strcpy(text, put.Text);
    uint16_t count = put.Type == 1 || put.Type == 2 ? std::strlen(put.Text) / 2 : std::strlen(put.Text);
    TImageRecord record{put.Type, 7, put.Address, count, text};
    EXPECT_EQ(brenlow_.PutData(&record), put.Result) << put.Text;
    EXPECT_EQ(uint16_t{record.Type}, put.TypeAfter);
    EXPECT_EQ(uint8_t{record.Area}, put.AreaAfter);
    EXPECT_EQ(uint32_t{record.Address}, put.AddressAfter);
    EXPECT_EQ(uint16_t{record.Count}, count);
    EXPECT_STREQ(text, put.Text);
  }
  EXPECT_EQ(brenlow_.Close(), 1);
  EXPECT_EQ(Read(Path("out")), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(AllWriters, WriteCases, ::testing::ValuesIn(CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

// Records whose text does not hold their bytes are refused by every writer and nothing is written.
TEST_F(BrenlowTest, WritersRefuseTextsThatDoNotHoldTheirBytes) {
  char text[IMAGE_TEXT_SIZE] = {};
  std::memset(text, 'A', IMAGE_TEXT_SIZE - 1);
  for (int format : {1, 2, 3, 8}) {
    SCOPED_TRACE(format);
    ASSERT_EQ(brenlow_.SetFormat(format), 1);
    ASSERT_EQ(brenlow_.Open(Path("out").c_str(), 2), 1);
    TImageRecord tooLong{1, 1, 0x100, 128, text};
    EXPECT_EQ(brenlow_.PutData(&tooLong), -1);
    char odd[] = "12G4";
    TImageRecord nonHex{1, 1, 0x100, 2, odd};
    EXPECT_EQ(brenlow_.PutData(&nonHex), -1);
    char shortText[] = "12";
    TImageRecord shorter{1, 1, 0x100, 2, shortText};
    EXPECT_EQ(brenlow_.PutData(&shorter), -1);
    TImageRecord noText{1, 1, 0x100, 1, nullptr};
    EXPECT_EQ(brenlow_.PutData(&noText), -1);
    EXPECT_EQ(brenlow_.Close(), 1);
    EXPECT_EQ(Read(Path("out")), "");
  }
}

// A failed or short write is reported, never taken for success.
TEST_F(BrenlowTest, WritersReportFailedWrites) {
  for (int format : {1, 2, 3, 8}) {
    SCOPED_TRACE(format);
    char text[] = "1234";
    TImageRecord record{1, 1, 0x100, 2, text};
    ASSERT_EQ(brenlow_.SetFormat(format), 1);
    ASSERT_EQ(brenlow_.Open("/dev/full", 1), 1);
    EXPECT_EQ(brenlow_.PutData(&record), -1);
    // The binary format has no end line to lose.
    EXPECT_EQ(brenlow_.Close(), format == 8 ? 1 : 0);
    ASSERT_EQ(brenlow_.Open(Write("in", "").c_str(), 0), 1);
    EXPECT_EQ(brenlow_.PutData(&record), -1);
    brenlow_.Close();
  }
}

}  // namespace
