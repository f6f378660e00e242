#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

// Text and byte routines shared by every command and view: numbers,
// expressions, addresses and argument lists typed by the user; byte order;
// a bounded read cursor over byte buffers; target memory-area descriptors;
// display of a variable's raw bytes.

// ---- Numbers and expressions ------------------------------------------------
// All arithmetic is 32-bit unsigned and wraps. Results: 0 ok, 1 no operand at
// all, -1 a malformed number or text, -2 a symbol name not in the symbol table.
// None of these show a message.

inline constexpr size_t MAX_EXPRESSION_TEXT = 255;  // longest operand, bracketed part or area field

// Radix letter ('B', 'D', 'H' or 'O') for numbers without a suffix; 'D' at start.
void SetDefaultRadix(char letter);
char GetDefaultRadix();

// One number with an optional radix suffix, or a symbol name (its Value).
int ParseNumber(const char* text, uint32_t& value);

// Operator codes of ReadOperator.
enum : uint8_t {
  OP_NONE = 0,
  OP_ADD = 1,
  OP_INCREMENT = 2,
  OP_ADD_ASSIGN = 3,
  OP_SUBTRACT = 4,
  OP_DECREMENT = 5,
  OP_SUBTRACT_ASSIGN = 6,
  OP_MULTIPLY = 7,
  OP_MULTIPLY_ASSIGN = 8,
  OP_DIVIDE = 9,
  OP_DIVIDE_ASSIGN = 10,
};

// Evaluates an expression at text; on success text moves past what was used.
// Evaluation ends where an operator is expected and none stands.
int EvalExpression(const char*& text, uint32_t& value);
int EvalOperand(const char*& text, uint32_t& value);
// Skips white space and reads one operator; the code (OP_NONE: text is left on
// the character that is no operator).
uint8_t ReadOperator(const char*& text, uint8_t& code);
uint32_t ApplyOperator(uint32_t a, uint8_t code, uint32_t b);

// -1 for a null text, otherwise EvalExpression's result. EvalWord and EvalByte
// store the low 16 or 8 bits.
int EvalString(const char* text, uint32_t& value);
int EvalWord(const char* text, uint16_t& value);
int EvalByte(const char* text, uint8_t& value);

// Leaves text on the first character that is not white space and returns it.
char SkipWhiteSpace(const char*& text);
// After white space: moves text to the first occurrence of the first delimiter
// of set that occurs at all (0); else to the end of the text (-1).
int SkipToDelimiter(const char*& text, const char* set);
// After white space: 0 when the current character is one of set, else -1.
int AtDelimiter(const char*& text, const char* set);

// ---- Addresses and argument lists ------------------------------------------

// [area:][bank,]address. 0 ok; -1 an unknown area; otherwise the evaluator's
// code. With report 1 a failure is shown ("Incorrect area field",
// "Incorrect address", caption "Error").
int ParseAddress(const char* text, uint8_t& area, uint32_t& address, uint8_t report);

// Reads answer by format into the packed record out of capacity bytes. Items:
// A (area byte, address dword), B, W, D, P/PB/PW/PD (dword count, then the
// bytes), S (up to 80 characters and a NUL), [k1,k2,...] (keyword number byte).
// 0 ok; -1 after an error shown in a message box; for an A item, ParseAddress's
// result. An item that does not fit in the record is "Value out of range".
int ParseArgs(const char* format, const char* answer, void* out, size_t capacity);

// ---- Byte order --------------------------------------------------------------

constexpr uint16_t Swap16(uint16_t v) { return static_cast<uint16_t>((v >> 8) | (v << 8)); }
constexpr uint32_t Swap32(uint32_t v) {
  return (static_cast<uint32_t>(Swap16(static_cast<uint16_t>(v))) << 16) | Swap16(static_cast<uint16_t>(v >> 16));
}

// ---- Byte streams --------------------------------------------------------------

// Read cursor over [start, end); multi-byte values are little-endian. A read,
// peek or skip past the end yields zeros, leaves the cursor at the end and marks
// the stream exhausted.
class TByteStream {
 public:
  TByteStream(const uint8_t* start, const uint8_t* end);

  const uint8_t* GetPos() const { return Pos; }
  // A position outside the buffer leaves the cursor at the end, exhausted.
  void SetPos(const uint8_t* pos);
  bool Exhausted() const { return FExhausted; }

  // Inline, as walks along the type buffer read a few bytes per record.
  void Skip(uint16_t n) {
    if (Available(n)) Pos += n;
  }
  void Read(void* out, uint16_t n) {
    if (!Available(n)) {
      std::memset(out, 0, n);
      return;
    }
    std::memcpy(out, Pos, n);
    Pos += n;
  }
  void ReadByte(uint8_t& out) { Read(&out, 1); }
  void ReadWord(uint16_t& out) {
    uint8_t b[2];
    Read(b, 2);
    out = Word(b);
  }
  void ReadDword(uint32_t& out) {
    uint8_t b[4];
    Read(b, 4);
    out = Dword(b);
  }
  // A peek that fits never moves the cursor, even on a stream marked exhausted
  // earlier and set back with SetPos.
  uint16_t PeekWord() { return Available(2) ? Word(Pos) : 0; }
  uint32_t PeekDword() { return Available(4) ? Dword(Pos) : 0; }

 private:
  static uint16_t Word(const uint8_t* b) { return static_cast<uint16_t>(b[0] | (b[1] << 8)); }
  static uint32_t Dword(const uint8_t* b) {
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
  }
  bool Available(size_t n) {
    if (static_cast<size_t>(End - Pos) >= n) return true;
    Pos = End;
    FExhausted = true;
    return false;
  }

  const uint8_t* Start;
  const uint8_t* End;
  const uint8_t* Pos;
  bool FExhausted = false;
};

// ---- Target memory areas ----------------------------------------------------------

#pragma pack(push, 1)
struct TAreaDescriptor {
  uint8_t AddressBits;
  uint8_t HeaderByte;
  char Name[40];  // menu name: the first text up to '|'
  char Text2[40];
  char Text3[40];
  uint8_t ValueByte;
  uint8_t BitMask;
};
#pragma pack(pop)
static_assert(sizeof(TAreaDescriptor) == 124);
static_assert(offsetof(TAreaDescriptor, Name) == 2);
static_assert(offsetof(TAreaDescriptor, Text2) == 42);
static_assert(offsetof(TAreaDescriptor, Text3) == 82);
static_assert(offsetof(TAreaDescriptor, ValueByte) == 122);
static_assert(offsetof(TAreaDescriptor, BitMask) == 123);

// Describes area index of the target's memory-area table (TheProtocol's
// capability record): 1 when it exists, 0 otherwise. Texts lose every '~' and
// are cut to 39 characters; with flag 1 the first text's part after '|' is
// skipped.
int GetAreaDescriptor(uint8_t index, uint8_t flag, TAreaDescriptor& out);

// Splits one table entry starting at entry and ending no later than end;
// returns a pointer past the entry, or null when it runs past end.
const uint8_t* SplitAreaDescriptor(const uint8_t* entry, const uint8_t* end, uint8_t flag, TAreaDescriptor& out);

// ---- Value display ----------------------------------------------------------------------

// Prints data by descriptor (items "%" size conversion, braces, brackets, other
// literal characters) into out, at most capacity - 1 characters and a NUL, and
// returns the characters written. Formatting stops before the first item whose
// bytes lie beyond dataLength. byteOrder is the debug information's: bit 0 set
// means little-endian target data.
int FormatValue(char* out, size_t capacity, const char* descriptor, const uint8_t* data, size_t dataLength,
                uint8_t byteOrder);
