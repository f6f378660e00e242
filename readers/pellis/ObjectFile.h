#pragma once
// The object file as a stream of checked reads. Every read or skip that would
// go past the end of the file throws TRecordFault, so a record cut short can
// never be taken for data (nor an end-of-file value for a tag).
#include <cstddef>
#include <cstdint>
#include <cstdio>

struct TRecordFault {};

class TObjectFile {
 public:
  TObjectFile() = default;
  ~TObjectFile();
  TObjectFile(const TObjectFile&) = delete;
  TObjectFile& operator=(const TObjectFile&) = delete;

  // False when the file cannot be opened for reading.
  bool Open(const char* path);
  // The C runtime's close result; 0 when no file is open.
  int Close();
  bool IsOpen() const { return stream_ != nullptr; }

  // Offset of the next byte to be read.
  long Tell() const { return position_; }

  uint8_t Byte();
  uint16_t Be16();
  uint32_t Be32();
  void Read(uint8_t* dest, std::size_t count);
  void Skip(uint64_t count);

  // A length byte and that many characters: the first capacity - 1 at most
  // go to dest, NUL-terminated, the rest is skipped. Returns the length byte.
  uint8_t Name(char* dest, std::size_t capacity);
  void SkipName();

  // Up to `count` bytes from `offset` on, as the C runtime's fgetc delivers
  // them: -1 for every byte past the end. For the dump of a bad record.
  void Peek(long offset, int* dest, std::size_t count);

 private:
  std::FILE* stream_ = nullptr;
  long position_ = 0;
  long size_ = 0;
};
