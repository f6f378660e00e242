// Exact record sequences from exact file texts, for every format and companion.
#include <string>
#include <utility>
#include <vector>

#include "BrenlowLibrary.h"

namespace {

using TFiles = std::vector<std::pair<std::string, std::string>>;

struct TReadCase {
  const char* Name;
  int Format;
  TFiles Files;  // the first one is the image
  std::vector<TReadRecord> Expected;
};

void PrintTo(const TReadCase& c, std::ostream* out) { *out << c.Name; }

constexpr TReadRecord BAD{-1, 0, 0, 0, 0, ""};
constexpr TReadRecord FILE_END{0, 9, 0, 0, 0, ""};
const TReadRecord INTEL_41{1, 1, 1, 0x100, 1, "41"};
const std::string INTEL_ONE = ":0101000041BD\n";
const std::string M51_TEXT =
    "BL51 BANKED LINKER/LOCATER V6.22\n"
    "  C:0000H         PUBLIC        before\n"
    "SYMBOL TABLE OF MODULE:  prog (PROG)\n"
    "\n"
    "  VALUE           TYPE          NAME\n"
    "  ----------------------------------\n"
    "  C:0123H         PUBLIC        main\n"
    "  B:0020H.0       SYMBOL        flag\n"
    "  D:0008H         SYMBOL        counter\n"
    "  X:1000H         PUBLIC        buffer\n"
    "  I:0080H         SYMBOL        stack\n"
    "  N:00FFH         SYMBOL        number\n"
    "  C:0200H         LINE#         12\n"
    "  C:0210H         PUBLIC\n"
    "INTER-MODULE CROSS-REFERENCE LISTING\n"
    "  C:0300H         PUBLIC        after\n";
const std::vector<TReadRecord> M51_SYMBOLS = {
    {4, 3, 1, 0x123, 4, "main"},   {7, 3, 2, 0x8, 7, "counter"}, {6, 3, 3, 0x1000, 6, "buffer"},
    {5, 3, 4, 0x80, 5, "stack"},   {6, 3, 4, 0xFF, 6, "number"}, FILE_END};

std::vector<TReadRecord> Join(std::vector<TReadRecord> first, const std::vector<TReadRecord>& rest) {
  first.insert(first.end(), rest.begin(), rest.end());
  return first;
}

const TReadCase CASES[] = {
    // Intel HEX
    {"IntelDataAndEnd", 2, {{"a.hex", ":020100001234B7\n:00000001FF\n"}},
     {{2, 1, 1, 0x100, 2, "1234"}, {0, 9, 1, 0, 0, ""}}},
    {"IntelSegmentBaseTimesSixteen", 2, {{"a.hex", ":020000020001FB\n:02123400414235\n"}},
     {{2, 1, 1, 0x1244, 2, "4142"}, FILE_END}},
    {"IntelLinearBase", 2, {{"a.hex", ":020000040001F9\n:02123400414235\n:00000001FF\n"}},
     {{2, 1, 1, 0x11234, 2, "4142"}, {0, 9, 1, 0x10000, 0, ""}}},
    {"IntelStartAddress", 2, {{"a.hex", ":0400000300001000E9\n"}}, {{0, 7, 1, 0x1000, 4, ""}, FILE_END}},
    {"IntelLowerCaseKeptAsItStands", 2, {{"a.hex", ":02010000abcdB7\n"}}, {{2, 1, 1, 0x100, 2, "abcd"}, FILE_END}},
    {"IntelSymbolLines", 2, {{"a.hex", " main 0100\n0 loop\t1A2b\n$ skipped\n flag\n"}},
     {{4, 3, 1, 0x100, 4, "main"}, {4, 3, 1, 0x1A2B, 4, "loop"}, {4, 3, 1, 0, 4, "flag"}, FILE_END}},
    {"IntelBlankLinesBeforeAndBetween", 2, {{"a.hex", "\r\n\r\n" + INTEL_ONE + "\n   \n\r\n" + INTEL_ONE}},
     {INTEL_41, INTEL_41, FILE_END}},
    {"IntelLastLineWithoutLineEnd", 2, {{"a.hex", ":0101000041BD"}}, {INTEL_41, FILE_END}},
    {"IntelZeroByteEndsTheData", 2, {{"a.hex", INTEL_ONE + std::string(1, '\0') + INTEL_ONE}},
     {INTEL_41, FILE_END}},
    {"IntelEmptyFile", 2, {{"a.hex", ""}}, {FILE_END}},
    {"IntelLongestRecordFitsTheText", 2, {{"a.hex", ":7A010000" + std::string(244, 'A') + "00\n"}},
     {{122, 1, 1, 0x100, 122, std::string(244, 'A')}, FILE_END}},
    {"IntelChecksumBeyondLongestLineIsPassedOver", 2,
     {{"a.hex", ":7B010000" + std::string(246, 'A') + "0A\n" + INTEL_ONE}},
     {{123, 1, 1, 0x100, 123, std::string(246, 'A')}, INTEL_41, FILE_END}},
    {"IntelOtherFirstCharacter", 2, {{"a.hex", INTEL_ONE + "X0101\n"}}, {INTEL_41, BAD}},
    {"IntelCountLongerThanLine", 2, {{"a.hex", INTEL_ONE + ":0201000012\n"}}, {INTEL_41, BAD}},
    {"IntelCountBeyondLongestLine", 2, {{"a.hex", INTEL_ONE + ":FF010000" + std::string(300, 'A') + "\n"}},
     {INTEL_41, BAD}},
    {"IntelNonHexCount", 2, {{"a.hex", INTEL_ONE + ":0G010000123400\n"}}, {INTEL_41, BAD}},
    {"IntelNonHexData", 2, {{"a.hex", INTEL_ONE + ":02010000ZZ3400\n"}}, {INTEL_41, BAD}},
    {"IntelTruncatedHeader", 2, {{"a.hex", INTEL_ONE + ":0201"}}, {INTEL_41, BAD}},
    {"IntelSegmentWithWrongCount", 2, {{"a.hex", INTEL_ONE + ":0100000200FD\n"}}, {INTEL_41, BAD}},
    {"IntelSegmentTooShort", 2, {{"a.hex", INTEL_ONE + ":0200000200\n"}}, {INTEL_41, BAD}},
    {"IntelStartWithWrongCount", 2, {{"a.hex", INTEL_ONE + ":0200000310000000\n"}}, {INTEL_41, BAD}},
    {"IntelRecord05Refused", 2, {{"a.hex", INTEL_ONE + ":0400000500001000E7\n"}}, {INTEL_41, BAD}},
    {"IntelBinaryGarbage", 2, {{"a.hex", INTEL_ONE + "\x01\x02\xFF\xFE\x80\x10\x7F"}}, {INTEL_41, BAD}},

    // Intel HEX with a linker map
    {"M51AfterEndRecord", 4, {{"prog.hex", INTEL_ONE + ":00000001FF\n"}, {"prog.M51", M51_TEXT}},
     Join({INTEL_41}, M51_SYMBOLS)},
    {"M51LowerCaseExtension", 4, {{"prog.HEX", INTEL_ONE}, {"prog.m51", M51_TEXT}}, Join({INTEL_41}, M51_SYMBOLS)},
    {"M51ImageWithoutEndRecord", 4, {{"prog.hex", INTEL_ONE}, {"prog.M51", M51_TEXT}},
     Join({INTEL_41}, M51_SYMBOLS)},
    {"M51MissingEndsWithTheImage", 4, {{"prog.hex", INTEL_ONE + ":00000001FF\n"}},
     {INTEL_41, {0, 9, 1, 0, 0, ""}}},
    {"M51NotTakenFromADottedFolderName", 4, {{"dir.x/prog", INTEL_ONE}, {"dir.M51", M51_TEXT}},
     {INTEL_41, FILE_END}},
    {"M51BesideAnImageWithoutExtension", 4, {{"prog", INTEL_ONE}, {"prog.M51", M51_TEXT}},
     Join({INTEL_41}, M51_SYMBOLS)},

    // Intel HEX with an AD2500 symbol file: read as Intel HEX, base address reset
    {"Ad2500", 5,
     {{"p.hex", ":020000040001F9\n" + INTEL_ONE + ":00000001FF\n"},
      {"p.sym", "$ AD2500\n main 0100\n0 loop 0200\n" + INTEL_ONE + ":00000001FF\n"}},
     {{1, 1, 1, 0x10100, 1, "41"}, {4, 3, 1, 0x100, 4, "main"}, {4, 3, 1, 0x200, 4, "loop"}, INTEL_41,
      {0, 9, 1, 0, 0, ""}}},
    {"Ad2500BadLine", 5, {{"p.hex", INTEL_ONE}, {"p.SYM", " main 0100\nbad\n"}},
     {INTEL_41, {4, 3, 1, 0x100, 4, "main"}, BAD}},

    // Intel HEX with a Toshiba symbol file
    {"Toshiba", 6,
     {{"t.hex", INTEL_ONE}, {"t.SYM", "Symbol Table\n0100 start 0200 loop\nzz12 bad 0300 end\n  0400\n\n0500 last"}},
     {INTEL_41, {0, 5, 1, 0x100, 5, "start"}, {0, 5, 1, 0x200, 4, "loop"}, {0, 5, 1, 0x300, 3, "end"},
      {0, 5, 1, 0x500, 4, "last"}, FILE_END}},

    // Intel HEX with an Avrasm listing
    {"Avrasm", 7,
     {{"m.hex", INTEL_ONE},
      {"m.LST",
       "AVRASM ver. 1.30  m.asm\n"
       "000000 e0f0      early: ldi r31,0\n"
       "                 .CSEG\n"
       "000012 e0f0      reset: ldi r31,0\n"
       "000013 c000      rjmp reset\n"
       "000014 0000      loop:\n"
       "zz0015 0000      odd: nop\n"
       "000016 0000      :\n"
       "                 ; comment\n"
       "                 .ESEG\n"
       "000020 0000      data: .db 0\n"
       "                 .CSEG\n"
       "000030 e0f0      again: nop\n"}},
     {INTEL_41, {0, 5, 1, 0x24, 5, "reset"}, {0, 5, 1, 0x28, 4, "loop"}, {0, 5, 1, 0x60, 5, "again"}, FILE_END}},

    // Motorola S-records with their symbol file
    {"SRecordsThenSym", 3,
     {{"s.s19", "S00600004844521B\nS1050100123402\nS9030000FC\n"},
      {"s.SYM", "\r\n\nSTART    1000\n  LOOP     0123\nSHORT    \n"}},
     {{3, 0, 1, 0, 3, "HDR"}, {2, 1, 1, 0x100, 2, "1234"}, {0, 5, 1, 0x1000, 5, "START"},
      {0, 5, 1, 0x123, 4, "LOOP"}, FILE_END}},
    {"SRecordWidths", 3,
     {{"w.mot",
       "S1130000000102030405060708090A0B0C0D0E0F00\n"
       "S208012345010203047C\nS309012345670102030400\nS804012345B5\n"}},
     {{16, 1, 1, 0, 16, "000102030405060708090A0B0C0D0E0F"}, {4, 2, 1, 0x12345, 4, "01020304"},
      {4, 2, 1, 0x1234567, 4, "01020304"}, {0, 9, 1, 0x12345, 0, ""}}},
    {"SRecordSymLowerCase", 3, {{"s.hex", "S9031000EC\n"}, {"s.sym", "MAIN     0100\n"}},
     {{0, 5, 1, 0x100, 4, "MAIN"}, FILE_END}},
    {"SRecordChecksumBeyondLongestLineIsPassedOver", 3,
     {{"s.s19", "S17E0100" + std::string(246, '1') + "55\nS1040200AA4F\n"}},
     {{123, 1, 1, 0x100, 123, std::string(246, '1')}, {1, 1, 1, 0x200, 1, "AA"}, FILE_END}},
    {"SRecordS5Refused", 3, {{"s.s19", "S1050100123402\nS5030001FB\n"}}, {{2, 1, 1, 0x100, 2, "1234"}, BAD}},
    {"SRecordS7Refused", 3, {{"s.s19", "S70500000000FA\n"}}, {BAD}},
    {"SRecordLengthBelowAddress", 3, {{"s.s19", "S1020100\n"}}, {BAD}},
    {"SRecordLengthBeyondLine", 3, {{"s.s19", "S1FF01001234\n"}}, {BAD}},
    {"SRecordNonHexData", 3, {{"s.s19", "S1050100ZZ3402\n"}}, {BAD}},
    {"SRecordNotS", 3, {{"s.s19", ":0101000041BD\n"}}, {BAD}},

    // The symbolic format
    {"Symbolic", 1,
     {{"a.sym",
       "#0\n#110000010002123432\n#200200011200\n%310000020004main00\n#6100000300" "01x00\n"
       "#710000100000\n#810000200000\n#95C\n"}},
     {{0, 0, 1, 0, 0, ""}, {2, 1, 1, 0x100, 2, "1234"}, {1, 2, 1, 0x200, 1, "12"}, {4, 3, 1, 0x200, 4, "main"},
      {1, 6, 1, 0x300, 1, "x"}, {0, 7, 1, 0x1000, 0, ""}, {0, 8, 1, 0x2000, 0, ""}, {0, 9, 1, 0, 0, ""}}},
    {"SymbolicNameShorterThanCount", 1, {{"a.sym", "#110000010002123432\n#31000002000" "9main\n"}},
     {{2, 1, 1, 0x100, 2, "1234"}, BAD}},
    {"SymbolicDataShorterThanCount", 1, {{"a.sym", "#11000001000212\n"}}, {BAD}},
    {"SymbolicUnknownWidth", 1, {{"a.sym", "#1300000100021234\n"}}, {BAD}},
    {"SymbolicNoTypeDigit", 1, {{"a.sym", "#A\n"}}, {BAD}},
    {"SymbolicOtherStart", 1, {{"a.sym", ":0101000041BD\n"}}, {BAD}},
};

class ReadCases : public BrenlowTest, public ::testing::WithParamInterface<TReadCase> {};

TEST_P(ReadCases, GiveTheRecords) {
  const TReadCase& c = GetParam();
  for (const auto& [name, content] : c.Files) {
    std::filesystem::create_directories(std::filesystem::path(Path(name)).parent_path());
    Write(name, content);
  }
  EXPECT_EQ(brenlow_.ReadAll(c.Format, Path(c.Files.front().first)), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, ReadCases, ::testing::ValuesIn(CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(BrenlowTest, BinaryReadsChunksOf32BytesFromAddressZero) {
  std::string bytes;
  for (int i = 0; i < 70; ++i) bytes += static_cast<char>(i * 7);
  std::string hex;
  for (unsigned char b : bytes) hex += "0123456789ABCDEF"[b >> 4], hex += "0123456789ABCDEF"[b & 15];
  EXPECT_EQ(brenlow_.ReadAll(8, Write("b.bin", bytes)),
            (std::vector<TReadRecord>{{32, 1, 1, 0, 32, hex.substr(0, 64)},
                                      {32, 1, 1, 32, 32, hex.substr(64, 64)},
                                      {6, 1, 1, 64, 6, hex.substr(128)},
                                      FILE_END}));
}

}  // namespace
