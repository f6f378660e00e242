// The disassembler: code bytes at one address become one fixed-column line.
// Opcodes are decoded by their bit fields, x = bits 7-6, y = bits 5-3,
// z = bits 2-0, p = bits 5-4 and q = bit 3.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "Configuration.h"
#include "Symbols.h"
#include "Tgtz80.h"

namespace {

constexpr std::string_view Registers[8] = {"B", "C", "D", "E", "H", "L", "(HL)", "A"};
// The "DEFB" slot is never reached: CB 30 to CB 37 are decoded before.
constexpr std::string_view Rotations[8] = {"RLC ", "RRC ", "RL  ", "RR  ", "SLA ", "SRA ", "DEFB", "SRL "};
constexpr std::string_view BitOperations[4] = {"", "BIT", "RES", "SET"};
constexpr std::string_view Arithmetic[8] = {"ADD", "ADC", "SUB", "SBC", "AND", "XOR", "OR ", "CP "};
constexpr std::string_view Conditions[8] = {"NZ", "Z", "NC", "C", "PO", "PE", "P", "M"};
constexpr std::string_view StackPairs[4] = {"BC", "DE", "HL", "AF"};
constexpr std::string_view Pairs[4] = {"BC", "DE", "HL", "SP"};
constexpr std::string_view AccumulatorOperations[8] = {"RLCA", "RRCA", "RLA ", "RRA ", "DAA ", "CPL ", "SCF ", "CCF "};

struct TEdRow {
  uint8_t Opcode;
  std::string_view Text;
};

// ED instructions with a text of their own, searched before the grouped forms.
constexpr TEdRow EdRows[] = {
    {0x44, "NEG"},  {0x45, "RETN"}, {0x47, "LD      I,A"}, {0x4D, "RETI"}, {0x4F, "LD      R,A"},
    {0x57, "LD      A,I"}, {0x5F, "LD      A,R"}, {0x67, "RRD"},  {0x6F, "RLD"},  {0xA0, "LDI"},
    {0xA1, "CPI"},  {0xA2, "INI"},  {0xA3, "OUTI"}, {0xA8, "LDD"},  {0xA9, "CPD"},  {0xAA, "IND"},
    {0xAB, "OUTD"}, {0xB0, "LDIR"}, {0xB1, "CPIR"}, {0xB2, "INIR"}, {0xB3, "OTIR"}, {0xB8, "LDDR"},
    {0xB9, "CPDR"}, {0xBA, "INDR"}, {0xBB, "OTDR"},
};

constexpr char HexDigits[] = "0123456789ABCDEF";

// Room for a label: a symbol name of at most 255 characters between two '~'.
constexpr std::size_t LABEL_SIZE = 260;

// A decoded instruction. The label of an address operand is kept apart from
// the text, so that rewriting HL for an index register never touches a
// symbol name; it is put in only when the text is written out.
struct TInstruction {
  char Text[48];
  int Size = 0;
  int LabelAt = -1;  // position in Text at which the label stands, -1 for none
  uint32_t Label = 0;
  uint16_t Length = 0;

  void Put(std::string_view s) {
    const std::size_t n = std::min(s.size(), sizeof Text - 1 - Size);
    std::memcpy(Text + Size, s.data(), n);
    Size += static_cast<int>(n);
  }
  void PutHex(uint8_t b) {
    const char digits[2] = {HexDigits[b >> 4], HexDigits[b & 15]};
    Put(std::string_view(digits, 2));
  }
  void PutLabel(uint32_t address) {
    LabelAt = Size;
    Label = address;
  }
  void Set(std::string_view s, uint16_t length) {
    Size = 0;
    LabelAt = -1;
    Put(s);
    Length = length;
  }

