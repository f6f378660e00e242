#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "ImageFile.h"
#include "LineReader.h"

// Everything the library keeps between calls: one file and one format at a time.
struct TLoaderState {
  TImageFile File;
  int CurrentFormat = 1;
  std::string Path;
  int Phase = 0;               // 0 on the image file, 1 once on its companion
  uint32_t UpperAddress = 0;   // Intel HEX: base of the 16-bit record addresses
  uint32_t BinaryOffset = 0;   // binary format: address of the next chunk
  bool InSection = false;      // companion readers: inside the part that holds symbols
  TLineReader Lines;
  size_t LinePosition = 0;     // where a reader continues inside the current line
  bool LinePending = false;    // the current line still holds something to read

  // Forgets everything about the previous file; the current format stays.
  void ResetForFile(const std::string& path);
};

TLoaderState& State();
