#include "ObjectFile.h"

#include <algorithm>

TObjectFile::~TObjectFile() { Close(); }

bool TObjectFile::Open(const char* path) {
  Close();
  stream_ = std::fopen(path, "rb");
  if (!stream_) return false;
  // Skips are checked against the size, as seeking past the end succeeds.
  if (std::fseek(stream_, 0, SEEK_END) != 0 || (size_ = std::ftell(stream_)) < 0 ||
      std::fseek(stream_, 0, SEEK_SET) != 0) {
    Close();
    return false;
  }
  position_ = 0;
  return true;
}

int TObjectFile::Close() {
  int result = 0;
  if (stream_) result = std::fclose(stream_);
  stream_ = nullptr;
  position_ = 0;
  size_ = 0;
  return result;
}

uint8_t TObjectFile::Byte() {
  int c = stream_ ? std::fgetc(stream_) : EOF;
  if (c == EOF) throw TRecordFault{};
  ++position_;
  return static_cast<uint8_t>(c);
}

uint16_t TObjectFile::Be16() {
  uint16_t high = Byte();
  return static_cast<uint16_t>(high << 8 | Byte());
}

uint32_t TObjectFile::Be32() {
  uint32_t high = Be16();
  return high << 16 | Be16();
}

void TObjectFile::Read(uint8_t* dest, std::size_t count) {
  if (count == 0) return;
  if (!stream_ || std::fread(dest, 1, count, stream_) != count) throw TRecordFault{};
  position_ += static_cast<long>(count);
}

void TObjectFile::Skip(uint64_t count) {
  if (!stream_ || position_ > size_ || count > static_cast<uint64_t>(size_ - position_)) throw TRecordFault{};
  if (count == 0) return;
  if (std::fseek(stream_, static_cast<long>(count), SEEK_CUR) != 0) throw TRecordFault{};
  position_ += static_cast<long>(count);
}

uint8_t TObjectFile::Name(char* dest, std::size_t capacity) {
  uint8_t length = Byte();
  std::size_t kept = std::min<std::size_t>(length, capacity - 1);
  Read(reinterpret_cast<uint8_t*>(dest), kept);
  dest[kept] = '\0';
  Skip(length - kept);
  return length;
}

void TObjectFile::SkipName() { Skip(Byte()); }

void TObjectFile::Peek(long offset, int* dest, std::size_t count) {
  bool placed = stream_ && std::fseek(stream_, offset, SEEK_SET) == 0;
  for (std::size_t i = 0; i < count; ++i) dest[i] = placed ? std::fgetc(stream_) : EOF;
  if (placed) position_ = std::ftell(stream_);
}
