// The entry points of Pellis.so. All state lives in one reader, as the
// program uses one file at a time from its GUI thread.
#include "PellisReader.h"
#include "ReaderExports.h"

namespace {
TPellisReader reader;
}  // namespace

void Open(const char* path, uint32_t, TModuleEntry* moduleTable, TScopeEntry* scopeTable, TLineEntry* lineTable,
          uint8_t* typeBuffer) {
  reader.Open(path, moduleTable, scopeTable, lineTable, typeBuffer);
}

const TReaderResult* Parse() { return reader.Parse(); }

int Close() { return reader.Close(); }

const char* GetMainProcName() { return "main"; }

const char* GetExitProcName() { return "exit"; }

const char* Version() { return "Lumeric 4.00.00.a;Pellis (*.D?\?)|*.D?\?"; }
