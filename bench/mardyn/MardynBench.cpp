// Parsing a 1 MB IEEE-695 file through the dlopen'ed Mardyn plug-in into the
// four tables, as a program load does (without the target and symbol table).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "IeeeWriter.h"
#include "ReaderBinding.h"

namespace {

// 200 modules of 10 functions, each with locals and 20 lines, then code in
// 128-byte records until the file holds 1 MB.
std::vector<uint8_t> MegabyteFile() {
  constexpr std::size_t kSize = 1 << 20;
  TIeeeWriter w;
  w.ModuleBegin("Z80", "bench").AddressDescription(8, 1);
  w.ModuleTypes("types").Array(256, "buf", 4, 31).Struct(257, "pt", 4, {{"x", 4, 0}, {"y", 4, 2}}).BlockEnd();
  uint32_t address = 0x100;
  for (int m = 0; m < 200; ++m) {
    std::string module = "module" + std::to_string(m);
    w.PublicName(1, "_" + module, address);
    w.Module(module).Static("data" + std::to_string(m), 4, 0x8000 + m * 2).SourceFile(module + ".c");
    for (int f = 0; f < 10; ++f) {
      w.Function("function" + std::to_string(f), address);
      w.Automatic("i", 4, 0xFFFE).Automatic("p", 257, 0xFFFA).RegisterVariable("r", 4, 22);
      for (uint32_t line = 1; line <= 20; ++line) w.Line(10 * f + line, 1, address + 3 * line);
      address += 64;
      w.FunctionEnd(address - 1);
    }
    w.BlockEnd().BlockEnd();
  }
  w.SectionBegin(1).LoadAddress(0x100);
  std::vector<uint8_t> code(128);
  for (std::size_t n = 0; n < code.size(); ++n) code[n] = static_cast<uint8_t>(n);
  while (w.Position() + 131 + 1 < kSize) w.Data(code);
  while (w.Position() + 1 < kSize) w.Byte(0xE5).Byte(0);  // section begin records pad to the size
  w.ModuleEnd();
  return w.Bytes();
}

void ParseMegabyte(benchmark::State& state) {
  TReaderBinding reader;
  if (reader.Bind(MARDYN_FILE) != TBindResult::Bound) {
    state.SkipWithError("Mardyn.so cannot be bound");
    return;
  }

  std::string path = (std::filesystem::temp_directory_path() / ("mardyn-bench-" + std::to_string(getpid()) + ".abs")).string();
  TIeeeWriter file;
  file.Raw(MegabyteFile());
  file.SaveTo(path);

  auto modules = std::make_unique<uint8_t[]>(MODULE_TABLE_SIZE);
  auto scopes = std::make_unique<uint8_t[]>(SCOPE_TABLE_SIZE);
  auto lines = std::make_unique<uint8_t[]>(LINE_TABLE_SIZE);
  auto types = std::make_unique<uint8_t[]>(TYPE_BUFFER_SIZE);
  std::size_t results = 0;
  bool clean = true;
  for (auto _ : state) {
    reader.Open(path.c_str(), 0, reinterpret_cast<TModuleEntry*>(modules.get()), reinterpret_cast<TScopeEntry*>(scopes.get()),
         reinterpret_cast<TLineEntry*>(lines.get()), types.get());
    const TReaderResult* r;
    results = 0;
    do {
      r = reader.Parse();
      ++results;
    } while (r->Kind != PR_END && r->Kind != PR_ERROR);
    clean = r->Kind == PR_END;
    reader.Close();
  }
  std::filesystem::remove(path);
  if (!clean) state.SkipWithError("the file did not parse to its end");
  state.counters["results"] = static_cast<double>(results);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(ParseMegabyte)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
