#include "Tbtree.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace {
// A full block is split in two; an insertion moves at most this many pointers.
constexpr size_t BLOCK_MAX = 256;
// Below one collected insertion in this many elements, inserting them one by
// one costs less than merging them into the whole index.
constexpr size_t MERGE_RATIO = 64;

int CompareKeys(const TBTree::TKey& a, const TBTree::TKey& b) {
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

template <typename Vector>
void InsertInto(Vector& v, size_t at, typename Vector::value_type value) {
  v.insert(v.begin() + static_cast<std::ptrdiff_t>(at), value);
}
}  // namespace

TBTree::TBTree() = default;

void TBTree::Clear() {
  // The cursor survives the emptying: a later Next goes on from that position.
  ResolveCursor();
  std::vector<TSymbolRecord*>().swap(Collected);
  std::vector<TKey>().swap(CollectedKeys);
  std::vector<TBlock>().swap(Blocks);
  std::vector<TSymbolRecord*>().swap(BlockLast);
  std::vector<TKey>().swap(BlockLastKey);
  std::vector<int>().swap(Counts);
  FCount = 0;
  IndexKey = nullptr;
  IndexCompare = nullptr;
}

void TBTree::SetOnCompare(TCompare compare, TSortKey sortKey) {
  OnCompare = compare;
  OnSortKey = sortKey;
}

const TBTree::TKey* TBTree::KeyOf(TSortKey sortKey, const TSymbolRecord* record, TKey& key) const {
  if (!sortKey || sortKey != IndexKey) return nullptr;
  key = sortKey(record);
  return &key;
}

template <typename Pred>
TBTree::TPlace TBTree::Bound(TCompare compare, const TSymbolRecord* key, const TKey* wanted, Pred pred) const {
  auto ahead = [&](const TKey& elementKey, const TSymbolRecord* element) {
    const int order = wanted ? CompareKeys(*wanted, elementKey) : 0;
    return pred(order != 0 ? order : compare(key, element));
  };
  // Every block is a sorted run of one order, so the first block whose last
  // element ends the predicate holds the bound.
  size_t lo = 0, hi = BlockLast.size();
  while (lo < hi) {
    const size_t mid = (lo + hi) / 2;
    if (ahead(BlockLastKey[mid], BlockLast[mid])) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  if (lo == Blocks.size()) return {lo, 0};
  const TBlock& block = Blocks[lo];
  size_t a = 0, b = block.size();
  while (a < b) {
    const size_t mid = (a + b) / 2;
    if (ahead(block.Keys[mid], block.Items[mid])) {
      a = mid + 1;
    } else {
      b = mid;
    }
  }
  return {lo, a};
}

// Counts[i] (from 1) holds the sizes of the blocks (i - lowbit(i), i].
int TBTree::PositionOf(TPlace place) const {
  int position = static_cast<int>(place.Offset);
  for (size_t i = place.Block; i > 0; i &= i - 1) position += Counts[i];
  return position;
}

TBTree::TPlace TBTree::PlaceOf(int position) const {
  size_t b = 0;
  for (size_t step = std::bit_floor(Blocks.size()); step > 0; step >>= 1) {
    if (b + step <= Blocks.size() && Counts[b + step] <= position) {
      b += step;
      position -= Counts[b];
    }
  }
  return {b, static_cast<size_t>(position)};
}

void TBTree::RebuildCounts() {
  Counts.assign(Blocks.size() + 1, 0);
  for (size_t i = 1; i <= Blocks.size(); ++i) {
    Counts[i] += static_cast<int>(Blocks[i - 1].size());
    const size_t parent = i + (i & (~i + 1));
    if (parent <= Blocks.size()) Counts[parent] += Counts[i];
  }
}

int TBTree::Search(const TSymbolRecord* key) const {
  if (!OnCompare) return SEARCH_NO_COMPARE;
  Settle();
  TKey k;
  const TPlace place = Bound(OnCompare, key, KeyOf(OnSortKey, key, k), [](int r) { return r > 0; });
  if (place.Block == Blocks.size()) return -FCount - 1;
  const int position = PositionOf(place);
  if (OnCompare(key, Blocks[place.Block].Items[place.Offset]) == 0) return position;
  return -position - 1;
}

TSymbolRecord* TBTree::Find(const TSymbolRecord* key) {
  if (FCount == 0 || !OnCompare) return nullptr;
  Settle();
  TKey k;
  const TPlace place = Bound(OnCompare, key, KeyOf(OnSortKey, key, k), [](int r) { return r > 0; });
  if (place.Block == Blocks.size()) return nullptr;
  TSymbolRecord* element = Blocks[place.Block].Items[place.Offset];
  if (OnCompare(key, element) != 0) return nullptr;
  Cursor = PositionOf(place);
  PendingCursor = nullptr;
  return element;
}

TSymbolRecord* TBTree::Scan(const TSymbolRecord* key) {
  if (!OnCompare) return nullptr;
  Settle();
  int position = 0;
  for (const TBlock& block : Blocks) {
    for (TSymbolRecord* element : block.Items) {
      if (OnCompare(key, element) == 0) {
        Cursor = position;
        PendingCursor = nullptr;
        return element;
      }
      ++position;
    }
  }
  return nullptr;
}

int TBTree::Insert(TSymbolRecord* element) {
  const TSortKey sortKey = OnCompare ? OnSortKey : nullptr;
  if (FCount == 0) {
    IndexKey = sortKey;
    IndexCompare = OnCompare;
  }
  if (sortKey && sortKey == IndexKey && OnCompare == IndexCompare) {
    Collected.push_back(element);
    CollectedKeys.push_back(sortKey(element));
    ++FCount;
    return 0;
  }
  // Another order from here on: what was collected goes in by the old one.
  Settle();
  IndexKey = nullptr;
  if (Blocks.empty() || !OnCompare) {
    InsertAt({Blocks.size(), 0}, element, {});
  } else {
    InsertAt(Bound(OnCompare, element, nullptr, [](int r) { return r >= 0; }), element, {});
  }
  return 0;
}

void TBTree::Settle() const {
  if (!Collected.empty()) const_cast<TBTree*>(this)->SettleCollected();
}

void TBTree::SettleCollected() {
  std::vector<size_t> order(Collected.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const int keys = CompareKeys(CollectedKeys[a], CollectedKeys[b]);
    return keys != 0 ? keys < 0 : IndexCompare(Collected[a], Collected[b]) < 0;
  });
  const size_t held = static_cast<size_t>(FCount) - Collected.size();
  if (Collected.size() * MERGE_RATIO < held) {
    SettleOneByOne(order);
  } else {
    SettleByMerge(order);
  }
  Collected.clear();
  CollectedKeys.clear();
}

