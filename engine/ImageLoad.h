#pragma once
// A program image read record by record through Brenlow.so: data into target
// memory, symbols into the symbol table. It reports its busy state and
// progress to the main window through SendToMainForm and stops on <H>.
#include <string>

class TImageBinding;

enum class TImageLoadResult {
  NotBound,      // Brenlow.so or one of its entries is missing (the user was told)
  FileNotFound,  // "File not found!" was shown; nothing was loaded
  Loaded,        // to its end, to a record the library could not read, or to <H>
};

// format is one of Brenlow's formats (1 to 8). With loadCode false only the
// symbols are taken. Symbols already stored (same area, address and name) are
// not added again; the table is never cleared.
TImageLoadResult LoadProgramImage(const std::string& fileName, int format, bool loadCode);
// The same through a binding already made.
TImageLoadResult LoadProgramImage(TImageBinding& brenlow, const std::string& fileName, int format, bool loadCode);
