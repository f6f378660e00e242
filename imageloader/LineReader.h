#pragma once
#include <cstddef>

class TImageFile;

// Buffered reader of the text lines of an image or companion file. Lines end at
// a line feed, a carriage return or a zero byte and are cut into pieces of at
// most LINE_MAX characters. Control characters between lines are passed over,
// so an empty line is never returned: a result of 0 means the end of the data.
// A zero byte in the file ends the data for good.
class TLineReader {
 public:
  static constexpr size_t BLOCK_SIZE = 512;
  static constexpr size_t LINE_MAX = 255;

  // Forgets the read position: the next line comes from the start of the file.
  void Reset();
  // Reads the next line: its length, 0 at the end of the data, -1 on a read error.
  int Next(TImageFile& file);

  // Passes over what is left of a line that was cut at LINE_MAX, so that the
  // tail of a record (its checksum) does not come back as a line of its own.
  void SkipRestOfLine(TImageFile& file);

  const char* Line() const { return line_; }
  size_t Length() const { return length_; }

 private:
  // The next byte without taking it, -1 at the end of the data, -2 on a read error.
  int Peek(TImageFile& file);

  char block_[BLOCK_SIZE];
  size_t position_ = 0;
  size_t filled_ = 0;
  bool ended_ = false;
  char line_[LINE_MAX + 1] = {};
  size_t length_ = 0;
};
