#pragma once
// Checked reading of an IEEE-695 object file through a C stream. Every read,
// peek and skip is measured against the file's size first, so a file that is
// cut short, or a length that runs past its end, raises TIeeeFault instead of
// yielding end-of-file bytes as data.
#include <cstddef>
#include <cstdint>
#include <cstdio>

// Raised for anything the reader cannot accept; the reader turns it into its
// error record for the record being read.
struct TIeeeFault {};

class TIeeeInput {
 public:
  // Takes over an open stream (or none); the stream stays owned by the caller.
  void Attach(std::FILE* stream);
  bool Attached() const { return stream_ != nullptr; }

  long Position() const { return position_; }
  long Size() const { return size_; }
  void SeekTo(long offset);

  uint8_t ReadByte();
  uint8_t PeekByte();
  uint16_t ReadWord();  // high byte first
  void Skip(std::size_t count);
  void ReadBytes(uint8_t* target, std::size_t count);

  // A number: below 0x80 the byte itself, 0x80+n followed by n bytes (low
  // 32 bits kept), 0x89 and above followed by two numbers and a byte (0).
  uint32_t ReadNumber();
  void SkipNumbers(int count);

  // A name's length: one byte, or 0xDE and one byte, or 0xDF and two bytes.
  std::size_t ReadNameLength();
  // Reads length characters, keeps the first capacity - 1 of them NUL-terminated
  // in target and skips the rest. Returns the number kept.
  std::size_t ReadCharacters(std::size_t length, char* target, std::size_t capacity);
  std::size_t ReadName(char* target, std::size_t capacity);
  void SkipName();

  // The value part of an ASN/ASI record: a name index, then a constant.
  uint32_t ReadExpression();

  // The raw byte at an offset, or EOF; for the error dump, which reads past the
  // end on purpose.
  int RawByteAt(long offset);

 private:
  uint32_t ReadNumber(int depth);
  void Need(std::size_t count) const;

  std::FILE* stream_ = nullptr;
  long size_ = 0;
  long position_ = 0;
};