  // First position of s that lies wholly in the text before or wholly in the
  // text after the label; -1 when there is none.
  int Find(std::string_view s) const {
    const std::string_view text(Text, Size);
    for (std::size_t at = text.find(s); at != std::string_view::npos; at = text.find(s, at + 1)) {
      const int first = static_cast<int>(at);
      if (LabelAt < 0 || first >= LabelAt || first + static_cast<int>(s.size()) <= LabelAt) return first;
    }
    return -1;
  }
  void Replace(int at, int count, std::string_view with) {
    char rest[sizeof Text];
    const int restSize = Size - at - count;
    std::memcpy(rest, Text + at + count, restSize);
    Size = at;
    Put(with);
    if (LabelAt > at) LabelAt += Size - (at + count);
    Put(std::string_view(rest, restSize));
  }
};

// Upper-case hexadecimal digits of value, at least minDigits of them (at most
// 8 characters); returns how many were written.
std::size_t PutHexNumber(char* out, uint32_t value, int minDigits) {
  int digits = minDigits;
  while (digits < 8 && (value >> (4 * digits)) != 0) ++digits;
  for (int i = 0; i < digits; ++i) out[i] = HexDigits[(value >> (4 * (digits - 1 - i))) & 15];
  return static_cast<std::size_t>(digits);
}

uint16_t Word(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

// Relative jumps keep their target unwrapped: a JR at FFFFh may lead to 10002h.
uint32_t RelativeTarget(uint32_t address, uint8_t displacement) {
  return address + 2 + static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(displacement)));
}

void DecodeCb(uint8_t b, TInstruction& ins) {
  const int x = b >> 6, y = (b >> 3) & 7, z = b & 7;
  if (x != 0) {
    ins.Put(BitOperations[x]);
    ins.Put("     ");
    ins.Put(std::string_view(&"01234567"[y], 1));
    ins.Put(",");
    ins.Put(Registers[z]);
    ins.Length = 2;
  } else if (y == 6) {  // the unassigned shift slot
    ins.Put("DEFB    CB");
    ins.Length = 1;
  } else {
    ins.Put(Rotations[y]);
    ins.Put("    ");
    ins.Put(Registers[z]);
    ins.Length = 2;
  }
}

void DecodeEd(const uint8_t* code, TInstruction& ins) {
  const uint8_t b = code[1];
  const int y = (b >> 3) & 7, p = y >> 1;
  ins.Length = 2;
  for (const TEdRow& row : EdRows) {
    if (row.Opcode == b) return ins.Put(row.Text);
  }
  if (b >= 0x40 && b <= 0x7F) {
    switch (b & 0x47) {
      case 0x40:
        ins.Put("IN      ");
        ins.Put(Registers[y]);
        return ins.Put(",(C)");
      case 0x41:
        if (y == 6) break;
        ins.Put("OUT     (C),");
        return ins.Put(Registers[y]);
      case 0x42:
        ins.Put((b & 0x0F) == 0x02 ? "SBC     HL," : "ADC     HL,");
        return ins.Put(Pairs[p]);
      case 0x43:
        ins.Length = 4;
        if ((b & 0x0F) == 0x0B) {
          ins.Put("LD      ");
          ins.Put(Pairs[p]);
          ins.Put(",(");
          ins.PutLabel(Word(code + 2));
          return ins.Put(")");
        }
        ins.Put("LD      (");
        ins.PutLabel(Word(code + 2));
        ins.Put("),");
        return ins.Put(Pairs[p]);
      case 0x46: {
        const int k = y & 3;
        ins.Put("IM      ");
        return ins.Put(std::string_view(&"0012"[k], 1));
      }
      default:
        break;
    }
  }
  ins.Put("DEFB    ED,");
  ins.PutHex(b);
}

