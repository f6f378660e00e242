// Loading a large program: 100,000 symbols added in random order through one
// reused slot, as the loaders add them, then each found by name and by address.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "Configuration.h"
#include "Symbols.h"
#include "Tgtz80.h"

namespace {

constexpr int SYMBOLS = 100000;

struct TEntry {
  const char* Name;
  uint16_t Area;
  uint32_t Value;
};

// The symbols in a random order, their names packed in that order as a
// reader's or a parser's buffer would hold them.
struct TEntries {
  std::vector<char> Names;
  std::vector<TEntry> List;
};

TEntries MakeEntries(unsigned seed) {
  std::vector<int> order(SYMBOLS);
  for (int i = 0; i < SYMBOLS; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(seed));
  TEntries entries;
  std::vector<size_t> offsets;
  char name[64];
  for (int i : order) {
    const int n = std::snprintf(name, sizeof name, "_module%03d_symbol%06d", i % 997, i);
    offsets.push_back(entries.Names.size());
    entries.Names.insert(entries.Names.end(), name, name + n + 1);
  }
  for (size_t k = 0; k < order.size(); ++k) {
    const int i = order[k];
    entries.List.push_back({entries.Names.data() + offsets[k], static_cast<uint16_t>(1 + i % 3),
                            static_cast<uint32_t>(i) * 7});
  }
  return entries;
}

void AddAll(TSymbols& symbols, const TEntries& entries) {
  TSymbolRecord slot{};
  slot.ScopeHigh = -1;
  for (const TEntry& e : entries.List) {
    const size_t length = std::strlen(e.Name);
    slot.Attributes = e.Area;
    slot.Value = e.Value;
    slot.NameLength = static_cast<uint8_t>(length);
    std::memcpy(slot.Name, e.Name, length + 1);
    symbols.Add(&slot);
  }
}

void BM_AddAndFindAll(benchmark::State& state) {
  TCpu cpu;
  TheCpu = &cpu;
  const TEntries entries = MakeEntries(12345);
  const TEntries lookups = MakeEntries(678);
  for (auto _ : state) {
    TSymbols symbols;
    AddAll(symbols, entries);
    for (const TEntry& e : lookups.List) {
      benchmark::DoNotOptimize(symbols.FindByName(e.Name, false));
      benchmark::DoNotOptimize(symbols.FindByAddress(e.Area, e.Value));
    }
  }
  TheCpu = nullptr;
}
BENCHMARK(BM_AddAndFindAll)->Unit(benchmark::kMillisecond);

void BM_Add(benchmark::State& state) {
  const TEntries entries = MakeEntries(12345);
  for (auto _ : state) {
    TSymbols symbols;
    AddAll(symbols, entries);
  }
}
BENCHMARK(BM_Add)->Unit(benchmark::kMillisecond);

void BM_FindByName(benchmark::State& state) {
  TSymbols symbols;
  AddAll(symbols, MakeEntries(12345));
  const TEntries lookups = MakeEntries(678);
  for (auto _ : state) {
    for (const TEntry& e : lookups.List) benchmark::DoNotOptimize(symbols.FindByName(e.Name, false));
  }
}
BENCHMARK(BM_FindByName)->Unit(benchmark::kMillisecond);

void BM_FindByAddress(benchmark::State& state) {
  TSymbols symbols;
  AddAll(symbols, MakeEntries(12345));
  const TEntries lookups = MakeEntries(678);
  for (auto _ : state) {
    for (const TEntry& e : lookups.List) benchmark::DoNotOptimize(symbols.FindByAddress(e.Area, e.Value));
  }
}
BENCHMARK(BM_FindByAddress)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
