#pragma once
#include <string>

struct TImageRecord;
using TRecordReader = int (*)(TImageRecord& record);

// The companion file of an image: the image's file name with its extension
// replaced by `extension` (given in upper case), found whatever the letter case
// of the extension on disk; the upper-case name when no such file exists.
std::string CompanionPath(const std::string& imagePath, const std::string& extension);

// Reads the image with `image` and, once it ends, its companion file with
// `companion`; the companion's end is the end of the data. Without a companion
// file the data ends with the image.
int ReadImageThenCompanion(TImageRecord& record, TRecordReader image, const char* extension,
                           TRecordReader companion);
