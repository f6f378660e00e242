// Feeds arbitrary bytes to the Pellis reader as an object file and checks
// that every load ends, with results the program can use safely.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ReaderExports.h"

namespace {

std::string path;
std::vector<uint8_t> modules(MODULE_TABLE_SIZE), scopes(SCOPE_TABLE_SIZE), lines(LINE_TABLE_SIZE),
    types(TYPE_BUFFER_SIZE);

void ResetTables() {
  modules[0] = 0;
  int16_t end = SCOPE_END_MODULE;
  std::memcpy(scopes.data(), &end, sizeof end);
  lines[offsetof(TLineEntry, LineKind)] = LINE_KIND_NONE;
  std::memset(types.data(), 0, 4);
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char name[] = "/tmp/pellis-fuzz-XXXXXX";
  int fd = mkstemp(name);
  if (fd < 0) std::abort();
  close(fd);
  path = name;
  std::atexit([] { std::remove(path.c_str()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  ResetTables();
  Open(path.c_str(), 0, reinterpret_cast<TModuleEntry*>(modules.data()),
       reinterpret_cast<TScopeEntry*>(scopes.data()), reinterpret_cast<TLineEntry*>(lines.data()), types.data());
  // Every result but the last takes at least one byte of the file.
  for (size_t calls = 0;; ++calls) {
    Check(calls <= size + 1);
    const TReaderResult* result = Parse();
    if (result->Kind == PR_END) break;
    if (result->Kind == PR_ERROR) {
      Check(std::strlen(reinterpret_cast<const char*>(result->Payload)) < 400);
      Check(Parse()->Kind == PR_END);
      break;
    }
    if (result->Kind == PR_SYMBOLS) {
      const auto* slots = reinterpret_cast<const TSymbolSlot*>(result->Payload);
      size_t count = 0;
      while (slots[count].Name[0] != '\0') Check(++count < 100);
    } else if (result->Kind == PR_CODE) {
      const auto* block = reinterpret_cast<const TCodeBlock*>(result->Payload);
      volatile uint8_t sink = 0;
      for (uint16_t i = 0; i < block->Count; ++i) sink = sink ^ block->Data[i];
    } else {
      Check(result->Kind == PR_MODULEFLAG || result->Kind == PR_TARGETINFO);
    }
  }
  Close();
  return 0;
}
