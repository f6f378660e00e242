#include "Tokens.h"

#include <cstring>

#include "ImageRecord.h"

size_t SkipWhite(const char* line, size_t position) {
  while (IsWhite(line[position])) ++position;
  return position;
}

size_t TokenEnd(const char* line, size_t position) {
  while (line[position] != '\0' && !IsWhite(line[position])) ++position;
  return position;
}

size_t SkipToken(const char* line, size_t position) {
  return SkipWhite(line, TokenEnd(line, position));
}

bool IsBlankLine(const char* line) { return line[SkipWhite(line, 0)] == '\0'; }

bool ReadHexField(const char* line, size_t length, size_t position, size_t digits, uint32_t& value) {
  if (position > length || digits > length - position) return false;
  uint32_t result = 0;
  for (size_t i = 0; i < digits; ++i) {
    int digit = HexDigit(line[position + i]);
    if (digit < 0) return false;
    result = result << 4 | static_cast<uint32_t>(digit);
  }
  value = result;
  return true;
}

bool HasHexDigits(const char* line, size_t length, size_t position, size_t digits) {
  if (position > length || digits > length - position) return false;
  for (size_t i = 0; i < digits; ++i)
    if (HexDigit(line[position + i]) < 0) return false;
  return true;
}

uint32_t ReadHexNumber(const char* line, size_t position) {
  uint32_t value = 0;
  for (int digit; (digit = HexDigit(line[position])) >= 0; ++position)
    value = value << 4 | static_cast<uint32_t>(digit);
  return value;
}

bool IsHexToken(const char* line, size_t position) {
  size_t end = TokenEnd(line, position);
  if (end == position) return false;
  for (; position < end; ++position)
    if (HexDigit(line[position]) < 0) return false;
  return true;
}

void SetText(TImageRecord& record, const char* text, size_t size) {
  if (size > IMAGE_TEXT_SIZE - 1) size = IMAGE_TEXT_SIZE - 1;
  std::memcpy(record.Text, text, size);
  record.Text[size] = '\0';
  record.Count = static_cast<uint16_t>(size);
}

void SetCompanionSymbol(TImageRecord& record, uint32_t address, const char* name, size_t size) {
  record.Type = IR_SYMBOL_COMPANION;
  record.Area = 1;
  record.Address = address;
  SetText(record, name, size);
}

bool HoldsHexData(const TImageRecord& record) {
  if (record.Text == nullptr || 2u * record.Count >= IMAGE_TEXT_SIZE) return false;
  size_t size = strnlen(record.Text, IMAGE_TEXT_SIZE);
  return HasHexDigits(record.Text, size, 0, 2u * record.Count);
}

unsigned SumOfHexBytes(const char* digits, size_t size) {
  unsigned sum = 0;
  for (size_t i = 0; i + 1 < size; i += 2)
    sum += static_cast<unsigned>(HexByte(digits + i));
  return sum;
}
