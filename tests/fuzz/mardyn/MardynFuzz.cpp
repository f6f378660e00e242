// Feeds arbitrary bytes to the IEEE-695 reader as an object file and parses
// to the end, with tables of exactly the sizes the program hands over, so the
// sanitizers see any write past them.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ReaderExports.h"

namespace {
struct TTables {
  std::unique_ptr<uint8_t[]> Modules{new uint8_t[MODULE_TABLE_SIZE]()};
  std::unique_ptr<uint8_t[]> Scopes{new uint8_t[SCOPE_TABLE_SIZE]()};
  std::unique_ptr<uint8_t[]> Lines{new uint8_t[LINE_TABLE_SIZE]()};
  std::unique_ptr<uint8_t[]> Types{new uint8_t[TYPE_BUFFER_SIZE]()};
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static TTables tables;
  static int fd = memfd_create("mardyn-fuzz", 0);
  if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  std::string path = "/proc/self/fd/" + std::to_string(fd);

  Open(path.c_str(), 0, reinterpret_cast<TModuleEntry*>(tables.Modules.get()),
       reinterpret_cast<TScopeEntry*>(tables.Scopes.get()), reinterpret_cast<TLineEntry*>(tables.Lines.get()),
       tables.Types.get());
  // Every result ends the file or leaves it further on, so the loop ends;
  // the bound only guards against a reader that would not.
  for (std::size_t n = 0; n <= size + 1; ++n) {
    const TReaderResult* r = Parse();
    if (r->Kind == PR_END || r->Kind == PR_ERROR) break;
    if (n == size + 1) __builtin_trap();
  }
  Close();
  return 0;
}
