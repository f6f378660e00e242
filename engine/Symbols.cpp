#include "Symbols.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstring>
#include <new>

#include "Configuration.h"
#include "MainFormMessages.h"
#include "MessageBox.h"
#include "Tgtz80.h"

namespace {
int Sign(int32_t a, int32_t b) { return (a > b) - (a < b); }

uint64_t BigEndian(uint64_t word) {
  if constexpr (std::endian::native == std::endian::little) return __builtin_bswap64(word);
  return word;
}

bool NameFits(const char* name) { return name && strnlen(name, SYMBOL_MAX_NAME + 1) <= SYMBOL_MAX_NAME; }
}  // namespace

TSymbols::TSymbols() {
  Blocks.push_back(std::make_unique<uint8_t[]>(POOL_STEP));
  PoolEnd = Blocks.back().get();
  BlockEnd = PoolEnd + POOL_STEP;
}

TSymbols::~TSymbols() = default;

bool TSymbols::GrowPool() {
  try {
    Blocks.push_back(std::make_unique<uint8_t[]>(POOL_STEP));
  } catch (const std::bad_alloc&) {
    return false;
  }
  PoolEnd = Blocks.back().get();
  BlockEnd = PoolEnd + POOL_STEP;
  return true;
}

void TSymbols::Add(const TSymbolRecord* slot) {
  if (OutOfMemory || !slot) return;
  // Every record keeps a whole slot's room behind its start, so callers may
  // copy a stored record as a full slot.
  if (static_cast<size_t>(BlockEnd - PoolEnd) < SYMBOL_SLOT_SIZE && !GrowPool()) {
    OutOfMemory = true;
    MessageBox("No more free memory space to store symbols", "FATAL ERROR", MB_ICONSTOP);
    PostQuitMessage(1);  // a fatal end is no success
    return;
  }
  const size_t length = strnlen(slot->Name, SYMBOL_MAX_NAME);
  auto* record = reinterpret_cast<TSymbolRecord*>(PoolEnd);
  std::memcpy(record, slot, SYMBOL_HEADER_SIZE);
  std::memcpy(record->Name, slot->Name, length);
  record->Name[length] = '\0';
  record->NameLength = static_cast<uint8_t>(length);

  UseAddressOrder(record->Attributes);
  ByName.SetOnCompare(CompareName, NameSortKey);
  ByAddress.Insert(record);
  ByName.Insert(record);
  Unhashed.push_back(record);
  PoolEnd += SYMBOL_HEADER_SIZE + length + 1;
}

void TSymbols::Clear() {
  ByAddress.Clear();
  ByName.Clear();
  FirstByAddress.Clear();
  FirstByName.Clear();
  Unhashed.clear();
}

void TSymbols::HashAdded() {
  constexpr size_t AHEAD = 8;  // records whose slots are fetched ahead of the one entered
  const size_t n = Unhashed.size();
  if (n == 0) return;
  std::vector<uint64_t> addressKeys(n), nameKeys(n);
  for (size_t i = 0; i < n; ++i) {
    addressKeys[i] = AddressSortKey(Unhashed[i])[0];
    nameKeys[i] = NameHash(Unhashed[i]->Name);
  }
  FirstByAddress.Reserve(n);
  FirstByName.Reserve(n);
  for (size_t i = 0; i < n; ++i) {
    if (i + AHEAD < n) {
      FirstByAddress.Prefetch(addressKeys[i + AHEAD]);
      FirstByName.Prefetch(nameKeys[i + AHEAD]);
    }
    FirstByAddress.Add(addressKeys[i], Unhashed[i]);
    FirstByName.Add(nameKeys[i], Unhashed[i], Unhashed[i]->Name);
  }
  Unhashed.clear();
}

void TSymbols::UseAddressOrder(uint16_t area) {
  if (area & AREA_BANKED) {
    ByAddress.SetOnCompare(CompareBankedAddress);
  } else {
    ByAddress.SetOnCompare(CompareAddress, AddressSortKey);
  }
}

TSymbolRecord* TSymbols::FindByAddress(uint16_t area, uint32_t address) {
  TSymbolRecord key{};
  key.Attributes = area;
  key.Value = address;
  UseAddressOrder(area);
  if (area & AREA_BANKED) return ByAddress.Find(&key);
  HashAdded();
  TSymbolRecord* found = FirstByAddress.Find(AddressSortKey(&key)[0]);
  if (found) ByAddress.SetCursor(found);
  return found;
}

