// A reader by Mardyn's file name that hands over results neither real reader
// produces together: a processor description taken from the object file's
// first byte, the byte-order flag, an ignored value, and one symbol array with
// the dummy symbol of in-circuit emulators and a slot marked to be dropped.
#include <cstdio>
#include <cstring>

#include "ReaderExports.h"

namespace {

uint8_t processorInfo[4] = {0, 3, 2, 0};
TSymbolSlot slots[4];
TReaderResult result;
int step = 0;

void Slot(TSymbolSlot& s, uint8_t kind, uint32_t value, const char* name) {
  s = TSymbolSlot{};
  s.Kind = kind;
  s.Attributes = 1;
  s.Value = value;
  s.ScopeHigh = -1;
  s.NameLength = static_cast<uint8_t>(std::strlen(name));
  std::strcpy(s.Name, name);
}

}  // namespace

void Open(const char* path, uint32_t, TModuleEntry*, TScopeEntry*, TLineEntry*, uint8_t*) {
  step = 0;
  if (FILE* f = std::fopen(path, "rb")) {
    processorInfo[0] = static_cast<uint8_t>(std::fgetc(f));
    std::fclose(f);
  }
  Slot(slots[0], 1, 0x10, "_ICE_DUMMY_");
  Slot(slots[1], 9, 0x20, "dropped");
  Slot(slots[2], 1, 0x30, "kept");
  slots[3].Name[0] = 0;
}

const TReaderResult* Parse() {
  switch (step++) {
    case 0: result = {PR_TARGETINFO, reinterpret_cast<uint64_t>(processorInfo)}; break;
    case 1: result = {PR_MODULEFLAG, 0}; break;
    case 2: result = {PR_VALUE, 0x1234}; break;
    case 3: result = {PR_SYMBOLS, reinterpret_cast<uint64_t>(slots)}; break;
    default: result = {PR_END, 0}; break;
  }
  return &result;
}

int Close() { return 0; }
const char* GetMainProcName() { return "start"; }
const char* GetExitProcName() { return "stop"; }
const char* Version() { return "scripted"; }
