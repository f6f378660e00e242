// The single-line assembler: lines to bytes, its error texts, operand kinds,
// the instruction table's shape, the call test of step over, and the round
// trip through the disassembler.
#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "MessageBoxRecorder.h"
#include "Tgtz80AsmTable.h"
#include "Z80CodeFixture.h"

namespace {

struct TAsmCase {
  const char* Source;
  uint32_t Address;
  std::vector<uint8_t> Bytes;
};

void PrintTo(const TAsmCase& c, std::ostream* os) { *os << '"' << c.Source << '"'; }

class AssemblerLines : public Z80CodeFixture, public ::testing::WithParamInterface<TAsmCase> {};

TEST_P(AssemblerLines, GiveBytes) {
  TMessageBoxRecorder boxes;
  std::string source = GetParam().Source;
  uint8_t out[4] = {};
  const uint16_t n = Cpu.Assemble(GetParam().Address, source.data(), out);
  EXPECT_EQ(std::vector<uint8_t>(out, out + n), GetParam().Bytes);
  EXPECT_TRUE(boxes.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Forms, AssemblerLines,
    ::testing::Values(
        TAsmCase{"nop", 0, {0x00}}, TAsmCase{"NOP", 0, {0x00}}, TAsmCase{"ldir", 0, {0xED, 0xB0}},
        TAsmCase{"Halt", 0, {0x76}}, TAsmCase{"ld a,(ix+5)", 0, {0xDD, 0x7E, 0x05}},
        TAsmCase{"LD (IX-128),7", 0, {0xDD, 0x36, 0x80, 0x07}}, TAsmCase{"LD (IY+127),A", 0, {0xFD, 0x77, 0x7F}},
        TAsmCase{"JP (IX)", 0, {0xDD, 0xE9}}, TAsmCase{"JP (HL)", 0, {0xE9}}, TAsmCase{"JP C,1234h", 0, {0xDA, 0x34, 0x12}},
        TAsmCase{"SET 7,(IY+1)", 0, {0xFD, 0xCB, 0x01, 0xFE}}, TAsmCase{"BIT 0,B", 0, {0xCB, 0x40}},
        TAsmCase{"RES 3,(HL)", 0, {0xCB, 0x9E}}, TAsmCase{"RLC (IX-1)", 0, {0xDD, 0xCB, 0xFF, 0x06}},
        TAsmCase{"SRL A", 0, {0xCB, 0x3F}}, TAsmCase{"JR 1000h", 0x1000, {0x18, 0xFE}},
        TAsmCase{"JR 1081h", 0x1000, {0x18, 0x7F}}, TAsmCase{"JR 0F82h", 0x1000, {0x18, 0x80}},
        TAsmCase{"JR NC,1010h", 0x1000, {0x30, 0x0E}}, TAsmCase{"DJNZ 0FFEh", 0x1000, {0x10, 0xFC}},
        TAsmCase{"RST 38h", 0, {0xFF}}, TAsmCase{"RST 0", 0, {0xC7}}, TAsmCase{"IM 0", 0, {0xED, 0x46}},
        TAsmCase{"IM 1", 0, {0xED, 0x56}}, TAsmCase{"IM 2", 0, {0xED, 0x5E}},
        TAsmCase{"LD BC,1234h", 0, {0x01, 0x34, 0x12}}, TAsmCase{"LD BC,12", 0, {0x01, 0x0C, 0x00}},
        TAsmCase{"LD (5),A", 0, {0x32, 0x05, 0x00}}, TAsmCase{"LD A,(5)", 0, {0x3A, 0x05, 0x00}},
        TAsmCase{"LD HL,(1234h)", 0, {0x2A, 0x34, 0x12}}, TAsmCase{"LD (1234h),HL", 0, {0x22, 0x34, 0x12}},
        TAsmCase{"LD DE,(1234h)", 0, {0xED, 0x5B, 0x34, 0x12}}, TAsmCase{"LD (1234h),SP", 0, {0xED, 0x73, 0x34, 0x12}},
        TAsmCase{"LD IX,(1234h)", 0, {0xDD, 0x2A, 0x34, 0x12}}, TAsmCase{"LD IY,65535", 0, {0xFD, 0x21, 0xFF, 0xFF}},
        TAsmCase{"LD A,I", 0, {0xED, 0x57}}, TAsmCase{"LD R,A", 0, {0xED, 0x4F}}, TAsmCase{"LD SP,IY", 0, {0xFD, 0xF9}},
        TAsmCase{"LD (HL),0FFh", 0, {0x36, 0xFF}}, TAsmCase{"LD A,(DE)", 0, {0x1A}}, TAsmCase{"LD (BC),A", 0, {0x02}},
        TAsmCase{"LD H,(IX+0)", 0, {0xDD, 0x66, 0x00}}, TAsmCase{"SUB B", 0, {0x90}}, TAsmCase{"CP 10", 0, {0xFE, 0x0A}},
        TAsmCase{"AND (IX+2)", 0, {0xDD, 0xA6, 0x02}}, TAsmCase{"ADD A,B", 0, {0x80}}, TAsmCase{"ADD IY,IY", 0, {0xFD, 0x29}},
        TAsmCase{"ADC HL,SP", 0, {0xED, 0x7A}}, TAsmCase{"SBC A,5", 0, {0xDE, 0x05}}, TAsmCase{"INC (IY-3)", 0, {0xFD, 0x34, 0xFD}},
        TAsmCase{"DEC IX", 0, {0xDD, 0x2B}}, TAsmCase{"EX AF,AF'", 0, {0x08}}, TAsmCase{"EX (SP),IY", 0, {0xFD, 0xE3}},
        TAsmCase{"IN A,(0FEh)", 0, {0xDB, 0xFE}}, TAsmCase{"IN E,(C)", 0, {0xED, 0x58}}, TAsmCase{"OUT (C),A", 0, {0xED, 0x79}},
        TAsmCase{"OUT (254),A", 0, {0xD3, 0xFE}}, TAsmCase{"PUSH AF", 0, {0xF5}}, TAsmCase{"POP IY", 0, {0xFD, 0xE1}},
        TAsmCase{"RET", 0, {0xC9}}, TAsmCase{"RET PO", 0, {0xE0}}, TAsmCase{"CALL M,0", 0, {0xFC, 0x00, 0x00}},
        // Expressions, and an expression that ends where no operator stands.
        TAsmCase{"LD A,2*3+1", 0, {0x3E, 0x07}}, TAsmCase{"LD HL,(100h+2)", 0, {0x2A, 0x02, 0x01}},
        TAsmCase{"LD A,5 junk", 0, {0x3E, 0x05}}));

// Blanks and tabs around the mnemonic and operands do not matter; a
// displacement takes the usual number syntax.
INSTANTIATE_TEST_SUITE_P(
    Spacing, AssemblerLines,
    ::testing::Values(TAsmCase{"LD\tA, B", 0, {0x78}}, TAsmCase{"LD A,B ", 0, {0x78}}, TAsmCase{"LD A , B", 0, {0x78}},
                      TAsmCase{"  ld\t a ,\t(hl)\t", 0, {0x7E}}, TAsmCase{"nop  ", 0, {0x00}},
                      TAsmCase{"LD A,(IX+10h)", 0, {0xDD, 0x7E, 0x10}}, TAsmCase{"LD A,(IX-80h)", 0, {0xDD, 0x7E, 0x80}},
                      TAsmCase{"LD A,(IY+ 5)", 0, {0xFD, 0x7E, 0x05}}, TAsmCase{"LD A,(IX5)", 0, {0xDD, 0x7E, 0x05}},
                      TAsmCase{"ld a,(iy-0)", 0, {0xFD, 0x7E, 0x00}}));

struct TAsmError {
  const char* Source;
  uint32_t Address;
  const char* Message;
};

void PrintTo(const TAsmError& c, std::ostream* os) { *os << '"' << c.Source << '"'; }

class AssemblerErrors : public Z80CodeFixture, public ::testing::WithParamInterface<TAsmError> {};

TEST_P(AssemblerErrors, ShowOneMessageAndGiveNothing) {
  TMessageBoxRecorder boxes;
  std::string source = GetParam().Source;
  uint8_t out[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_EQ(Cpu.Assemble(GetParam().Address, source.data(), out), 0);
  ASSERT_EQ(boxes.Messages.size(), 1u);
  EXPECT_EQ(boxes.Messages[0].Text, GetParam().Message);
  EXPECT_EQ(boxes.Messages[0].Caption, "Error");
  EXPECT_EQ(boxes.Messages[0].Flags, MB_OK | MB_ICONSTOP);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AssemblerErrors,
    ::testing::Values(TAsmError{"NOP A", 0, "Incorrect end of line"}, TAsmError{"LDIR HL", 0, "Incorrect end of line"},
                      TAsmError{"NOP ,A", 0, "Incorrect end of line"},
                      TAsmError{"MOV A,B", 0, "Syntax error"}, TAsmError{"", 0, "Syntax error"},
                      TAsmError{"LD A,(IX+200)", 0, "Syntax error"}, TAsmError{"LD A,(IX+128)", 0, "Syntax error"},
                      TAsmError{"LD A,(IX-129)", 0, "Syntax error"}, TAsmError{"SUB A,B", 0, "Syntax error"},
                      TAsmError{"IN A,(300)", 0, "Syntax error"}, TAsmError{"LD (HL),(HL)", 0, "Syntax error"},
                      TAsmError{"LD A,70000", 0, "Syntax error"}, TAsmError{"LD A,(5", 0, "Syntax error"},
                      TAsmError{"LD A,undefined", 0, "Syntax error"}, TAsmError{"LD H,(IX", 0, "Syntax error"},
                      TAsmError{"BIT 8,A", 0, "Incorrect bit field"}, TAsmError{"SET 9,(IX+1)", 0, "Incorrect bit field"},
                      TAsmError{"JR 1082h", 0x1000, "Relative address out of range"},
                      TAsmError{"JR 0F81h", 0x1000, "Relative address out of range"},
                      TAsmError{"DJNZ 0", 0x1000, "Relative address out of range"},
                      // Forms the disassembler shows but the instruction table lacks.
                      TAsmError{"SUB A,12", 0, "Syntax error"}, TAsmError{"IN (HL),(C)", 0, "Syntax error"},
                      TAsmError{"EX DE,IX", 0, "Syntax error"}, TAsmError{"ADC IX,BC", 0, "Syntax error"},
                      TAsmError{"RST 39h", 0, "Illegal RST address"}, TAsmError{"RST 40h", 0, "Illegal RST address"},
                      TAsmError{"IM 3", 0, "Illegal interrupt mode"}));

// An operand that is there but cannot be read is an error, not a missing
// operand.
INSTANTIATE_TEST_SUITE_P(UnreadableOperands, AssemblerErrors,
                         ::testing::Values(TAsmError{"RET Q", 0, "Syntax error"},
                                           TAsmError{"SUB A,FF", 0, "Syntax error"},
                                           TAsmError{"PUSH HL,junk", 0, "Syntax error"},
                                           TAsmError{"INC (IX+1000)", 0, "Syntax error"}));

// A displacement is a number, never a symbol name, nothing, or a number with
// something after it.
INSTANTIATE_TEST_SUITE_P(Displacements, AssemblerErrors,
                         ::testing::Values(TAsmError{"LD A,(IX+OFFS)", 0, "Syntax error"},
                                           TAsmError{"LD A,(IX+)", 0, "Syntax error"},
                                           TAsmError{"LD A,(IX+5x)", 0, "Syntax error"},
                                           TAsmError{"LD A,(IX+5+1)", 0, "Syntax error"},
                                           TAsmError{"LD A,(IY+0FFh)", 0, "Syntax error"}));

using Assembler = Z80CodeFixture;

TEST_F(Assembler, ClassifiesOperands) {
  AddSymbol(1, 0x4000, "buffer");
  const struct {
    const char* Text;
    uint8_t Kind;
    uint16_t Value;
  } cases[] = {
      {"b", K_B, 0},           {"(hl)", K_MHL, 0},      {"a", K_A, 0},           {"af'", K_AF2, 0},
      {"c", K_C, 0},           {"nz", K_NZ, 0},         {"(c)", K_MC, 0},        {"(SP)", K_MSP, 0},
      {"(ix)", K_MIX, 0},      {"(IY)", K_MIY, 0},      {"(bc)", K_MBC, 0},      {"(DE)", K_MDE, 0},
      {"r", K_R, 0},           {"(IX+5)", K_IXD, 5},    {"(iy-128)", K_IYD, 0xFF80}, {"(IX+", K_NONE, 0},
      {"255", K_N, 255},       {"256", K_NN, 256},      {"65535", K_NN, 0xFFFF}, {"65536", K_NONE, 0},
      {"(0FFh)", K_MN, 255},   {"(100h)", K_MNN, 256},  {"buffer", K_NN, 0x4000}, {"(buffer+1)", K_MNN, 0x4001},
      {"", K_NONE, 0},         {"()", K_NONE, 0},       {"(", K_NONE, 0},         {"0x10", K_NONE, 0},
  };
  for (const auto& c : cases) {
    uint16_t value = 0;
    EXPECT_EQ(Cpu.ParseOperand(c.Text, value), c.Kind) << c.Text;
    if (c.Kind != K_NONE) {
      EXPECT_EQ(value, c.Value) << c.Text;
    }
  }
}

TEST_F(Assembler, StoresOperandsByRowKind) {
  uint8_t out[2] = {};
  EXPECT_EQ(Cpu.StoreOperand(K_N, 0x12, out), 1);
  EXPECT_EQ(out[0], 0x12);
  EXPECT_EQ(Cpu.StoreOperand(K_IXD, 0xFF80, out), 1);
  EXPECT_EQ(out[0], 0x80);
  EXPECT_EQ(Cpu.StoreOperand(K_MNN, 0x1234, out), 2);
  EXPECT_EQ(out[0], 0x34);
  EXPECT_EQ(out[1], 0x12);
  EXPECT_EQ(Cpu.StoreOperand(K_HL, 0x1234, out), 0);
}

TEST_F(Assembler, TableHoldsEveryGroupInAlphabeticalOrder) {
  std::vector<std::string> mnemonics;
  int operandRows = 0;
  int rowsOfGroup = -1;
  for (std::size_t i = 0; i < AsmTableSize; ++i) {
    const TAsmRow& row = AsmTable[i];
    if (row.Mnemonic == nullptr) {
      ++operandRows;
      ++rowsOfGroup;
      EXPECT_NE(row.Kind1, K_HEADER);
      continue;
    }
    EXPECT_EQ(row.Kind1, K_HEADER);
    EXPECT_EQ(row.Kind2, K_HEADER);
    if (!mnemonics.empty()) {
      EXPECT_LT(mnemonics.back(), row.Mnemonic);
    }
    mnemonics.push_back(row.Mnemonic);
    // A header carries an opcode exactly when its mnemonic takes no operands.
    const bool carriesOpcode = row.Opcode[0] != 0xFF;
    const bool hasRows = i + 1 < AsmTableSize && AsmTable[i + 1].Mnemonic == nullptr;
    EXPECT_NE(carriesOpcode, hasRows) << row.Mnemonic;
  }
  EXPECT_EQ(mnemonics.size(), 67u);
  EXPECT_EQ(operandRows, 446);
}

TEST_F(Assembler, CallTargetRecognisesCallsOnly) {
  uint32_t target = 0xDEAD;
  EXPECT_EQ(Cpu.GetCallTarget(TCode{0xCD, 0x34, 0x12}.data(), 0, target), 2);
  EXPECT_EQ(target, 0x1234u);
  for (uint8_t op : {0xC4, 0xCC, 0xD4, 0xDC, 0xE4, 0xEC, 0xF4, 0xFC}) {
    target = 0;
    EXPECT_EQ(Cpu.GetCallTarget(TCode{op, 0x00, 0x80}.data(), 0, target), 2);
    EXPECT_EQ(target, 0x8000u);
  }
  for (uint8_t op : {0xC3, 0xFF, 0xC7, 0xDD, 0xC9, 0x00}) {
    target = 0xDEAD;
    EXPECT_EQ(Cpu.GetCallTarget(TCode{op, 0xCD, 0x00}.data(), 0, target), 0);
    EXPECT_EQ(target, 0xDEADu);
  }
}

// The encoding the assembler picks for an instruction with two: the
// one-byte-shorter loads of HL, and the first mode of each interrupt-mode
// mirror.
std::vector<uint8_t> PreferredEncoding(const TCode& code, uint16_t length) {
  if (code[0] == 0xED && code[1] == 0x63) return {0x22, code[2], code[3]};
  if (code[0] == 0xED && code[1] == 0x6B) return {0x2A, code[2], code[3]};
  if (code[0] == 0xED && (code[1] & 0xC7) == 0x46) {
    static constexpr uint8_t Mode[4] = {0x46, 0x46, 0x56, 0x5E};
    return {0xED, Mode[(code[1] >> 3) & 3]};
  }
  return {code.begin(), code.begin() + length};
}

// The disassembler's lines that the assembler does not take: data bytes, the
// forms it lacks, and labels that start with a letter (read as symbol names).
bool IsKnownRefusal(const std::string& line) {
  const std::string mnemonic = MnemonicOf(line);
  const std::string operands = OperandsOf(line);
  if (mnemonic == "DEFB" || line == "IN      (HL),(C)" || line == "EX      DE,IX" || line == "EX      DE,IY") return true;
  if (std::set<std::string>{"SUB", "AND", "XOR", "OR", "CP"}.contains(mnemonic) && operands.starts_with("A,")) return true;
  for (const std::string& token : Split(operands, ",()")) {
    if (token.size() > 1 && token.back() == 'h' && token[0] >= 'A' && token[0] <= 'F') return true;
  }
  return false;
}

// Every line the disassembler writes and the assembler reads assembles back to
// the same bytes. The disassembler writes bytes in hexadecimal without suffix
// and displacements in decimal, so a line is read with the radix that matches
// its numbers; LD (IX+d),n holds one of each and is left to the table above.
TEST_F(Assembler, ReadsBackWhatTheDisassemblerWrites) {
  TMessageBoxRecorder boxes;
  int accepted = 0;
  for (const TCode& code : AllOpcodes()) {
    uint16_t length = 0;
    const std::string line = Instruction(code, 0x4000, &length);
    const bool indexed = line.find("(IX") != std::string::npos || line.find("(IY") != std::string::npos;
    if (indexed && code[1] == 0x36) continue;
    SetDefaultRadix(indexed ? 'D' : 'H');
    std::string text = line;
    uint8_t out[4] = {};
    const uint16_t n = Cpu.Assemble(0x4000, text.data(), out);
    if (n == 0) {
      EXPECT_TRUE(IsKnownRefusal(line)) << line;
      continue;
    }
    ++accepted;
    const std::vector<uint8_t> expected = PreferredEncoding(code, length);
    EXPECT_EQ(Hex(out, n), Hex(expected.data(), expected.size())) << line;
  }
  EXPECT_GT(accepted, 2500);
}

}  // namespace
