// The disassembler: exact instruction texts and lengths by opcode group, the
// fixed-column line, labels, and the bounds of every buffer it touches.
#include <gtest/gtest.h>

#include <cctype>
#include <memory>

#include "Z80CodeFixture.h"

namespace {

struct TDisCase {
  TCode Code;
  const char* Text;  // instruction column, trailing blanks cut
  uint16_t Length;
};

void PrintTo(const TDisCase& c, std::ostream* os) { *os << Hex(c.Code.data(), 4); }

class DisassemblerTable : public Z80CodeFixture, public ::testing::WithParamInterface<TDisCase> {};

TEST_P(DisassemblerTable, GivesTextAndLength) {
  uint16_t length = 0;
  EXPECT_EQ(Instruction(GetParam().Code, 0x1000, &length), GetParam().Text);
  EXPECT_EQ(length, GetParam().Length);
}

// Relative targets below are for an instruction at 1000h.
INSTANTIATE_TEST_SUITE_P(Unprefixed, DisassemblerTable,
                         ::testing::Values(TDisCase{{0x00}, "NOP", 1}, TDisCase{{0x08}, "EX      AF,AF'", 1},
                                           TDisCase{{0x10, 0xFE}, "DJNZ    1000h", 2},
                                           TDisCase{{0x18, 0xFE}, "JR      1000h", 2},
                                           TDisCase{{0x20, 0x05}, "JR      NZ,1007h", 2},
                                           TDisCase{{0x28, 0x80}, "JR      Z,0F82h", 2},
                                           TDisCase{{0x30, 0x7F}, "JR      NC,1081h", 2},
                                           TDisCase{{0x38, 0x00}, "JR      C,1002h", 2},
                                           TDisCase{{0x01, 0x34, 0x12}, "LD      BC,1234h", 3},
                                           TDisCase{{0x31, 0x00, 0x80}, "LD      SP,8000h", 3},
                                           TDisCase{{0x02}, "LD      (BC),A", 1}, TDisCase{{0x0A}, "LD      A,(BC)", 1},
                                           TDisCase{{0x12}, "LD      (DE),A", 1}, TDisCase{{0x1A}, "LD      A,(DE)", 1},
                                           TDisCase{{0x22, 0x34, 0x12}, "LD      (1234h),HL", 3},
                                           TDisCase{{0x2A, 0x34, 0x12}, "LD      HL,(1234h)", 3},
                                           TDisCase{{0x32, 0x34, 0x12}, "LD      (1234h),A", 3},
                                           TDisCase{{0x3A, 0x34, 0x12}, "LD      A,(1234h)", 3},
                                           TDisCase{{0x03}, "INC     BC", 1}, TDisCase{{0x33}, "INC     SP", 1},
                                           TDisCase{{0x0B}, "DEC     BC", 1}, TDisCase{{0x39}, "ADD     HL,SP", 1},
                                           TDisCase{{0x04}, "INC     B", 1}, TDisCase{{0x34}, "INC     (HL)", 1},
                                           TDisCase{{0x3D}, "DEC     A", 1}, TDisCase{{0x06, 0xFF}, "LD      B,FF", 2},
                                           TDisCase{{0x36, 0x0A}, "LD      (HL),0A", 2}, TDisCase{{0x07}, "RLCA", 1},
                                           TDisCase{{0x0F}, "RRCA", 1}, TDisCase{{0x17}, "RLA", 1},
                                           TDisCase{{0x1F}, "RRA", 1}, TDisCase{{0x27}, "DAA", 1},
                                           TDisCase{{0x2F}, "CPL", 1}, TDisCase{{0x37}, "SCF", 1},
                                           TDisCase{{0x3F}, "CCF", 1}, TDisCase{{0x40}, "LD      B,B", 1},
                                           TDisCase{{0x76}, "HALT", 1}, TDisCase{{0x7E}, "LD      A,(HL)", 1},
                                           TDisCase{{0x70}, "LD      (HL),B", 1}, TDisCase{{0x80}, "ADD     A,B", 1},
                                           TDisCase{{0x8E}, "ADC     A,(HL)", 1}, TDisCase{{0x90}, "SUB     B", 1},
                                           TDisCase{{0x9F}, "SBC     A,A", 1}, TDisCase{{0xA0}, "AND     B", 1},
                                           TDisCase{{0xA8}, "XOR     B", 1}, TDisCase{{0xB0}, "OR      B", 1},
                                           TDisCase{{0xBE}, "CP      (HL)", 1}, TDisCase{{0xC0}, "RET     NZ", 1},
                                           TDisCase{{0xF8}, "RET     M", 1}, TDisCase{{0xC1}, "POP     BC", 1},
                                           TDisCase{{0xF1}, "POP     AF", 1}, TDisCase{{0xE5}, "PUSH    HL", 1},
                                           TDisCase{{0xF5}, "PUSH    AF", 1},
                                           TDisCase{{0xC2, 0x34, 0x12}, "JP      NZ,1234h", 3},
                                           TDisCase{{0xFA, 0x34, 0x12}, "JP      M,1234h", 3},
                                           TDisCase{{0xC3, 0x34, 0x12}, "JP      1234h", 3},
                                           TDisCase{{0xD3, 0xFE}, "OUT     (FE),A", 2},
                                           TDisCase{{0xDB, 0x10}, "IN      A,(10)", 2},
                                           TDisCase{{0xE3}, "EX      (SP),HL", 1}, TDisCase{{0xEB}, "EX      DE,HL", 1},
                                           TDisCase{{0xF3}, "DI", 1}, TDisCase{{0xFB}, "EI", 1},
                                           TDisCase{{0xC4, 0x34, 0x12}, "CALL    NZ,1234h", 3},
                                           TDisCase{{0xEC, 0x34, 0x12}, "CALL    PE,1234h", 3},
                                           TDisCase{{0xCD, 0x00, 0x38}, "CALL    3800h", 3},
                                           TDisCase{{0xC6, 0x12}, "ADD     A,12", 2},
                                           TDisCase{{0xD6, 0x12}, "SUB     A,12", 2},
                                           TDisCase{{0xFE, 0x00}, "CP      A,00", 2}, TDisCase{{0xC7}, "RST     00", 1},
                                           TDisCase{{0xCF}, "RST     08", 1}, TDisCase{{0xFF}, "RST     38", 1},
                                           TDisCase{{0xC9}, "RET", 1}, TDisCase{{0xD9}, "EXX", 1},
                                           TDisCase{{0xE9}, "JP      (HL)", 1}, TDisCase{{0xF9}, "LD      SP,HL", 1}));

INSTANTIATE_TEST_SUITE_P(CbPage, DisassemblerTable,
                         ::testing::Values(TDisCase{{0xCB, 0x00}, "RLC     B", 2},
                                           TDisCase{{0xCB, 0x0E}, "RRC     (HL)", 2},
                                           TDisCase{{0xCB, 0x17}, "RL      A", 2}, TDisCase{{0xCB, 0x18}, "RR      B", 2},
                                           TDisCase{{0xCB, 0x26}, "SLA     (HL)", 2},
                                           TDisCase{{0xCB, 0x2F}, "SRA     A", 2},
                                           // The unassigned shift slot is one byte of data.
                                           TDisCase{{0xCB, 0x30}, "DEFB    CB", 1},
                                           TDisCase{{0xCB, 0x37}, "DEFB    CB", 1},
                                           TDisCase{{0xCB, 0x38}, "SRL     B", 2}, TDisCase{{0xCB, 0x3F}, "SRL     A", 2},
                                           TDisCase{{0xCB, 0x40}, "BIT     0,B", 2},
                                           TDisCase{{0xCB, 0x5E}, "BIT     3,(HL)", 2},
                                           TDisCase{{0xCB, 0x87}, "RES     0,A", 2},
                                           TDisCase{{0xCB, 0xFF}, "SET     7,A", 2}));

INSTANTIATE_TEST_SUITE_P(
    EdPage, DisassemblerTable,
    ::testing::Values(
        TDisCase{{0xED, 0x44}, "NEG", 2}, TDisCase{{0xED, 0x45}, "RETN", 2}, TDisCase{{0xED, 0x47}, "LD      I,A", 2},
        TDisCase{{0xED, 0x4D}, "RETI", 2}, TDisCase{{0xED, 0x4F}, "LD      R,A", 2},
        TDisCase{{0xED, 0x57}, "LD      A,I", 2}, TDisCase{{0xED, 0x5F}, "LD      A,R", 2},
        TDisCase{{0xED, 0x67}, "RRD", 2}, TDisCase{{0xED, 0x6F}, "RLD", 2}, TDisCase{{0xED, 0xA0}, "LDI", 2},
        TDisCase{{0xED, 0xA3}, "OUTI", 2}, TDisCase{{0xED, 0xAA}, "IND", 2}, TDisCase{{0xED, 0xB1}, "CPIR", 2},
        TDisCase{{0xED, 0xB3}, "OTIR", 2}, TDisCase{{0xED, 0xB8}, "LDDR", 2}, TDisCase{{0xED, 0xBB}, "OTDR", 2},
        TDisCase{{0xED, 0x40}, "IN      B,(C)", 2}, TDisCase{{0xED, 0x70}, "IN      (HL),(C)", 2},
        TDisCase{{0xED, 0x78}, "IN      A,(C)", 2}, TDisCase{{0xED, 0x41}, "OUT     (C),B", 2},
        TDisCase{{0xED, 0x79}, "OUT     (C),A", 2}, TDisCase{{0xED, 0x71}, "DEFB    ED,71", 2},
        TDisCase{{0xED, 0x42}, "SBC     HL,BC", 2}, TDisCase{{0xED, 0x72}, "SBC     HL,SP", 2},
        TDisCase{{0xED, 0x4A}, "ADC     HL,BC", 2}, TDisCase{{0xED, 0x6A}, "ADC     HL,HL", 2},
        // The word forms are four bytes long.
        TDisCase{{0xED, 0x43, 0x34, 0x12}, "LD      (1234h),BC", 4},
        TDisCase{{0xED, 0x73, 0x34, 0x12}, "LD      (1234h),SP", 4},
        TDisCase{{0xED, 0x63, 0x34, 0x12}, "LD      (1234h),HL", 4},
        TDisCase{{0xED, 0x4B, 0x34, 0x12}, "LD      BC,(1234h)", 4},
        TDisCase{{0xED, 0x6B, 0x34, 0x12}, "LD      HL,(1234h)", 4}, TDisCase{{0xED, 0x46}, "IM      0", 2},
        TDisCase{{0xED, 0x4E}, "IM      0", 2}, TDisCase{{0xED, 0x56}, "IM      1", 2},
        TDisCase{{0xED, 0x5E}, "IM      2", 2}, TDisCase{{0xED, 0x66}, "IM      0", 2},
        TDisCase{{0xED, 0x6E}, "IM      0", 2}, TDisCase{{0xED, 0x76}, "IM      1", 2},
        TDisCase{{0xED, 0x7E}, "IM      2", 2}, TDisCase{{0xED, 0x00}, "DEFB    ED,00", 2},
        TDisCase{{0xED, 0x4C}, "DEFB    ED,4C", 2}, TDisCase{{0xED, 0x55}, "DEFB    ED,55", 2},
        TDisCase{{0xED, 0x77}, "DEFB    ED,77", 2}, TDisCase{{0xED, 0xC2}, "DEFB    ED,C2", 2},
        TDisCase{{0xED, 0xFF}, "DEFB    ED,FF", 2}));

INSTANTIATE_TEST_SUITE_P(
    IndexPrefixes, DisassemblerTable,
    ::testing::Values(
        TDisCase{{0xDD, 0x7E, 0xFB}, "LD      A,(IX-5)", 3}, TDisCase{{0xFD, 0xCB, 0x02, 0xC6}, "SET     0,(IY+2)", 4},
        TDisCase{{0xDD, 0x36, 0x00, 0xFF}, "LD      (IX+0),FF", 4}, TDisCase{{0xDD, 0xE9}, "JP      (IX)", 2},
        TDisCase{{0xFD, 0xE9}, "JP      (IY)", 2}, TDisCase{{0xDD, 0x29}, "ADD     IX,IX", 2},
        TDisCase{{0xFD, 0x29}, "ADD     IY,IY", 2}, TDisCase{{0xDD, 0x21, 0x34, 0x12}, "LD      IX,1234h", 4},
        TDisCase{{0xFD, 0x2A, 0x34, 0x12}, "LD      IY,(1234h)", 4},
        TDisCase{{0xDD, 0x22, 0x34, 0x12}, "LD      (1234h),IX", 4}, TDisCase{{0xDD, 0xE3}, "EX      (SP),IX", 2},
        TDisCase{{0xFD, 0xE5}, "PUSH    IY", 2}, TDisCase{{0xDD, 0xE1}, "POP     IX", 2},
        TDisCase{{0xDD, 0xF9}, "LD      SP,IX", 2}, TDisCase{{0xDD, 0x09}, "ADD     IX,BC", 2},
        TDisCase{{0xFD, 0x23}, "INC     IY", 2}, TDisCase{{0xDD, 0x34, 0x7F}, "INC     (IX+127)", 3},
        TDisCase{{0xDD, 0x86, 0x80}, "ADD     A,(IX-128)", 3}, TDisCase{{0xDD, 0x66, 0x05}, "LD      H,(IX+5)", 3},
        TDisCase{{0xDD, 0x74, 0x05}, "LD      (IX+5),H", 3}, TDisCase{{0xDD, 0xCB, 0x05, 0x06}, "RLC     (IX+5)", 4},
        TDisCase{{0xDD, 0xCB, 0xFF, 0x46}, "BIT     0,(IX-1)", 4},
        // Forms the index registers lack, and the index halves, are the prefix alone.
        TDisCase{{0xDD, 0x44}, "DEFB    DD", 1}, TDisCase{{0xFD, 0x76}, "DEFB    FD", 1},
        TDisCase{{0xDD, 0xCB, 0x05, 0x00}, "DEFB    DD", 1}, TDisCase{{0xDD, 0xCB, 0x05, 0x36}, "DEFB    DD", 1},
        TDisCase{{0xDD, 0xDD, 0x21, 0x00}, "DEFB    DD", 1}, TDisCase{{0xDD, 0x18, 0x00}, "DEFB    DD", 1},
        // HL is replaced wherever the text has it.
        TDisCase{{0xDD, 0xEB}, "EX      DE,IX", 2}, TDisCase{{0xDD, 0xED, 0x4A}, "ADC     IX,BC", 3},
        TDisCase{{0xDD, 0xED, 0x70}, "IN      (IX+112),(C)", 4},
        // Anything that would come out longer than four bytes is the prefix alone.
        TDisCase{{0xDD, 0xED, 0x63, 0x34}, "DEFB    DD", 1}, TDisCase{{0xFD, 0xED, 0x6B, 0x34}, "DEFB    FD", 1},
        TDisCase{{0xDD, 0xED, 0x43, 0x34}, "DEFB    DD", 1}));

using DisassemblerLine = Z80CodeFixture;

TEST_F(DisassemblerLine, PlacesAddressBytesAndInstructionInTheirColumns) {
  uint16_t length = 0;
  const std::string line = Line(1, 0, {0x00}, &length);
  EXPECT_EQ(line, "0000:00" + std::string(24, ' ') + "NOP");
  EXPECT_EQ(length, 1);

  EXPECT_EQ(Line(1, 0x1234, {0xDD, 0xCB, 0x05, 0x06}), "1234:DDCB0506" + std::string(18, ' ') + "RLC     (IX+5)");
  EXPECT_EQ(Line(1, 0xABCD, {0x01, 0x34, 0x12}), "ABCD:013412" + std::string(20, ' ') + "LD      BC,1234h");
}

TEST_F(DisassemblerLine, WidensTheAddressForProgramAndBankedAreas) {
  EXPECT_EQ(Line(0x81, 0x123456, {0x00}), "123456:00" + std::string(24, ' ') + "NOP");
  EXPECT_EQ(Line(0x41, 0x0ABCDE, {0xC9}), "0ABCDE:C9" + std::string(24, ' ') + "RET");
  // Plain areas keep 16 bits of the address.
  EXPECT_EQ(Line(1, 0x12345, {0x00}).substr(0, 5), "2345:");
}

TEST_F(DisassemblerLine, ShowsTheLabelOfTheAddressAndOfOperands) {
  AddSymbol(1, 0x3800, "start");
  EXPECT_EQ(Line(1, 0x1000, {0xCD, 0x00, 0x38}), "1000:CD0038" + std::string(20, ' ') + "CALL    start");
  EXPECT_EQ(Line(1, 0x3800, {0x00}), "3800:00       start" + std::string(12, ' ') + "NOP");
  // A symbol of another area labels nothing here; area 0x81 is area 1.
  EXPECT_EQ(Instruction({0xC3, 0x00, 0x38}), "JP      start");
  Symbols.Clear();
  AddSymbol(2, 0x3800, "data");
  EXPECT_EQ(Instruction({0xCD, 0x00, 0x38}), "CALL    3800h");
  Symbols.Clear();
  AddSymbol(1, 0x3800, "start");
  EXPECT_EQ(Line(0x81, 0x3800, {0x00}), "003800:00       start" + std::string(12, ' ') + "NOP");
  // An immediate word is labelled like an address.
  EXPECT_EQ(Instruction({0x21, 0x00, 0x38}), "LD      HL,start");
}

TEST_F(DisassemblerLine, CutsTheLineLabelToFifteenCharacters) {
  AddSymbol(1, 0x2000, "a_very_long_symbol_name");
  EXPECT_EQ(Line(1, 0x2000, {0x00}), "2000:00       a_very_long_sym" + std::string(2, ' ') + "NOP");
}

TEST_F(DisassemblerLine, LabelModeOneMarksLabelsWithTildes) {
  AddSymbol(1, 0x2000, "loop");
  char out[256];
  std::memset(out, ' ', 255);
  out[255] = '\0';
  EXPECT_EQ(Cpu.Disassemble(1, 0x2000, TCode{0x18, 0xFE}.data(), out, sizeof out, 1), 2);
  std::string line(out);
  line.erase(line.find_last_not_of(' ') + 1);
  EXPECT_EQ(line, "2000:18FE     ~loop~" + std::string(13, ' ') + "JR      ~loop~");
}

TEST_F(DisassemblerLine, KeepsRelativeTargetsUnwrapped) {
  EXPECT_EQ(Instruction({0x18, 0x01}, 0xFFFF), "JR      10002h");
  EXPECT_EQ(Instruction({0x18, 0x80}, 0x0000), "JR      FFFFFF82h");
}

TEST_F(DisassemblerLine, LeavesSymbolNamesAloneWhenSwappingHlForAnIndexRegister) {
  AddSymbol(1, 0x1234, "SHLOC");
  EXPECT_EQ(Instruction({0xDD, 0x22, 0x34, 0x12}), "LD      (SHLOC),IX");
  AddSymbol(1, 0x5678, "X(HL)Y");
  uint16_t length = 0;
  EXPECT_EQ(Instruction({0xFD, 0x21, 0x78, 0x56}, 0, &length), "LD      IY,X(HL)Y");
  EXPECT_EQ(length, 4);
  // A name with HL in it does not make an instruction without HL indexed.
  AddSymbol(1, 0x2005, "HL_TARGET");
  EXPECT_EQ(Instruction({0xDD, 0xC3, 0x05, 0x20}, 0, &length), "DEFB    DD");
  EXPECT_EQ(length, 1);
}

TEST_F(DisassemblerLine, DecodeInstructionWritesTheExactTerminatedText) {
  struct {
    TCode Code;
    const char* Text;
  } cases[] = {{{0x00}, "NOP     "}, {{0x76}, "HALT    "}, {{0x17}, "RLA "}, {{0xC9}, "RET"}, {{0x10, 0x00}, "DJNZ    0002h"}};
  for (const auto& c : cases) {
    char out[64];
    std::memset(out, '#', sizeof out);
    Cpu.DecodeInstruction(1, 0, c.Code.data(), 0, out, sizeof out);
    EXPECT_STREQ(out, c.Text);
  }
  // In the line every text keeps its trailing blanks and is followed by one
  // more blank where its terminator would stand.
  const struct {
    TCode Code;
    const char* Column;
  } lines[] = {{{0xDD, 0x44}, "DEFB    DD   #"}, {{0x00}, "NOP      #"}, {{0xCD, 0x00, 0x38}, "CALL    3800h #"}};
  for (const auto& c : lines) {
    char out[256];
    std::memset(out, '#', 255);
    out[255] = '\0';
    Cpu.Disassemble(1, 0, c.Code.data(), out, sizeof out, 0);
    EXPECT_EQ(std::string(out + 31, std::strlen(c.Column)), c.Column);
  }
}

TEST_F(DisassemblerLine, FormatAddressWritesNameOrHexDigits) {
  char out[300];
  EXPECT_EQ(Cpu.FormatAddress(out, sizeof out, 1, 0x38, 0), 5);
  EXPECT_STREQ(out, "0038h");
  EXPECT_EQ(Cpu.FormatAddress(out, sizeof out, 1, 0x10001, 0), 6);
  EXPECT_STREQ(out, "10001h");
  AddSymbol(1, 0x38, "rst38");
  EXPECT_EQ(Cpu.FormatAddress(out, sizeof out, 1, 0x38, 1), 7);
  EXPECT_STREQ(out, "~rst38~");
  EXPECT_EQ(Cpu.FormatAddress(out, 4, 1, 0x38, 0), 3);
  EXPECT_STREQ(out, "rst");
  EXPECT_EQ(Cpu.FormatAddress(out, 0, 1, 0x38, 0), 0);
}

// Every opcode of every page: a length of 1 to 4, no byte read past the four
// given (the sanitizer build watches the heap copies), and a line that stays
// blank-padded and terminated inside buffers of any size, even when every
// address carries a symbol of 255 characters.
TEST_F(DisassemblerLine, SweepStaysInsideEveryBuffer) {
  const std::string longName(255, 'n');
  for (uint32_t address = 0; address <= 0xFFFF; ++address) AddSymbol(1, address, longName);
  ASSERT_EQ(Instruction({0xCD, 0x05, 0x12}), "CALL    " + longName.substr(0, 255 - 31 - 8));

  for (const TCode& code : AllOpcodes()) {
    auto bytes = std::make_unique<uint8_t[]>(4);
    std::memcpy(bytes.get(), code.data(), 4);
    for (std::size_t size : {256u, 128u, 40u, 8u, 1u}) {
      auto out = std::make_unique<char[]>(size);
      std::memset(out.get(), ' ', size - 1);
      out[size - 1] = '\0';
      const uint16_t length = Cpu.Disassemble(1, 0x4000, bytes.get(), out.get(), size, 0);
      ASSERT_GE(length, 1) << Hex(code.data(), 4);
      ASSERT_LE(length, 4) << Hex(code.data(), 4);
      ASSERT_EQ(std::strlen(out.get()), size - 1) << Hex(code.data(), 4);
      for (std::size_t i = 0; i + 1 < size; ++i) ASSERT_TRUE(std::isprint(static_cast<unsigned char>(out[i])));
      if (size >= 14) {
        std::string digits = Hex(code.data(), length);
        std::erase(digits, ' ');
        ASSERT_EQ(std::string(out.get() + 5, digits.size()), digits);
      }
      auto text = std::make_unique<char[]>(size);
      const uint16_t decoded = Cpu.DecodeInstruction(1, 0x4000, bytes.get(), 0, text.get(), size);
      ASSERT_GE(decoded, 1);
      ASSERT_LE(decoded, 4);
      ASSERT_LT(std::strlen(text.get()), size);
    }
  }
}

}  // namespace
