#include "FirstRecordTable.h"

#include <cstring>

namespace {
size_t Mix(uint64_t key) {
  key ^= key >> 33;
  key *= 0xFF51AFD7ED558CCDull;
  key ^= key >> 33;
  return static_cast<size_t>(key);
}
}  // namespace

void TFirstRecordTable::Clear() {
  std::vector<TSlot>().swap(Slots);
  Used = 0;
}

// The slot holding key (and name), or the free slot where it would go.
size_t TFirstRecordTable::Probe(uint64_t key, const char* name) const {
  const size_t mask = Slots.size() - 1;
  for (size_t i = Mix(key) & mask;; i = (i + 1) & mask) {
    const TSlot& slot = Slots[i];
    if (!slot.Record) return i;
    if (slot.Key == key && (!name || std::strcmp(slot.Record->Name, name) == 0)) return i;
  }
}

void TFirstRecordTable::Reserve(size_t count) {
  size_t slots = Slots.empty() ? 1024 : Slots.size();
  // Up to 80 % full: a smaller table stays in the caches longer, and the
  // probes of a miss still run over few neighbouring slots.
  while (5 * (Used + count) > 4 * slots) slots *= 2;
  if (slots != Slots.size()) Grow(slots);
}

void TFirstRecordTable::Prefetch(uint64_t key) const {
  if (!Slots.empty()) __builtin_prefetch(&Slots[Mix(key) & (Slots.size() - 1)]);
}

void TFirstRecordTable::Grow(size_t slots) {
  std::vector<TSlot> old(slots);
  old.swap(Slots);
  const size_t mask = Slots.size() - 1;
  for (const TSlot& slot : old) {
    if (!slot.Record) continue;
    size_t i = Mix(slot.Key) & mask;
    while (Slots[i].Record) i = (i + 1) & mask;
    Slots[i] = slot;
  }
}

void TFirstRecordTable::Add(uint64_t key, TSymbolRecord* record, const char* name) {
  Reserve(1);
  TSlot& slot = Slots[Probe(key, name)];
  if (slot.Record) return;
  slot = {key, record};
  ++Used;
}

TSymbolRecord* TFirstRecordTable::Find(uint64_t key, const char* name) const {
  if (Slots.empty()) return nullptr;
  return Slots[Probe(key, name)].Record;
}
