#include "Tbtree.h"

#include <algorithm>

namespace {
// A full block is split in two; insertions then move at most this many pointers.
constexpr size_t BLOCK_MAX = 256;
}  // namespace

TBTree::TBTree() = default;

void TBTree::Clear() {
  std::vector<TBlock>().swap(Blocks);
  std::vector<int>().swap(BlockStart);
  FCount = 0;
}

void TBTree::SetOnCompare(TCompare compare) { OnCompare = std::move(compare); }

template <typename Pred>
int TBTree::Bound(const TSymbolRecord* key, Pred pred) const {
  // The blocks are sorted runs of one order, so the first block whose last
  // element ends the predicate holds the bound.
  auto block = std::partition_point(Blocks.begin(), Blocks.end(),
                                    [&](const TBlock& b) { return pred(OnCompare(key, b.back())); });
  if (block == Blocks.end()) return FCount;
  auto at = std::partition_point(block->begin(), block->end(),
                                 [&](const TSymbolRecord* e) { return pred(OnCompare(key, e)); });
  return BlockStart[block - Blocks.begin()] + static_cast<int>(at - block->begin());
}

int TBTree::Search(const TSymbolRecord* key) const {
  if (!OnCompare) return SEARCH_NO_COMPARE;
  const int position = Bound(key, [](int r) { return r > 0; });
  if (position < FCount && OnCompare(key, Get(position)) == 0) return position;
  return -position - 1;
}

TSymbolRecord* TBTree::Find(const TSymbolRecord* key) {
  if (FCount == 0) return nullptr;
  const int position = Search(key);
  if (position < 0) return nullptr;
  Cursor = position;
  return Get(position);
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
  if (!OnCompare) {
    InsertAt(FCount, element);
    return 0;
  }
  InsertAt(Bound(element, [](int r) { return r >= 0; }), element);
  return 0;
}

void TBTree::InsertAt(int position, TSymbolRecord* element) {
  if (Blocks.empty()) {
    Blocks.emplace_back();
    BlockStart.push_back(0);
  }
  // The block holding position, or the last block when position is the end.
  size_t b = std::upper_bound(BlockStart.begin(), BlockStart.end(), position) - BlockStart.begin() - 1;
  if (position == FCount) b = Blocks.size() - 1;
  TBlock& block = Blocks[b];
  block.insert(block.begin() + (position - BlockStart[b]), element);
  for (size_t k = b + 1; k < BlockStart.size(); ++k) ++BlockStart[k];
  ++FCount;
  if (block.size() > BLOCK_MAX) {
    const size_t half = block.size() / 2;
    TBlock upper(block.begin() + half, block.end());
    block.resize(half);
    Blocks.insert(Blocks.begin() + b + 1, std::move(upper));
    BlockStart.insert(BlockStart.begin() + b + 1, BlockStart[b] + static_cast<int>(half));
  }
}

TSymbolRecord* TBTree::Next() {
  if (Cursor + 1 >= FCount || Cursor + 1 < 0) return nullptr;
  ++Cursor;
  return Get(Cursor);
}

TSymbolRecord* TBTree::Get(int n) const {
  if (n < 0 || n >= FCount) return nullptr;
  const size_t b = std::upper_bound(BlockStart.begin(), BlockStart.end(), n) - BlockStart.begin() - 1;
  return Blocks[b][n - BlockStart[b]];
}
