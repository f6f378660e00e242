// Loading a large program: 100,000 symbols added in random order through one
// reused slot, as the loaders add them, then each found by name and by address.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Configuration.h"
#include "Symbols.h"
#include "Tgtz80.h"

namespace {

constexpr int SYMBOLS = 100000;

struct TEntry {
  std::string Name;
  uint16_t Area;
  uint32_t Value;
};

std::vector<TEntry> MakeEntries(unsigned seed) {
  std::vector<TEntry> entries;
  entries.reserve(SYMBOLS);
  char name[64];
  for (int i = 0; i < SYMBOLS; ++i) {
    std::snprintf(name, sizeof name, "_module%03d_symbol%06d", i % 997, i);
    entries.push_back({name, static_cast<uint16_t>(1 + i % 3), static_cast<uint32_t>(i) * 7});
  }
  std::shuffle(entries.begin(), entries.end(), std::mt19937(seed));
  return entries;
}

void AddAll(TSymbols& symbols, const std::vector<TEntry>& entries) {
  TSymbolRecord slot{};
  slot.ScopeHigh = -1;
  for (const TEntry& e : entries) {
    slot.Attributes = e.Area;
    slot.Value = e.Value;
    slot.NameLength = static_cast<uint8_t>(e.Name.size());
    std::memcpy(slot.Name, e.Name.c_str(), e.Name.size() + 1);
    symbols.Add(&slot);
  }
}

void BM_AddAndFindAll(benchmark::State& state) {
  TCpu cpu;
  TheCpu = &cpu;
  const std::vector<TEntry> entries = MakeEntries(12345);
  const std::vector<TEntry> lookups = MakeEntries(678);
  for (auto _ : state) {
    TSymbols symbols;
    AddAll(symbols, entries);
    for (const TEntry& e : lookups) {
      benchmark::DoNotOptimize(symbols.FindByName(e.Name.c_str(), false));
      benchmark::DoNotOptimize(symbols.FindByAddress(e.Area, e.Value));
    }
  }
  TheCpu = nullptr;
}
BENCHMARK(BM_AddAndFindAll)->Unit(benchmark::kMillisecond);

void BM_Add(benchmark::State& state) {
  const std::vector<TEntry> entries = MakeEntries(12345);
  for (auto _ : state) {
    TSymbols symbols;
    AddAll(symbols, entries);
  }
}
BENCHMARK(BM_Add)->Unit(benchmark::kMillisecond);

void BM_FindByName(benchmark::State& state) {
  TSymbols symbols;
  AddAll(symbols, MakeEntries(12345));
  const std::vector<TEntry> lookups = MakeEntries(678);
  for (auto _ : state) {
    for (const TEntry& e : lookups) benchmark::DoNotOptimize(symbols.FindByName(e.Name.c_str(), false));
  }
}
BENCHMARK(BM_FindByName)->Unit(benchmark::kMillisecond);

void BM_FindByAddress(benchmark::State& state) {
  TSymbols symbols;
  AddAll(symbols, MakeEntries(12345));
  const std::vector<TEntry> lookups = MakeEntries(678);
  for (auto _ : state) {
    for (const TEntry& e : lookups) benchmark::DoNotOptimize(symbols.FindByAddress(e.Area, e.Value));
  }
}
BENCHMARK(BM_FindByAddress)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
