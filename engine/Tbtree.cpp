#include "Tbtree.h"

#include <algorithm>
#include <bit>

namespace {
// A full block is split in two; an insertion moves at most this many pointers.
constexpr size_t BLOCK_MAX = 256;
}  // namespace

TBTree::TBTree() = default;

void TBTree::Clear() {
  std::vector<TBlock>().swap(Blocks);
  std::vector<TSymbolRecord*>().swap(BlockLast);
  std::vector<int>().swap(Counts);
  FCount = 0;
}

void TBTree::SetOnCompare(TCompare compare) { OnCompare = compare; }

template <typename Pred>
TBTree::TPlace TBTree::Bound(const TSymbolRecord* key, Pred pred) const {
  // Every block is a sorted run of one order, so the first block whose last
  // element ends the predicate holds the bound.
  const auto last = std::partition_point(BlockLast.begin(), BlockLast.end(),
                                         [&](const TSymbolRecord* e) { return pred(OnCompare(key, e)); });
  const size_t b = static_cast<size_t>(last - BlockLast.begin());
  if (b == Blocks.size()) return {b, 0};
  const TBlock& block = Blocks[b];
  const auto at = std::partition_point(block.begin(), block.end(),
                                       [&](const TSymbolRecord* e) { return pred(OnCompare(key, e)); });
  return {b, static_cast<size_t>(at - block.begin())};
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
  const TPlace place = Bound(key, [](int r) { return r > 0; });
  const int position = place.Block == Blocks.size() ? FCount : PositionOf(place);
  if (place.Block < Blocks.size() && OnCompare(key, Blocks[place.Block][place.Offset]) == 0) return position;
  return -position - 1;
}

TSymbolRecord* TBTree::Find(const TSymbolRecord* key) {
  if (FCount == 0 || !OnCompare) return nullptr;
  const TPlace place = Bound(key, [](int r) { return r > 0; });
  if (place.Block == Blocks.size()) return nullptr;
  TSymbolRecord* element = Blocks[place.Block][place.Offset];
  if (OnCompare(key, element) != 0) return nullptr;
  Cursor = PositionOf(place);
  return element;
}

TSymbolRecord* TBTree::Scan(const TSymbolRecord* key) {
  if (!OnCompare) return nullptr;
  int position = 0;
  for (const TBlock& block : Blocks) {
    for (TSymbolRecord* element : block) {
      if (OnCompare(key, element) == 0) {
        Cursor = position;
        return element;
      }
      ++position;
    }
  }
  return nullptr;
}

int TBTree::Insert(TSymbolRecord* element) {
  if (Blocks.empty() || !OnCompare) {
    InsertAt({Blocks.size(), 0}, element);
  } else {
    InsertAt(Bound(element, [](int r) { return r >= 0; }), element);
  }
  return 0;
}

void TBTree::InsertAt(TPlace place, TSymbolRecord* element) {
  if (Blocks.empty()) {
    Blocks.emplace_back();
    BlockLast.push_back(nullptr);
    Counts.assign(2, 0);
  }
  if (place.Block == Blocks.size()) place = {Blocks.size() - 1, Blocks.back().size()};
  TBlock& block = Blocks[place.Block];
  block.insert(block.begin() + static_cast<std::ptrdiff_t>(place.Offset), element);
  BlockLast[place.Block] = block.back();
  ++FCount;
  if (block.size() <= BLOCK_MAX) {
    for (size_t i = place.Block + 1; i < Counts.size(); i += i & (~i + 1)) ++Counts[i];
    return;
  }
  const size_t half = block.size() / 2;
  TBlock upper(block.begin() + static_cast<std::ptrdiff_t>(half), block.end());
  block.resize(half);
  BlockLast[place.Block] = block.back();
  BlockLast.insert(BlockLast.begin() + static_cast<std::ptrdiff_t>(place.Block) + 1, upper.back());
  Blocks.insert(Blocks.begin() + static_cast<std::ptrdiff_t>(place.Block) + 1, std::move(upper));
  RebuildCounts();
}

TSymbolRecord* TBTree::Next() {
  if (Cursor + 1 >= FCount || Cursor + 1 < 0) return nullptr;
  ++Cursor;
  return Get(Cursor);
}

TSymbolRecord* TBTree::Get(int n) const {
  if (n < 0 || n >= FCount) return nullptr;
  const TPlace place = PlaceOf(n);
  return Blocks[place.Block][place.Offset];
}