// Decodes the instruction at code, which has no DD or FD prefix.
void Decode(const uint8_t* code, uint32_t address, TInstruction& ins) {
  const uint8_t op = code[0];
  const int x = op >> 6, y = (op >> 3) & 7, z = op & 7, p = y >> 1;
  ins.Length = 1;

  if (op == 0xCB) return DecodeCb(code[1], ins);
  if (op == 0xED) return DecodeEd(code, ins);

  if (x == 1) {
    if (op == 0x76) return ins.Put("HALT    ");
    ins.Put("LD      ");
    ins.Put(Registers[y]);
    ins.Put(",");
    return ins.Put(Registers[z]);
  }
  if (x == 2) {
    ins.Put(Arithmetic[y]);
    ins.Put(y == 0 || y == 1 || y == 3 ? "     A," : "     ");
    return ins.Put(Registers[z]);
  }

  switch (op & 0xCF) {
    case 0x00:
    case 0x08:
      switch (y) {
        case 0:
          return ins.Put("NOP     ");
        case 1:
          return ins.Put("EX      AF,AF'");
        case 2:
          ins.Put("DJNZ    ");
          break;
        case 3:
          ins.Put("JR      ");
          break;
        default:
          ins.Put("JR      ");
          ins.Put(Conditions[y - 4]);
          ins.Put(",");
          break;
      }
      ins.PutLabel(RelativeTarget(address, code[1]));
      ins.Length = 2;
      return;
    case 0x01:
      ins.Put("LD      ");
      ins.Put(Pairs[p]);
      ins.Put(",");
      ins.PutLabel(Word(code + 1));
      ins.Length = 3;
      return;
    case 0x02:
    case 0x0A: {  // q = 1 loads, q = 0 stores
      constexpr std::string_view Indirect[2] = {"(BC)", "(DE)"};
      const bool load = (y & 1) != 0;
      ins.Put("LD      ");
      if (p < 2) {
        ins.Put(load ? "A," : Indirect[p]);
        return ins.Put(load ? Indirect[p] : ",A");
      }
      const std::string_view reg = p == 2 ? "HL" : "A";
      ins.Length = 3;
      if (load) {
        ins.Put(reg);
        ins.Put(",(");
        ins.PutLabel(Word(code + 1));
        return ins.Put(")");
      }
      ins.Put("(");
      ins.PutLabel(Word(code + 1));
      ins.Put("),");
      return ins.Put(reg);
    }
    case 0x03:
      ins.Put("INC     ");
      return ins.Put(Pairs[p]);
    case 0x0B:
      ins.Put("DEC     ");
      return ins.Put(Pairs[p]);
    case 0x09:
      ins.Put("ADD     HL,");
      return ins.Put(Pairs[p]);
    case 0x04:
    case 0x0C:
      ins.Put("INC     ");
      return ins.Put(Registers[y]);
    case 0x05:
    case 0x0D:
      ins.Put("DEC     ");
      return ins.Put(Registers[y]);
    case 0x06:
    case 0x0E:
      ins.Put("LD      ");
      ins.Put(Registers[y]);
      ins.Put(",");
      ins.PutHex(code[1]);
      ins.Length = 2;
      return;
    case 0x07:
    case 0x0F:
      return ins.Put(AccumulatorOperations[y]);
    case 0xC0:
    case 0xC8:
      ins.Put("RET     ");
      return ins.Put(Conditions[y]);
    case 0xC1:
      ins.Put("POP     ");
      return ins.Put(StackPairs[p]);
    case 0xC5:
      ins.Put("PUSH    ");
      return ins.Put(StackPairs[p]);
    case 0xC2:
    case 0xCA:
      ins.Put("JP      ");
      ins.Put(Conditions[y]);
      ins.Put(",");
      ins.PutLabel(Word(code + 1));
      ins.Length = 3;
      return;
    case 0xC3:
    case 0xCB:
      switch (y) {
        case 0:
          ins.Put("JP      ");
          ins.PutLabel(Word(code + 1));
          ins.Length = 3;
          return;
        case 2:
          ins.Put("OUT     (");
          ins.PutHex(code[1]);
          ins.Put("),A");
          ins.Length = 2;
          return;
        case 3:
          ins.Put("IN      A,(");
          ins.PutHex(code[1]);
          ins.Put(")");
          ins.Length = 2;
          return;
        case 4:
          return ins.Put("EX      (SP),HL");
        case 5:
          return ins.Put("EX      DE,HL");
        case 6:
          return ins.Put("DI");
        default:
          return ins.Put("EI");
      }
    case 0xC4:
    case 0xCC:
      ins.Put("CALL    ");
      ins.Put(Conditions[y]);
      ins.Put(",");
      ins.PutLabel(Word(code + 1));
      ins.Length = 3;
      return;
    case 0xC6:
    case 0xCE:
      ins.Put(Arithmetic[y]);
      ins.Put("     A,");
      ins.PutHex(code[1]);
      ins.Length = 2;
      return;
    case 0xC7:
    case 0xCF:
      ins.Put("RST     ");
      ins.PutHex(static_cast<uint8_t>(y * 8));
      return;
    case 0xC9: {
      constexpr std::string_view Texts[4] = {"RET", "EXX", "JP      (HL)", "LD      SP,HL"};
      return ins.Put(Texts[p]);
    }
    default:  // CD; DD and FD only when a prefix is decoded as an opcode
      ins.Put("CALL    ");
      ins.PutLabel(Word(code + 1));
      ins.Length = 3;
      return;
  }
}

