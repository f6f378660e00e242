// The single-line assembler: one line of Z80 source typed at an address of the
// code view becomes up to four code bytes.

#include <cctype>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "MessageBox.h"
#include "Tgtz80.h"
#include "Tgtz80AsmTable.h"
#include "Utility.h"

namespace {

// Operand texts of kinds 1 to 34, matched without regard to letter case.
constexpr const char* OperandNames[] = {
    "B",  "C",  "D",  "E",  "H",  "L",  "(HL)", "A",  "(IX+", "(IY+", "AF",   "BC", "DE", "HL",   "SP",   "IX",   "IY",
    "AF'", "NZ", "Z", "NC", "C",  "PO", "PE",   "P",  "M",    "(C)",  "(SP)", "I",  "R",  "(IX)", "(IY)", "(BC)", "(DE)",
};
static_assert(std::size(OperandNames) == 34);

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

char* SkipBlanks(char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

// Cuts blanks and tabs off the end of the text that starts at p.
void TrimEnd(char* p) {
  std::size_t n = std::strlen(p);
  while (n > 0 && IsBlank(p[n - 1])) p[--n] = '\0';
}

// The displacement of "(IX...)" or "(IY...)": an optionally signed number in
// the usual number syntax; a symbol name, nothing, or anything after the
// number does not count.
bool ReadDisplacement(std::string_view text, int32_t& displacement) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i == text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  const std::string number(text);
  uint32_t value = 0;
  if (ParseNumber(number.c_str(), value) != 0) return false;
  displacement = static_cast<int32_t>(value);
  return displacement >= -128 && displacement <= 127;
}

bool RowKindAccepts(int8_t rowKind, uint8_t operandKind) {
  if (rowKind == operandKind) return true;
  return (rowKind == K_NN && operandKind == K_N) || (rowKind == K_MNN && operandKind == K_MN);
}

bool IsIndexPrefix(uint8_t byte) { return byte == 0xDD || byte == 0xFD; }

// Shows an assembler error; the line assembles to nothing.
uint16_t Fail(const char* text) {
  MessageBox(text, "Error", MB_OK | MB_ICONSTOP);
  return 0;
}

}  // namespace

uint8_t TCpu::ParseOperand(const char* text, uint16_t& value) const {
  const std::string_view operand(text);
  if (EqualNoCase(operand, "(IX)")) return K_MIX;
  if (EqualNoCase(operand, "(IY)")) return K_MIY;

  const bool ix = StartsWithNoCase(operand, "(IX");
  if (ix || StartsWithNoCase(operand, "(IY")) {
    int32_t displacement = 0;
    if (operand.back() != ')' || !ReadDisplacement(operand.substr(3, operand.size() - 4), displacement)) return K_NONE;
    value = static_cast<uint16_t>(displacement);
    return ix ? K_IXD : K_IYD;
  }

  for (std::size_t i = 0; i < std::size(OperandNames); ++i) {
    if (EqualNoCase(operand, OperandNames[i])) return static_cast<uint8_t>(i + 1);
  }

  // A bracketed value is an address (memory or port); anything else an
  // immediate value.
  const bool bracketed = !operand.empty() && operand.front() == '(';
  std::string expression(operand);
  if (bracketed) {
    if (operand.size() < 2 || operand.back() != ')') return K_NONE;
    expression = operand.substr(1, operand.size() - 2);
  }
  uint32_t result = 0;
  if (EvalString(expression.c_str(), result) != 0 || result > 0xFFFF) return K_NONE;
  value = static_cast<uint16_t>(result);
  if (result < 0x100) return bracketed ? K_MN : K_N;
  return bracketed ? K_MNN : K_NN;
}

uint16_t TCpu::StoreOperand(uint8_t kind, uint16_t value, uint8_t* out) const {
  switch (kind) {
    case K_IXD:
    case K_IYD:
    case K_N:
    case K_MN:
      out[0] = static_cast<uint8_t>(value);
      return 1;
    case K_NN:
    case K_MNN:
      out[0] = static_cast<uint8_t>(value);
      out[1] = static_cast<uint8_t>(value >> 8);
      return 2;
    default:
      return 0;
  }
}

uint8_t TCpu::GetCallTarget(const uint8_t* code, uint32_t /*address*/, uint32_t& target) const {
  if (code[0] != 0xCD && (code[0] & 0xC7) != 0xC4) return 0;
  target = code[1] + 256u * code[2];
  return 2;
}

