#pragma once
#include <climits>
#include <cstdint>
#include <functional>
#include <vector>

#include "SymbolRecord.h"

// A sorted index of record pointers with a replaceable order and a cursor.
// Equal elements keep the order in which they were inserted. Elements are
// reached by position as in one sorted array; underneath, the pointers lie in
// blocks of a few hundred so that an insertion moves one block's tail only.
// The records themselves belong to the caller and never move.
class TBTree {
 public:
  // Negative when the key sorts before the element, 0 when equal, positive after.
  using TCompare = std::function<int(const TSymbolRecord* key, const TSymbolRecord* element)>;

  // Search's result when no order has been installed.
  static constexpr int SEARCH_NO_COMPARE = INT_MIN + 1;

  TBTree();
  TBTree(const TBTree&) = delete;
  TBTree& operator=(const TBTree&) = delete;

  // Empties the index; the cursor keeps its value.
  void Clear();

  // Installs the order that the next operations use.
  void SetOnCompare(TCompare compare);

  // Position of the first element equal to key, or -(insertion point) - 1.
  int Search(const TSymbolRecord* key) const;

  // The first element of the run equal to key, with the cursor set on it; null
  // (cursor unchanged) when none is equal.
  TSymbolRecord* Find(const TSymbolRecord* key);

  // As Find, but walks the whole index from its start, for lookups in an order
  // other than the one the index was built in.
  TSymbolRecord* Scan(const TSymbolRecord* key);

  // Inserts after every element equal to it; without an order, at the end.
  int Insert(TSymbolRecord* element);

  // The element after the cursor, advancing the cursor; null at the end.
  TSymbolRecord* Next();

  // Element n in order from 0, or null when n is out of range.
  TSymbolRecord* Get(int n) const;

  int Count() const { return FCount; }

 private:
  using TBlock = std::vector<TSymbolRecord*>;

  // First position whose element makes pred(compare(key, element)) false.
  template <typename Pred>
  int Bound(const TSymbolRecord* key, Pred pred) const;
  void InsertAt(int position, TSymbolRecord* element);

  std::vector<TBlock> Blocks;
  std::vector<int> BlockStart;  // position of each block's first element
  TCompare OnCompare;
  int FCount = 0;
  int Cursor = -1;
};