void TBTree::SettleOneByOne(const std::vector<size_t>& order) {
  FCount -= static_cast<int>(order.size());
  for (size_t i : order) {
    const TPlace place = Bound(IndexCompare, Collected[i], &CollectedKeys[i], [](int r) { return r >= 0; });
    InsertAt(place, Collected[i], CollectedKeys[i]);
  }
}

// Equal elements keep their order, those already held first: the order that
// inserting each behind its equals gives.
void TBTree::SettleByMerge(const std::vector<size_t>& order) {
  struct TItem {
    TSymbolRecord* Record;
    TKey Key;
  };
  std::vector<TItem> held, added, merged;
  held.reserve(static_cast<size_t>(FCount) - order.size());
  for (const TBlock& block : Blocks)
    for (size_t i = 0; i < block.size(); ++i) held.push_back({block.Items[i], block.Keys[i]});
  added.reserve(order.size());
  for (size_t i : order) added.push_back({Collected[i], CollectedKeys[i]});
  merged.reserve(held.size() + added.size());
  std::merge(held.begin(), held.end(), added.begin(), added.end(), std::back_inserter(merged),
             [&](const TItem& a, const TItem& b) {
               const int keys = CompareKeys(a.Key, b.Key);
               return keys != 0 ? keys < 0 : IndexCompare(a.Record, b.Record) < 0;
             });

  Blocks.clear();
  BlockLast.clear();
  BlockLastKey.clear();
  // Half-full blocks leave room for later insertions.
  for (size_t at = 0; at < merged.size(); at += BLOCK_MAX / 2) {
    TBlock block;
    const size_t end = std::min(merged.size(), at + BLOCK_MAX / 2);
    for (size_t i = at; i < end; ++i) {
      block.Items.push_back(merged[i].Record);
      block.Keys.push_back(merged[i].Key);
    }
    BlockLast.push_back(block.Items.back());
    BlockLastKey.push_back(block.Keys.back());
    Blocks.push_back(std::move(block));
  }
  RebuildCounts();
}

void TBTree::InsertAt(TPlace place, TSymbolRecord* element, const TKey& key) {
  if (Blocks.empty()) {
    Blocks.emplace_back();
    BlockLast.push_back(nullptr);
    BlockLastKey.push_back({});
    Counts.assign(2, 0);
  }
  if (place.Block == Blocks.size()) place = {Blocks.size() - 1, Blocks.back().size()};
  const size_t b = place.Block;
  TBlock& block = Blocks[b];
  InsertInto(block.Items, place.Offset, element);
  InsertInto(block.Keys, place.Offset, key);
  BlockLast[b] = block.Items.back();
  BlockLastKey[b] = block.Keys.back();
  ++FCount;
  if (block.size() <= BLOCK_MAX) {
    for (size_t i = b + 1; i < Counts.size(); i += i & (~i + 1)) ++Counts[i];
    return;
  }
  const auto half = static_cast<std::ptrdiff_t>(block.size() / 2);
  TBlock upper{{block.Items.begin() + half, block.Items.end()}, {block.Keys.begin() + half, block.Keys.end()}};
  block.Items.resize(static_cast<size_t>(half));
  block.Keys.resize(static_cast<size_t>(half));
  BlockLast[b] = block.Items.back();
  BlockLastKey[b] = block.Keys.back();
  InsertInto(BlockLast, b + 1, upper.Items.back());
  InsertInto(BlockLastKey, b + 1, upper.Keys.back());
  Blocks.insert(Blocks.begin() + static_cast<std::ptrdiff_t>(b) + 1, std::move(upper));
  RebuildCounts();
}

void TBTree::SetCursor(TSymbolRecord* element) {
  PendingCursor = element;
  PendingCompare = OnCompare;
  PendingSortKey = OnSortKey;
}

void TBTree::ResolveCursor() {
  Settle();
  if (PendingCursor && PendingCompare) {
    // The element is the first of its run, so it stands where its run begins.
    TKey k;
    const TPlace place =
        Bound(PendingCompare, PendingCursor, KeyOf(PendingSortKey, PendingCursor, k), [](int r) { return r > 0; });
    Cursor = place.Block == Blocks.size() ? FCount : PositionOf(place);
  }
  PendingCursor = nullptr;
}

TSymbolRecord* TBTree::Next() {
  ResolveCursor();
  if (Cursor + 1 >= FCount || Cursor + 1 < 0) return nullptr;
  ++Cursor;
  return Get(Cursor);
}

TSymbolRecord* TBTree::Get(int n) const {
  if (n < 0 || n >= FCount) return nullptr;
  Settle();
  const TPlace place = PlaceOf(n);
  return Blocks[place.Block].Items[place.Offset];
}
