// The exports, the format table, the file states and the line reader.
#include <cstring>
#include <string>
#include <vector>

#include "BrenlowLibrary.h"

namespace {

constexpr TReadRecord FILE_END{0, 9, 0, 0, 0, ""};

TEST_F(BrenlowTest, VersionIsOne) { EXPECT_STREQ(brenlow_.Version(), "1"); }

TEST_F(BrenlowTest, FindFormatByDescriptionOrKeyIgnoringCase) {
  const std::pair<const char*, int> cases[] = {
      {"binary", 0x88},       {"Binary file", 0x88},         {"Intel symbolic", 2},  {"intel", 2},
      {"SYMBOLIC", 1},        {"symbolic/typed", 1},         {"MOTOROLA", 3},        {"Motorola HEX,SYM", 3},
      {"intelm51", 4},        {"M51 Intel HEX,M51", 4},      {"ad2500", 5},          {"AD2500 Intel HEX,SYM", 5},
      {"Toshiba", 6},         {"Toshiba Intel HEX,SYM", 6},  {"avrasm", 7},          {"Avrasm Intel HEX,LST", 7},
      {"", 0},                {"intel ", 0},                 {"unknown", 0},
  };
  for (const auto& [name, id] : cases) EXPECT_EQ(brenlow_.FindFormat(name), id) << name;
}

TEST_F(BrenlowTest, GetAndSetFormat) {
  char description[FORMAT_DESCRIPTION_SIZE];
  const char* descriptions[] = {"Symbolic/Typed",       "Intel symbolic",        "Motorola HEX,SYM",
                                "M51 Intel HEX,M51",    "AD2500 Intel HEX,SYM",  "Toshiba Intel HEX,SYM",
                                "Avrasm Intel HEX,LST", "Binary file"};
  for (int number = 1; number <= 8; ++number) {
    std::memset(description, 0, sizeof description);
    EXPECT_EQ(brenlow_.GetFormat(number, description), number);
    EXPECT_STREQ(description, descriptions[number - 1]);
    EXPECT_EQ(brenlow_.GetFormat(number, nullptr), number);
  }
  std::strcpy(description, "untouched");
  EXPECT_EQ(brenlow_.GetFormat(9, description), 0);
  EXPECT_EQ(brenlow_.GetFormat(0x88, description), 0);
  EXPECT_STREQ(description, "untouched");

  EXPECT_EQ(brenlow_.SetFormat(8), 1);
  EXPECT_EQ(brenlow_.GetFormat(0, description), 8);
  EXPECT_STREQ(description, "Binary file");
  for (int unknown : {0, 9, 0x88, -1}) {
    EXPECT_EQ(brenlow_.SetFormat(unknown), 0);
    EXPECT_EQ(brenlow_.GetFormat(0, nullptr), 8);
  }
  EXPECT_EQ(brenlow_.SetFormat(3), 1);
  EXPECT_EQ(brenlow_.GetFormat(0, nullptr), 3);
}

TEST_F(BrenlowTest, NoFileOpen) {
  char text[IMAGE_TEXT_SIZE] = "1234";
  TImageRecord record{1, 1, 0x100, 2, text};
  EXPECT_EQ(brenlow_.Close(), 0);
  EXPECT_EQ(brenlow_.Open(Path("missing.hex").c_str(), 0), 0);
  for (int format = 1; format <= 8; ++format) {
    brenlow_.SetFormat(format);
    EXPECT_EQ(brenlow_.GetData(&record), -1);
    EXPECT_EQ(brenlow_.PutData(&record), -1);
  }
  EXPECT_EQ(brenlow_.Close(), 0);

  ASSERT_EQ(brenlow_.Open(Write("a.hex", ":0101000041BD\n").c_str(), 0), 1);
  EXPECT_EQ(brenlow_.Close(), 1);
  EXPECT_EQ(brenlow_.GetData(&record), -1);
  EXPECT_EQ(brenlow_.Close(), 0);
}

// Opening a file forgets everything about the previous one, however it was left.
TEST_F(BrenlowTest, OpenStartsAfresh) {
  std::string image = Write("a.hex", ":020000040001F9\n:0101000041BD\n");
  brenlow_.SetFormat(2);
  char text[IMAGE_TEXT_SIZE];
  TImageRecord record{0, 0, 0, 0, text};
  ASSERT_EQ(brenlow_.Open(image.c_str(), 0), 1);
  ASSERT_EQ(brenlow_.GetData(&record), 1);
  EXPECT_EQ(uint32_t{record.Address}, 0x10100u);
  // Opened again without Close: the base address and read position start over.
  EXPECT_EQ(brenlow_.Open(Write("b.hex", ":0101000041BD\n").c_str(), 0), 1);
  ASSERT_EQ(brenlow_.GetData(&record), 1);
  EXPECT_EQ(uint32_t{record.Address}, 0x100u);

  brenlow_.SetFormat(8);
  ASSERT_EQ(brenlow_.Open(Write("c.bin", "xyz").c_str(), 0), 1);
  ASSERT_EQ(brenlow_.GetData(&record), 3);
  ASSERT_EQ(brenlow_.Open(Path("c.bin").c_str(), 0), 1);
  ASSERT_EQ(brenlow_.GetData(&record), 3);
  EXPECT_EQ(uint32_t{record.Address}, 0u);
}

TEST_F(BrenlowTest, EndLinesOnlyAfterMode1) {
  const std::pair<int, const char*> ends[] = {{1, "#95C\n"},         {2, ":00000001FF\n"}, {3, "S9030000FC\n"},
                                              {4, ":00000001FF\n"}, {5, ":00000001FF\n"}, {6, ":00000001FF\n"},
                                              {7, ":00000001FF\n"}, {8, ""}};
  for (const auto& [format, end] : ends) {
    brenlow_.SetFormat(format);
    ASSERT_EQ(brenlow_.Open(Path("out").c_str(), 1), 1);
    EXPECT_EQ(brenlow_.Close(), 1);
    EXPECT_EQ(Read(Path("out")), end) << format;
    ASSERT_EQ(brenlow_.Open(Path("out").c_str(), 0), 1);
    EXPECT_EQ(brenlow_.Close(), 1);
    EXPECT_EQ(Read(Path("out")), end) << format;
    ASSERT_EQ(brenlow_.Open(Path("out").c_str(), 5), 1);
    EXPECT_EQ(brenlow_.Close(), 1);
    EXPECT_EQ(Read(Path("out")), "") << format;
  }
}

// A line of 300 characters comes as one of 255 and one of 45.
TEST_F(BrenlowTest, LongLineComesInPiecesOf255) {
  std::string line = " " + std::string(254, 'a') + "0 " + std::string(40, 'b') + " 12";
  ASSERT_EQ(line.size(), 300u);
  EXPECT_EQ(brenlow_.ReadAll(2, Write("a.hex", line + "\n")),
            (std::vector<TReadRecord>{{254, 3, 1, 0, 254, std::string(254, 'a')},
                                      {40, 3, 1, 0x12, 40, std::string(40, 'b')},
                                      FILE_END}));
}

// The read block is 512 bytes: a last line without line end in a file of 1024 bytes is still read.
TEST_F(BrenlowTest, LastLineWithoutLineEndAtBlockEnd) {
  std::string content;
  std::vector<TReadRecord> expected;
  for (int i = 0; content.size() < 1000; ++i) {
    std::string name = "s" + std::to_string(1000 + i);
    content += " " + name + " " + std::to_string(i) + "\n";
    expected.push_back({5, 3, 1, static_cast<uint32_t>(std::stoul(std::to_string(i), nullptr, 16)), 5, name});
  }
  std::string last = " " + std::string(1024 - content.size() - 3, 'z') + " 1";
  content += last;
  ASSERT_EQ(content.size(), 1024u);
  expected.push_back({static_cast<int>(last.size() - 3), 3, 1, 1, static_cast<int>(last.size() - 3),
                      last.substr(1, last.size() - 3)});
  expected.push_back(FILE_END);
  EXPECT_EQ(brenlow_.ReadAll(2, Write("a.hex", content)), expected);
}

// A read that fails is reported, not taken for the end of the data.
// A regular file whose first bytes cannot be read.
TEST_F(BrenlowTest, ReadErrorIsReported) {
  for (int format = 1; format <= 8; ++format)
    EXPECT_EQ(brenlow_.ReadAll(format, "/proc/self/mem"), (std::vector<TReadRecord>{{-1, 0, 0, 0, 0, ""}}))
        << format;
}

TEST_F(BrenlowTest, NullRecordIsRefused) {
  ASSERT_EQ(brenlow_.Open(Write("a.hex", ":0101000041BD\n").c_str(), 0), 1);
  EXPECT_EQ(brenlow_.GetData(nullptr), -1);
  EXPECT_EQ(brenlow_.PutData(nullptr), -1);
  TImageRecord noText{0, 0, 0, 0, nullptr};
  EXPECT_EQ(brenlow_.GetData(&noText), -1);
}

}  // namespace
