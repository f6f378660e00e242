#pragma once
// Brenlow.so bound by file name, with its eight entries. Every user of the
// image library (program loading, the dump view's block load and save, the
// tests, the benchmark) binds it through here; nothing else looks its entries
// up. No Qt: the engine's side of the program may use it too.
#include <string>

#include "ImageRecord.h"
#include "Library.h"

inline constexpr const char* BRENLOW_FILE = "Brenlow.so";

// What a user calls besides SetFormat, Open and Close.
enum TImageNeeds : unsigned {
  IMAGE_READS = 1,   // GetData
  IMAGE_WRITES = 2,  // PutData
  IMAGE_ALL = 7,     // every entry, Version, FindFormat and GetFormat too
};

class TImageBinding {
 public:
  // Loads the library (a bare file name from the program's folder) unless it
  // is loaded already, and looks up its entries. Unusable when one that the
  // needs name is missing; the library stays loaded either way.
  TBindResult Bind(unsigned needs, const std::string& fileName = BRENLOW_FILE);

  TBrenlowVersion Version = nullptr;
  TBrenlowFindFormat FindFormat = nullptr;
  TBrenlowGetFormat GetFormat = nullptr;
  TBrenlowSetFormat SetFormat = nullptr;
  TBrenlowOpen Open = nullptr;
  TBrenlowGetData GetData = nullptr;
  TBrenlowPutData PutData = nullptr;
  TBrenlowClose Close = nullptr;

 private:
  bool Serves(unsigned needs) const;
  TLibrary Library;
};

// The program's binding of Brenlow.so, made at its first use and never freed.
// Null, after telling the user "Cannot find library" or "Cannot use library"
// (caption "Error"), when the library or an entry the needs name is missing;
// the next call tries again.
TImageBinding* ProgramImageLibrary(unsigned needs);
