#pragma once
// Small scanners over one NUL-terminated line of an image or companion file.
#include <cstddef>
#include <cstdint>

struct TImageRecord;

inline bool IsWhite(char c) {
  return c != '\0' && static_cast<unsigned char>(c) <= 0x20;
}

// The value of one hex digit of either case, or -1.
inline int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The byte that the two hex digits at `digits` give.
inline int HexByte(const char* digits) { return HexDigit(digits[0]) << 4 | HexDigit(digits[1]); }

// The position of the first character at or after `position` that is not white space.
size_t SkipWhite(const char* line, size_t position);
// The end of the token that starts at `position`.
size_t TokenEnd(const char* line, size_t position);
// Past the token at `position` and the white space behind it.
size_t SkipToken(const char* line, size_t position);
// True when the line holds nothing but white space.
bool IsBlankLine(const char* line);

// Exactly `digits` hex digits at `position` of a line of `length` characters;
// false when the line is too short for them or one is no hex digit.
bool ReadHexField(const char* line, size_t length, size_t position, size_t digits, uint32_t& value);
// True when `digits` hex digits stand at `position` of a line of `length` characters.
bool HasHexDigits(const char* line, size_t length, size_t position, size_t digits);
// The hex number at `position`, up to the first character that is no hex digit (0 when none).
uint32_t ReadHexNumber(const char* line, size_t position);
// True when the token at `position` is one or more hex digits and nothing else.
bool IsHexToken(const char* line, size_t position);

// Copies `size` characters into the record's text, NUL-terminated, and sets
// Count to their number; the text is cut to what the caller's buffer holds.
void SetText(TImageRecord& record, const char* text, size_t size);
// Makes the record a symbol of the code area read from a companion file:
// `size` characters of `name` at `address`.
void SetCompanionSymbol(TImageRecord& record, uint32_t address, const char* name, size_t size);

// True when the record's text begins with its 2 × Count hex digits and they fit
// the caller's buffer.
bool HoldsHexData(const TImageRecord& record);
// The sum of the bytes that `digits` hex digits (an even number) give.
unsigned SumOfHexBytes(const char* digits, size_t size);
