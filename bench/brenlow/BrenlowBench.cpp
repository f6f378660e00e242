// Loading 1 MB of data from an Intel HEX file record by record through the
// dlopen'ed Brenlow.so, as the program loads an image.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "ImageBinding.h"
#include "IntelHexImage.h"

namespace {

void LoadIntelHex1MB(benchmark::State& state) {
  TImageBinding brenlow;
  if (brenlow.Bind(IMAGE_READS) != TBindResult::Bound) {
    state.SkipWithError("Brenlow.so cannot be bound");
    return;
  }
  const std::string path = (std::filesystem::temp_directory_path() / "brenlow-bench.hex").string();
  WriteIntelHexImage(path, false);
  char text[IMAGE_TEXT_SIZE];
  uint64_t bytes = 0;
  for (auto _ : state) {
    brenlow.SetFormat(2);
    brenlow.Open(path.c_str(), 0);
    TImageRecord record{0, 0, 0, 0, text};
    bytes = 0;
    while (brenlow.GetData(&record) >= 0 && record.Type != IR_END) bytes += record.Count;
    brenlow.Close();
  }
  if (bytes != 0x100000) state.SkipWithError("not all bytes were read");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  std::filesystem::remove(path);
}
BENCHMARK(LoadIntelHex1MB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
