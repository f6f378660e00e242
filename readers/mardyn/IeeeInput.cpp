#include "IeeeInput.h"

#include <algorithm>

namespace {
// Numbers whose first byte is 0x89 or above nest two further numbers; a file
// can chain them without end, so nesting this deep is refused.
constexpr int kMaxNumberNesting = 16;
}  // namespace

void TIeeeInput::Attach(std::FILE* stream) {
  stream_ = stream;
  size_ = 0;
  position_ = 0;
  if (!stream_) return;
  if (std::fseek(stream_, 0, SEEK_END) == 0) size_ = std::max(0L, std::ftell(stream_));
  std::fseek(stream_, 0, SEEK_SET);
}

void TIeeeInput::Need(std::size_t count) const {
  if (!stream_ || position_ < 0 || position_ > size_ || count > static_cast<std::size_t>(size_ - position_))
    throw TIeeeFault{};
}

void TIeeeInput::SeekTo(long offset) {
  if (!stream_ || offset < 0 || std::fseek(stream_, offset, SEEK_SET) != 0) throw TIeeeFault{};
  position_ = offset;
}

uint8_t TIeeeInput::ReadByte() {
  Need(1);
  int c = std::fgetc(stream_);
  if (c == EOF) throw TIeeeFault{};
  ++position_;
  return static_cast<uint8_t>(c);
}

uint8_t TIeeeInput::PeekByte() {
  Need(1);
  int c = std::fgetc(stream_);
  if (c == EOF) throw TIeeeFault{};
  std::ungetc(c, stream_);
  return static_cast<uint8_t>(c);
}

uint16_t TIeeeInput::ReadWord() {
  uint16_t high = ReadByte();
  return static_cast<uint16_t>(high << 8 | ReadByte());
}

void TIeeeInput::Skip(std::size_t count) {
  Need(count);
  if (count == 0) return;
  SeekTo(position_ + static_cast<long>(count));
}

void TIeeeInput::ReadBytes(uint8_t* target, std::size_t count) {
  Need(count);
  if (std::fread(target, 1, count, stream_) != count) throw TIeeeFault{};
  position_ += static_cast<long>(count);
}

uint32_t TIeeeInput::ReadNumber() { return ReadNumber(0); }

uint32_t TIeeeInput::ReadNumber(int depth) {
  uint8_t first = ReadByte();
  if (first < 0x80) return first;
  if (first <= 0x88) {
    uint32_t value = 0;
    for (int i = 0; i < first - 0x80; ++i) value = value << 8 | ReadByte();
    return value;
  }
  if (depth >= kMaxNumberNesting) throw TIeeeFault{};
  ReadNumber(depth + 1);
  ReadNumber(depth + 1);
  ReadByte();
  return 0;
}

void TIeeeInput::SkipNumbers(int count) {
  for (int i = 0; i < count; ++i) ReadNumber();
}

std::size_t TIeeeInput::ReadNameLength() {
  std::size_t length = ReadByte();
  if (length == 0xDE) return ReadByte();
  if (length == 0xDF) return ReadWord();
  return length;
}

std::size_t TIeeeInput::ReadCharacters(std::size_t length, char* target, std::size_t capacity) {
  std::size_t kept = std::min(length, capacity - 1);
  ReadBytes(reinterpret_cast<uint8_t*>(target), kept);
  target[kept] = '\0';
  Skip(length - kept);
  return kept;
}

std::size_t TIeeeInput::ReadName(char* target, std::size_t capacity) {
  return ReadCharacters(ReadNameLength(), target, capacity);
}

void TIeeeInput::SkipName() { Skip(ReadNameLength()); }

uint32_t TIeeeInput::ReadExpression() {
  ReadNumber();
  uint8_t b = ReadByte();
  if (b < 0x80) return b;
  if (b <= 0x8E) {
    uint32_t value = 0;
    for (int i = 0; i < b - 0x80; ++i) value = value << 8 | ReadByte();
    return value;
  }
  if (b >= 0xC1 && b <= 0xDA) {
    ReadByte();
    uint32_t value = ReadNumber();
    ReadByte();
    return value;
  }
  throw TIeeeFault{};
}

int TIeeeInput::RawByteAt(long offset) {
  if (!stream_) return EOF;
  std::clearerr(stream_);
  if (std::fseek(stream_, offset, SEEK_SET) != 0) return EOF;
  position_ = offset;
  int c = std::fgetc(stream_);
  if (c != EOF) ++position_;
  return c;
}
