#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "FirstRecordTable.h"
#include "SymbolRecord.h"
#include "Tbtree.h"

// Every symbol of the loaded program, stored once and indexed twice: by area
// and address, and by name. A stored record keeps its address for the whole
// run, so views, loaders and the watch evaluator hold plain pointers to it.
class TSymbols {
 public:
  static constexpr uint32_t POOL_STEP = 0x10000;

  TSymbols();
  ~TSymbols();
  TSymbols(const TSymbols&) = delete;
  TSymbols& operator=(const TSymbols&) = delete;

  // Stores one record from a reader's slot (the name up to its NUL, at most 255
  // characters). When memory runs out the program is told to quit and nothing
  // is stored from then on.
  void Add(const TSymbolRecord* slot);

  // Empties both indexes; stored records stay where they are.
  void Clear();

  TSymbolRecord* FindByAddress(uint16_t area, uint32_t address);
  // The record of that area and address whose name is exactly name.
  TSymbolRecord* FindExact(uint16_t area, uint32_t address, const char* name);
  // Positions the name walk of NextByName.
  TSymbolRecord* FindByName(const char* name, bool noCase);
  TSymbolRecord* NextByName();

  int Count() const;
  TSymbolRecord* GetByName(int n) const;
  TSymbolRecord* GetByAddress(int n) const;

  // The orders of the two indexes; the key comes first.
  static int CompareAddress(const TSymbolRecord* key, const TSymbolRecord* element);
  static int CompareBankedAddress(const TSymbolRecord* key, const TSymbolRecord* element);
  static int CompareName(const TSymbolRecord* key, const TSymbolRecord* element);
  static int CompareNameNoCase(const TSymbolRecord* key, const TSymbolRecord* element);
  // Sort keys that order records as CompareAddress and CompareName do where keys differ.
  static TBTree::TKey AddressSortKey(const TSymbolRecord* record);
  static TBTree::TKey NameSortKey(const TSymbolRecord* record);
  static uint64_t NameHash(const char* name);

 private:
  bool GrowPool();
  void UseAddressOrder(uint16_t area);
  // Enters the records added since the last lookup into the first-record tables.
  void HashAdded();

  std::vector<std::unique_ptr<uint8_t[]>> Blocks;  // the pool, a chain of POOL_STEP blocks
  uint8_t* PoolEnd = nullptr;                       // first free byte of the last block
  uint8_t* BlockEnd = nullptr;
  bool OutOfMemory = false;
  TBTree ByAddress;
  TBTree ByName;
  // The first record stored under each area and address and under each name
  // since the last Clear, which is the first of its run in the index: exact
  // lookups find it without a search.
  TFirstRecordTable FirstByAddress;
  TFirstRecordTable FirstByName;
  // Added but not yet in those tables: entered together, their searches
  // overlap instead of each waiting for memory in turn.
  std::vector<TSymbolRecord*> Unhashed;
};