uint16_t TCpu::Assemble(uint32_t address, char* source, uint8_t* out) const {
  // Split the line: the mnemonic up to the first blank or tab, then operand 1,
  // then after the first ',' operand 2, each without blanks around it.
  char* mnemonic = SkipBlanks(source);
  char* rest = mnemonic + std::strcspn(mnemonic, " \t");
  if (*rest != '\0') *rest++ = '\0';
  char* operand1 = SkipBlanks(rest);
  char* operand2 = operand1 + std::strlen(operand1);
  if (char* comma = std::strchr(operand1, ',')) {
    *comma = '\0';
    operand2 = SkipBlanks(comma + 1);
  }
  TrimEnd(operand1);
  TrimEnd(operand2);

  const TAsmRow* row = AsmTable;
  const TAsmRow* const end = AsmTable + AsmTableSize;
  while (row != end && !(row->Mnemonic != nullptr && EqualNoCase(row->Mnemonic, mnemonic))) ++row;
  if (row == end) return Fail("Syntax error");

  if (row->Opcode[0] != 0xFF || row->Opcode[1] != 0xFF) {
    if (*operand1 != '\0' || *operand2 != '\0') return Fail("Incorrect end of line");
    out[0] = row->Opcode[0];
    if (row->Opcode[1] == 0) return 1;
    out[1] = row->Opcode[1];
    return 2;
  }

  uint16_t a1 = 0;
  uint16_t a2 = 0;
  const uint8_t kind1 = ParseOperand(operand1, a1);
  const uint8_t kind2 = ParseOperand(operand2, a2);
  // An operand that is there but cannot be read must not pass for a missing
  // one: "RET Q" or "SUB A,FF" would quietly become RET or SUB A.
  if ((kind1 == K_NONE && *operand1 != '\0') || (kind2 == K_NONE && *operand2 != '\0')) return Fail("Syntax error");
  ++row;
  while (row != end && row->Mnemonic == nullptr && !(RowKindAccepts(row->Kind1, kind1) && RowKindAccepts(row->Kind2, kind2))) {
    ++row;
  }
  if (row == end || row->Mnemonic != nullptr) return Fail("Syntax error");

  const uint8_t* op = row->Opcode;
  const uint16_t key = IsIndexPrefix(op[0]) ? static_cast<uint16_t>(op[1] << 8 | op[3])
                                            : static_cast<uint16_t>(op[0] << 8 | op[1]);

  if (key >= 0xCB40 && key <= 0xCBFF) {  // BIT, RES, SET
    if (a1 > 7) return Fail("Incorrect bit field");
    if (kind2 == K_IXD || kind2 == K_IYD) {
      out[0] = op[0];
      out[1] = 0xCB;
      out[2] = static_cast<uint8_t>(a2);
      out[3] = static_cast<uint8_t>(op[3] | a1 << 3);
      return 4;
    }
    out[0] = 0xCB;
    out[1] = static_cast<uint8_t>(op[1] | a1 << 3);
    return 2;
  }

  if ((op[0] & 0xC7) == 0 && op[0] >= 0x10) {  // DJNZ, JR
    const uint16_t target = row->Kind2 == K_NONE ? a1 : a2;
    const int32_t displacement = static_cast<int32_t>(target - (address + 2));
    if (displacement < -128 || displacement > 127) return Fail("Relative address out of range");
    out[0] = op[0];
    out[1] = static_cast<uint8_t>(displacement);
    return 2;
  }

  if (op[0] == 0xC7) {  // RST
    if ((a1 & 0xC7) != 0) return Fail("Illegal RST address");
    out[0] = static_cast<uint8_t>(0xC7 | a1);
    return 1;
  }

  if (key == 0xED46) {  // IM
    if (a1 > 2) return Fail("Illegal interrupt mode");
    out[0] = 0xED;
    out[1] = static_cast<uint8_t>(0x46 | (a1 > 0 ? a1 + 1 : 0) << 3);
    return 2;
  }

  std::memcpy(out, op, 4);
  if (IsIndexPrefix(op[0]) && op[1] == 0xCB) {  // indexed rotations and shifts
    out[2] = static_cast<uint8_t>(a1);
    return 4;
  }
  const bool prefixed = op[0] == 0xCB || op[0] == 0xED || IsIndexPrefix(op[0]);
  uint16_t length = prefixed ? 2 : 1;
  if (IsIndexPrefix(op[0]) && op[1] == 0x36) {  // LD (IX+d),n
    out[2] = static_cast<uint8_t>(a1);
    out[3] = static_cast<uint8_t>(a2);
    return 4;
  }
  length += StoreOperand(static_cast<uint8_t>(row->Kind1), a1, out + length);
  length += StoreOperand(static_cast<uint8_t>(row->Kind2), a2, out + length);
  return length;
}