// An instruction with a DD or FD prefix: the unprefixed one with HL turned into
// IX or IY, or the prefix alone as a byte of data.
void DecodeIndexed(const uint8_t* code, uint32_t address, TInstruction& ins) {
  // The decoder may read up to four bytes after the prefix; the fifth is not
  // ours to read.
  uint8_t bytes[5] = {code[0], code[1], code[2], code[3], 0};
  if (bytes[1] == 0xCB || bytes[1] == 0x36) bytes[2] = bytes[3];
  Decode(bytes + 1, address + 1, ins);

  const std::string_view index = code[0] == 0xDD ? "IX" : "IY";
  bool indexed = false;
  if (int at = code[1] == 0xE9 ? -1 : ins.Find("(HL)"); at >= 0) {
    char displaced[12];
    std::snprintf(displaced, sizeof displaced, "(%.2s%+d)", index.data(), static_cast<int8_t>(code[2]));
    ins.Replace(at, 4, displaced);
    ins.Length += 2;
    indexed = true;
  } else if ((at = ins.Find("HL")) >= 0) {
    ins.Replace(at, 2, index);
    ins.Length += 1;
    indexed = true;
  }
  if (code[1] == 0x29) ins.Set(code[0] == 0xDD ? "ADD     IX,IX" : "ADD     IY,IY", 2);
  // An instruction without HL, or one that would outgrow the four code bytes
  // every caller fetches, leaves the prefix as a byte of data.
  if (!indexed || ins.Length > 4) {
    ins.Set("DEFB    ", 1);
    ins.PutHex(code[0]);
    ins.Put("  ");
  }
}

void DecodeAny(const uint8_t* code, uint32_t address, TInstruction& ins) {
  if (code[0] == 0xDD || code[0] == 0xFD) return DecodeIndexed(code, address, ins);
  Decode(code, address, ins);
}

// Writes into a line of fixed columns; nothing goes at or beyond the last
// byte of the buffer, which holds the caller's terminator.
class TLineWriter {
 public:
  TLineWriter(char* out, std::size_t outSize) : Out(out), Width(outSize > 0 ? outSize - 1 : 0) {}

  // Each returns the column after what it wrote.
  std::size_t Put(std::size_t column, std::string_view text) {
    if (column < Width) std::memcpy(Out + column, text.data(), std::min(text.size(), Width - column));
    return column + text.size();
  }
  std::size_t Put(std::size_t column, char c) {
    if (column < Width) Out[column] = c;
    return column + 1;
  }
  std::size_t PutHex(std::size_t column, uint8_t b) {
    column = Put(column, HexDigits[b >> 4]);
    return Put(column, HexDigits[b & 15]);
  }

 private:
  char* Out;
  std::size_t Width;
};

}  // namespace

