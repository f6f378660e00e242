// Disassembling 64 KB of code into lines, as the listing command and a full
// scroll of the code view do: a blank line buffer per instruction, labels from
// a loaded symbol table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "Configuration.h"
#include "Symbols.h"
#include "Tgtz80.h"

namespace {

constexpr uint32_t CODE_SIZE = 0x10000;

// Unprefixed code with the prefixed pages mixed in, from a fixed seed; four
// spare bytes behind the end so the last instruction has its four bytes.
std::vector<uint8_t> MakeCode() {
  std::mt19937 random(1234);
  std::vector<uint8_t> code(CODE_SIZE + 4);
  for (uint8_t& b : code) b = static_cast<uint8_t>(random());
  return code;
}

// Labels at random addresses of the code area.
void AddLabels(TSymbols& symbols, int count) {
  std::mt19937 random(99);
  TSymbolRecord slot{};
  slot.Attributes = 1;
  slot.ScopeHigh = -1;
  for (int i = 0; i < count; ++i) {
    slot.Value = random() & 0xFFFF;
    slot.NameLength = static_cast<uint8_t>(std::snprintf(slot.Name, sizeof slot.Name, "label_%04X", slot.Value));
    symbols.Add(&slot);
  }
}

void BM_Disassemble64K(benchmark::State& state) {
  TCpu cpu;
  TSymbols symbols;
  TSymbols* previous = TheSymbols;
  TheSymbols = &symbols;
  AddLabels(symbols, static_cast<int>(state.range(0)));
  const std::vector<uint8_t> code = MakeCode();
  char line[256];
  int64_t lines = 0;
  for (auto _ : state) {
    for (uint32_t address = 0; address < CODE_SIZE;) {
      std::memset(line, ' ', sizeof line - 1);
      line[sizeof line - 1] = '\0';
      address += cpu.Disassemble(1, address, code.data() + address, line, sizeof line, 0);
      benchmark::DoNotOptimize(line);
      ++lines;
    }
  }
  state.counters["lines"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * CODE_SIZE);
  TheSymbols = previous;
}
// Without symbols, and with a program's worth of labels (one every 32 bytes).
BENCHMARK(BM_Disassemble64K)->Arg(0)->Arg(2048)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
