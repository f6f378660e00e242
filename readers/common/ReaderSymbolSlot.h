#pragma once
// The 280-byte slot in which a reader hands over one symbol: the 24-byte
// symbol record header, field for field as the symbol table stores it, then
// a 256-byte name field. An array of slots ends at a slot whose Name[0] is 0.
#include <cstddef>
#include <cstdint>

inline constexpr std::size_t SYMBOL_HEADER_SIZE = 24;
inline constexpr std::size_t SYMBOL_NAME_SIZE = 256;  // 255 characters and a NUL
inline constexpr std::size_t SYMBOL_SLOT_SIZE = SYMBOL_HEADER_SIZE + SYMBOL_NAME_SIZE;

#pragma pack(push, 1)
struct TSymbolSlot {
  uint8_t Kind;
  uint16_t Attributes;
  uint32_t Value;
  int16_t FrameArea;
  int32_t FrameBase;
  int16_t TypeIndex;
  uint32_t ScopeLow;   // as delivered: 1 + the scope's index in the scope table, 0 for none
  int32_t ScopeHigh;   // as delivered: -1 for a global, 0 for a local
  uint8_t NameLength;
  char Name[SYMBOL_NAME_SIZE];
};
#pragma pack(pop)

static_assert(sizeof(TSymbolSlot) == SYMBOL_SLOT_SIZE);
static_assert(SYMBOL_SLOT_SIZE == 280);
static_assert(offsetof(TSymbolSlot, Kind) == 0);
static_assert(offsetof(TSymbolSlot, Attributes) == 1);
static_assert(offsetof(TSymbolSlot, Value) == 3);
static_assert(offsetof(TSymbolSlot, FrameArea) == 7);
static_assert(offsetof(TSymbolSlot, FrameBase) == 9);
static_assert(offsetof(TSymbolSlot, TypeIndex) == 13);
static_assert(offsetof(TSymbolSlot, ScopeLow) == 15);
static_assert(offsetof(TSymbolSlot, ScopeHigh) == 19);
static_assert(offsetof(TSymbolSlot, NameLength) == 23);
static_assert(offsetof(TSymbolSlot, Name) == SYMBOL_HEADER_SIZE);
