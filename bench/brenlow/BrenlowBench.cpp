// Loading 1 MB of data from an Intel HEX file record by record through the
// dlopen'ed Brenlow.so, as the program loads an image.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ImageBinding.h"

namespace {

// 65,536 data records of 16 bytes with a linear base record before each 64 KB.
std::string MakeImage() {
  std::string path = (std::filesystem::temp_directory_path() / "brenlow-bench.hex").string();
  std::ofstream out(path, std::ios::binary);
  char line[64];
  for (uint32_t address = 0; address < 0x100000; address += 16) {
    if ((address & 0xFFFF) == 0) {
      unsigned high = address >> 16;
      std::snprintf(line, sizeof line, ":02000004%04X%02X\n", high, (0x100 - (6 + high)) & 0xFF);
      out << line;
    }
    unsigned sum = 16 + ((address >> 8) & 0xFF) + (address & 0xFF);
    int size = std::snprintf(line, sizeof line, ":10%04X00", address & 0xFFFF);
    for (unsigned i = 0; i < 16; ++i) {
      unsigned byte = (address + i * 7) & 0xFF;
      sum += byte;
      size += std::snprintf(line + size, sizeof line - size, "%02X", byte);
    }
    std::snprintf(line + size, sizeof line - size, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
    out << line;
  }
  out << ":00000001FF\n";
  return path;
}

void LoadIntelHex1MB(benchmark::State& state) {
  TImageBinding brenlow;
  if (brenlow.Bind(IMAGE_READS) != TBindResult::Bound) {
    state.SkipWithError("Brenlow.so cannot be bound");
    return;
  }
  std::string path = MakeImage();
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
