#pragma once
// A debug-information reader plug-in bound by file name, with its entries.
// Every user of a reader (the program's object-file load, the tests, the
// benchmark) binds it through this class; nothing else looks its entries up.
#include <string>

#include "Library.h"
#include "ReaderInterface.h"

inline constexpr const char* MARDYN_FILE = "Mardyn.so";
inline constexpr const char* PELLIS_FILE = "Pellis.so";

class TReaderBinding {
 public:
  // Loads the library (a bare file name from the program's folder) and looks
  // up its entries. Unusable, with the library freed again, when one of the
  // five that a load calls is missing; Version, which a load never calls, may
  // be missing (null).
  TBindResult Bind(const std::string& fileName);
  void Free();

  TReaderOpenProc Open = nullptr;
  TReaderParseProc Parse = nullptr;
  TReaderCloseProc Close = nullptr;
  TReaderNameProc MainProcName = nullptr;
  TReaderNameProc ExitProcName = nullptr;
  TReaderNameProc Version = nullptr;

 private:
  TLibrary Library;
};