TSymbolRecord* TSymbols::FindExact(uint16_t area, uint32_t address, const char* name) {
  if (!NameFits(name)) return nullptr;
  const bool banked = (area & AREA_BANKED) != 0;
  auto linear = [&](uint32_t value) { return banked ? TheCpu->LinearAddress(value) : value; };
  const uint32_t wanted = linear(address);
  TSymbolRecord* p = FindByAddress(area, address);
  while (p) {
    if (std::strcmp(p->Name, name) == 0) return p;
    p = ByAddress.Next();
    if (p && ((p->Attributes & AREA_MASK) != (area & AREA_MASK) || linear(p->Value) != wanted)) p = nullptr;
  }
  return nullptr;
}

TSymbolRecord* TSymbols::FindByName(const char* name, bool noCase) {
  if (!NameFits(name)) return nullptr;
  if (!noCase) {
    ByName.SetOnCompare(CompareName, NameSortKey);
    HashAdded();
    TSymbolRecord* found = FirstByName.Find(NameHash(name), name);
    if (found) ByName.SetCursor(found);
    return found;
  }
  TSymbolRecord key{};
  std::strcpy(key.Name, name);
  key.NameLength = static_cast<uint8_t>(std::strlen(name));
  ByName.SetOnCompare(CompareNameNoCase);
  TSymbolRecord* found = ByName.Find(&key);
  // The index is in case-sensitive order, which a case-blind bisection can
  // miss; walk it instead.
  if (!found) found = ByName.Scan(&key);
  return found;
}

TSymbolRecord* TSymbols::NextByName() { return ByName.Next(); }

int TSymbols::Count() const { return ByAddress.Count(); }

TSymbolRecord* TSymbols::GetByName(int n) const { return ByName.Get(n); }

TSymbolRecord* TSymbols::GetByAddress(int n) const { return ByAddress.Get(n); }

int TSymbols::CompareAddress(const TSymbolRecord* key, const TSymbolRecord* element) {
  const int areas = (key->Attributes & AREA_MASK) - (element->Attributes & AREA_MASK);
  if (areas != 0) return areas;
  return Sign(static_cast<int32_t>(key->Value), static_cast<int32_t>(element->Value));
}

int TSymbols::CompareBankedAddress(const TSymbolRecord* key, const TSymbolRecord* element) {
  const int areas = (key->Attributes & AREA_MASK) - (element->Attributes & AREA_MASK);
  if (areas != 0) return areas;
  return Sign(static_cast<int32_t>(TheCpu->LinearAddress(key->Value)),
              static_cast<int32_t>(TheCpu->LinearAddress(element->Value)));
}

int TSymbols::CompareName(const TSymbolRecord* key, const TSymbolRecord* element) {
  return std::strcmp(key->Name, element->Name);
}

int TSymbols::CompareNameNoCase(const TSymbolRecord* key, const TSymbolRecord* element) {
  const auto* a = reinterpret_cast<const unsigned char*>(key->Name);
  const auto* b = reinterpret_cast<const unsigned char*>(element->Name);
  for (;; ++a, ++b) {
    const int d = std::toupper(*a) - std::toupper(*b);
    if (d != 0 || *a == 0) return d;
  }
}

TBTree::TKey TSymbols::AddressSortKey(const TSymbolRecord* record) {
  // Flipping the sign bit orders the values as signed numbers.
  return {(static_cast<uint64_t>(record->Attributes & AREA_MASK) << 32) | (record->Value ^ 0x80000000u), 0, 0};
}

TBTree::TKey TSymbols::NameSortKey(const TSymbolRecord* record) {
  // The first 24 bytes, the first one highest, zeros after the end: strcmp's
  // order of the prefixes.
  unsigned char prefix[24] = {};
  std::memcpy(prefix, record->Name, strnlen(record->Name, sizeof prefix));
  TBTree::TKey key{};
  for (size_t i = 0; i < key.size(); ++i) {
    uint64_t word;
    std::memcpy(&word, prefix + 8 * i, sizeof word);
    key[i] = BigEndian(word);
  }
  return key;
}

uint64_t TSymbols::NameHash(const char* name) {
  // Eight bytes a step, each step mixed in by a multiplication.
  constexpr uint64_t Mul = 0x9E3779B97F4A7C15ull;
  const size_t length = std::strlen(name);
  uint64_t hash = length * Mul;
  for (size_t at = 0; at < length; at += 8) {
    uint64_t word = 0;
    std::memcpy(&word, name + at, std::min<size_t>(8, length - at));
    hash = (hash ^ word) * Mul;
    hash ^= hash >> 29;
  }
  return hash;
}
