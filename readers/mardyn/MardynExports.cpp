// The plug-in's entry points. All reader state lives in one object that Open
// starts afresh, so a library that stays loaded reads every file alike.
#include "MardynReader.h"
#include "ReaderExports.h"

namespace {
TMardynReader& Reader() {
  static TMardynReader reader;
  return reader;
}
}  // namespace

void Open(const char* path, uint32_t, TModuleEntry* moduleTable, TScopeEntry* scopeTable, TLineEntry* lineTable,
          uint8_t* typeBuffer) {
  Reader().Open(path, moduleTable, scopeTable, lineTable, typeBuffer);
}

const TReaderResult* Parse() { return Reader().Parse(); }

int Close() { return Reader().Close(); }

const char* GetMainProcName() { return "_main"; }

const char* GetExitProcName() { return Reader().ExitProcName(); }

const char* Version() { return "Lumeric 4.00.00.a;Mardyn (*.ABS)|*.ABS"; }
