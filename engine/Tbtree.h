#pragma once
#include <array>
#include <climits>
#include <cstdint>
#include <vector>

#include "SymbolRecord.h"

// A sorted index of record pointers with a replaceable order and a cursor.
// Equal elements keep the order in which they were inserted. Elements are
// reached by position as in one sorted array; underneath, the pointers lie in
// blocks of a few hundred so that an insertion moves one block's tail only.
// The records themselves belong to the caller and never move.
//
// An order may come with a sort key: three numbers per record that order
// records as the compare does wherever two keys differ. Each element's key is kept
// beside its pointer, so a search over an index built in that same order
// compares numbers and reads a record only where keys are equal.
//
// While every insertion uses one order with a sort key, insertions are only
// collected, and the first operation that needs the order sorts them in (a
// stable sort, then a merge behind equal elements: the order one-by-one
// insertion gives). A program load adds thousands of symbols before anything
// walks the index, so it sorts once instead of moving block tails each time.
class TBTree {
 public:
  // Negative when the key sorts before the element, 0 when equal, positive after.
  using TCompare = int (*)(const TSymbolRecord* key, const TSymbolRecord* element);
  using TKey = std::array<uint64_t, 3>;
  using TSortKey = TKey (*)(const TSymbolRecord* record);

  // Search's result when no order has been installed.
  static constexpr int SEARCH_NO_COMPARE = INT_MIN + 1;

  TBTree();
  TBTree(const TBTree&) = delete;
  TBTree& operator=(const TBTree&) = delete;

  // Empties the index; the cursor keeps its value.
  void Clear();

  // Installs the order that the next operations use.
  void SetOnCompare(TCompare compare, TSortKey sortKey = nullptr);

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

  // Puts the cursor on element, an element of the index that the caller found
  // by other means and that is the first of its run in the installed order.
  // Its position is worked out only when Next needs it.
  void SetCursor(TSymbolRecord* element);

  // The element after the cursor, advancing the cursor; null at the end.
  TSymbolRecord* Next();

  // Element n in order from 0, or null when n is out of range.
  TSymbolRecord* Get(int n) const;

  int Count() const { return FCount; }

 private:
  struct TBlock {
    std::vector<TSymbolRecord*> Items;
    std::vector<TKey> Keys;  // the sort keys, while the index has them
    size_t size() const { return Items.size(); }
  };
  struct TPlace {
    size_t Block;
    size_t Offset;
  };

  // record's key in sortKey, stored in key, when the index is kept in that
  // order; null otherwise.
  const TKey* KeyOf(TSortKey sortKey, const TSymbolRecord* record, TKey& key) const;
  // The first place whose element makes pred(compare(key, element)) false;
  // Block is Blocks.size() when there is none. wanted is key's sort key, or
  // null to compare records only.
  template <typename Pred>
  TPlace Bound(TCompare compare, const TSymbolRecord* key, const TKey* wanted, Pred pred) const;
  int PositionOf(TPlace place) const;
  TPlace PlaceOf(int position) const;
  void InsertAt(TPlace place, TSymbolRecord* element, const TKey& key);
  void RebuildCounts();
  // Turns a cursor set by SetCursor into its position.
  void ResolveCursor();
  // Sorts the collected insertions in. It leaves the sequence the index
  // stands for as it was, so lookups that only read may do it.
  void Settle() const;
  void SettleCollected();
  void SettleOneByOne(const std::vector<size_t>& order);
  void SettleByMerge(const std::vector<size_t>& order);

  std::vector<TBlock> Blocks;
  std::vector<TSymbolRecord*> BlockLast;  // each block's last element, searched first
  std::vector<TKey> BlockLastKey;
  std::vector<int> Counts;                // Fenwick tree over the block sizes
  TCompare OnCompare = nullptr;
  TSortKey OnSortKey = nullptr;
  // The order and sort key of every insertion so far; IndexKey is null when
  // insertions used different orders or none had a key.
  TCompare IndexCompare = nullptr;
  TSortKey IndexKey = nullptr;
  // Insertions in IndexCompare's order not yet sorted in, with their keys.
  std::vector<TSymbolRecord*> Collected;
  std::vector<TKey> CollectedKeys;
  int FCount = 0;  // the collected insertions included
  int Cursor = -1;
  TSymbolRecord* PendingCursor = nullptr;  // set by SetCursor, in the order below
  TCompare PendingCompare = nullptr;
  TSortKey PendingSortKey = nullptr;
};
