#include "Tbtree.h"

#include <bit>

namespace {
// A full block is split in two; an insertion moves at most this many pointers.
constexpr size_t BLOCK_MAX = 256;

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
  std::vector<TBlock>().swap(Blocks);
  std::vector<TSymbolRecord*>().swap(BlockLast);
  std::vector<TKey>().swap(BlockLastKey);
  std::vector<int>().swap(Counts);
  FCount = 0;
  IndexKey = nullptr;
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
  TKey k;
  const TPlace place = Bound(OnCompare, key, KeyOf(OnSortKey, key, k), [](int r) { return r > 0; });
  if (place.Block == Blocks.size()) return -FCount - 1;
  const int position = PositionOf(place);
  if (OnCompare(key, Blocks[place.Block].Items[place.Offset]) == 0) return position;
  return -position - 1;
}

TSymbolRecord* TBTree::Find(const TSymbolRecord* key) {
  if (FCount == 0 || !OnCompare) return nullptr;
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
  if (FCount == 0) IndexKey = sortKey;
  if (sortKey != IndexKey) IndexKey = nullptr;
  TKey k{};
  const TKey* key = KeyOf(sortKey, element, k);
  if (Blocks.empty() || !OnCompare) {
    InsertAt({Blocks.size(), 0}, element, k);
  } else {
    InsertAt(Bound(OnCompare, element, key, [](int r) { return r >= 0; }), element, k);
  }
  return 0;
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
  const TPlace place = PlaceOf(n);
  return Blocks[place.Block].Items[place.Offset];
}