int TCpu::FormatAddress(char* out, std::size_t outSize, uint16_t area, uint32_t address, uint8_t labelMode) const {
  if (outSize == 0) return 0;
  const TSymbolRecord* symbol = TheSymbols ? TheSymbols->FindByAddress(area, address) : nullptr;
  std::size_t n = 0;
  const auto put = [&](std::string_view s) {
    const std::size_t k = std::min(s.size(), outSize - 1 - n);
    std::memcpy(out + n, s.data(), k);
    n += k;
  };
  if (symbol == nullptr) {
    char digits[12];
    const std::size_t k = PutHexNumber(digits, address, 4);
    digits[k] = 'h';
    put(std::string_view(digits, k + 1));
  } else {
    const std::string_view name(symbol->Name, strnlen(symbol->Name, SYMBOL_MAX_NAME));
    if (labelMode == 1) put("~");
    put(name);
    if (labelMode == 1) put("~");
  }
  out[n] = '\0';
  return static_cast<int>(n);
}

uint16_t TCpu::DecodeInstruction(uint8_t area, uint32_t address, const uint8_t* code, uint8_t labelMode, char* out,
                                 std::size_t outSize) const {
  TInstruction ins;
  Decode(code, address, ins);
  if (outSize == 0) return ins.Length;
  TLineWriter line(out, outSize);
  std::size_t end;
  if (ins.LabelAt < 0) {
    end = line.Put(0, std::string_view(ins.Text, ins.Size));
  } else {
    char label[LABEL_SIZE];
    const int labelSize = FormatAddress(label, sizeof label, area, ins.Label, labelMode);
    end = line.Put(0, std::string_view(ins.Text, ins.LabelAt));
    end = line.Put(end, std::string_view(label, labelSize));
    end = line.Put(end, std::string_view(ins.Text + ins.LabelAt, ins.Size - ins.LabelAt));
  }
  out[std::min(end, outSize - 1)] = '\0';
  return ins.Length;
}

uint16_t TCpu::Disassemble(uint16_t area, uint32_t address, const uint8_t* code, char* out, std::size_t outSize,
                           uint8_t labelMode) const {
  const std::size_t w = (area & 0xC0) != 0 ? 2 : 0;
  const uint32_t a = MaskAddress(area, address);
  const TSymbolRecord* symbol = TheSymbols ? TheSymbols->FindByAddress(area, a) : nullptr;
  TLineWriter line(out, outSize);

  std::size_t column = 0;
  if (w != 0) column = line.PutHex(column, static_cast<uint8_t>(a >> 16));
  column = line.PutHex(column, static_cast<uint8_t>(a >> 8));
  column = line.PutHex(column, static_cast<uint8_t>(a));
  line.Put(column, ':');

  TInstruction ins;
  DecodeAny(code, a, ins);
  column = 31 + w + (labelMode == 1 && symbol != nullptr ? 2 : 0);
  if (ins.LabelAt < 0) {
    column = line.Put(column, std::string_view(ins.Text, ins.Size));
  } else {
    char label[LABEL_SIZE];
    const int labelSize = FormatAddress(label, sizeof label, area, ins.Label, labelMode);
    column = line.Put(column, std::string_view(ins.Text, ins.LabelAt));
    column = line.Put(column, std::string_view(label, labelSize));
    column = line.Put(column, std::string_view(ins.Text + ins.LabelAt, ins.Size - ins.LabelAt));
  }
  // The text ends in a blank, not in a terminator that would cut the line.
  line.Put(column, ' ');

  column = 5 + w;
  for (int i = 0; i < 4; ++i) column = i < ins.Length ? line.PutHex(column, code[i]) : line.Put(column, "  ");
  line.Put(column, ' ');

  if (symbol != nullptr) {
    const std::string_view name(symbol->Name, strnlen(symbol->Name, 15));
    column = 14 + w;
    if (labelMode == 1) column = line.Put(column, '~');
    column = line.Put(column, name);
    if (labelMode == 1) column = line.Put(column, '~');
    line.Put(column, ' ');
  }
  return ins.Length;
}
