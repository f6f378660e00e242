#include "LineReader.h"

#include "ImageFile.h"

void TLineReader::Reset() {
  position_ = 0;
  filled_ = 0;
  ended_ = false;
  line_[0] = '\0';
  length_ = 0;
}

int TLineReader::Peek(TImageFile& file) {
  if (ended_) return -1;
  if (position_ == filled_) {
    long got = file.Read(block_, BLOCK_SIZE);
    if (got < 0) return -2;
    if (got == 0) {
      ended_ = true;
      return -1;
    }
    position_ = 0;
    filled_ = static_cast<size_t>(got);
  }
  unsigned char c = static_cast<unsigned char>(block_[position_]);
  if (c == 0) {
    ended_ = true;
    return -1;
  }
  return c;
}

int TLineReader::Next(TImageFile& file) {
  length_ = 0;
  line_[0] = '\0';
  // Line ends and stray control characters before the line, so that a blank
  // first line does not read as the end of the data.
  int c;
  while ((c = Peek(file)) >= 0 && c < 0x20) ++position_;
  if (c == -2) return -1;
  while (length_ < LINE_MAX) {
    c = Peek(file);
    if (c == -2) return -1;
    if (c < 0 || c == '\n' || c == '\r') break;
    line_[length_++] = static_cast<char>(c);
    ++position_;
  }
  line_[length_] = '\0';
  return static_cast<int>(length_);
}

void TLineReader::SkipRestOfLine(TImageFile& file) {
  if (length_ < LINE_MAX) return;
  int c;
  while ((c = Peek(file)) >= 0 && c != '\n' && c != '\r') ++position_;
}
