#pragma once
// The evaluation state of one watch: what the symbol lookup found, what the
// type description produced, and what the evaluator reads from the target.
#include <cstdint>
#include <string>

#include "SymbolRecord.h"

// Bits of TWatchState::Flags above the type class.
inline constexpr uint16_t WATCH_TYPE_CLASS_MASK = 0x0FFF;
inline constexpr uint16_t WATCH_DEREFERENCE = 0x1000;
inline constexpr uint16_t WATCH_INDEXED = 0x2000;
inline constexpr uint16_t WATCH_ADDRESS_OF = 0x4000;
inline constexpr uint16_t WATCH_ABSOLUTE = 0x8000;

// Type classes written into the low bits of TWatchState::Flags.
inline constexpr uint16_t TYPE_CLASS_SCALAR = 1;  // scalars and pointers
inline constexpr uint16_t TYPE_CLASS_ARRAY = 2;
inline constexpr uint16_t TYPE_CLASS_STRUCTURE = 3;
inline constexpr uint16_t TYPE_CLASS_BIT_FIELD = 5;
inline constexpr uint16_t TYPE_CLASS_PROCEDURE = 6;

// Kind given to a pointer stored in two parts (memory type and address).
inline constexpr uint8_t WATCH_KIND_TWO_PART_POINTER = 33;

struct TWatchState {
  uint8_t Kind = 0;
  uint16_t Area = 0;
  uint32_t Value = 0;
  int16_t FrameArea = 0;
  uint32_t FrameBase = 0;
  uint32_t ScopeLow = 0xFFFFFFFF;  // with ScopeHigh 0: an empty range until resolved
  uint32_t ScopeHigh = 0;
  uint16_t Flags = 0;
  uint8_t PointerCode = 0;
  uint16_t TargetType = 0;
  uint16_t Index = 0;
  uint8_t Size = 0;  // bytes to read; saturates at 255
  uint8_t SizeCode = 0;
  uint32_t Offset = 0;
  TSymbolRecord Symbol{};
  std::string Format;  // the FormatValue descriptor

  void SetTypeClass(uint16_t typeClass) {
    Flags = static_cast<uint16_t>((Flags & ~WATCH_TYPE_CLASS_MASK) | (typeClass & WATCH_TYPE_CLASS_MASK));
  }
  uint16_t TypeClass() const { return Flags & WATCH_TYPE_CLASS_MASK; }
  void AddSize(uint32_t n) { Size = static_cast<uint8_t>(n >= 255u - Size ? 255u : Size + n); }
};
