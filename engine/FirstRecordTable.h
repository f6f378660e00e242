#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "SymbolRecord.h"

// An open-addressing table from a 64-bit key to the first record stored under
// it. A key is either exact (an area and address) or a hash of a name; for
// the latter the name tells records with the same hash apart.
class TFirstRecordTable {
 public:
  void Clear();
  // Makes room for count more keys at once, so that adding them grows nothing.
  void Reserve(size_t count);
  // Starts fetching the slot where key's search begins.
  void Prefetch(uint64_t key) const;
  // Keeps the record only when none is stored under the key (and name) yet.
  void Add(uint64_t key, TSymbolRecord* record, const char* name = nullptr);
  TSymbolRecord* Find(uint64_t key, const char* name = nullptr) const;

 private:
  struct TSlot {
    uint64_t Key;
    TSymbolRecord* Record;  // null: a free slot
  };
  size_t Probe(uint64_t key, const char* name) const;
  void Grow(size_t slots);

  std::vector<TSlot> Slots;
  size_t Used = 0;
};
