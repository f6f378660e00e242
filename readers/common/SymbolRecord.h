#pragma once
#include <cstddef>
#include <cstdint>

// One symbol as the readers and the program loader hand it over: a 24-byte
// header followed by the name. Readers deliver it in 280-byte slots (header and
// a 256-byte name field); the symbol table stores the header, the name and its
// terminating NUL only, so a stored record is usually shorter than the struct.
// Both sides of the reader interface share this header.
#pragma pack(push, 1)
struct TSymbolRecord {
  uint8_t Kind;
  uint16_t Attributes;  // area attribute: bits 0-4 the area, 0x40 banked
  uint32_t Value;       // address, constant value, frame offset or register code
  int16_t FrameArea;    // kind 32: 255 when FrameBase is a register code
  int32_t FrameBase;    // kind 32: register code or address of the frame-base word
  int16_t TypeIndex;    // 0 = untyped
  uint32_t ScopeLow;    // delivered: 1 + scope index (0 = global); resolved: lowest visible address
  int32_t ScopeHigh;    // delivered: -1 global, 0 local; resolved: highest visible address
  uint8_t NameLength;
  char Name[256];
};
#pragma pack(pop)

inline constexpr size_t SYMBOL_HEADER_SIZE = 24;
inline constexpr size_t SYMBOL_SLOT_SIZE = 280;
inline constexpr size_t SYMBOL_MAX_NAME = 255;

static_assert(sizeof(TSymbolRecord) == SYMBOL_SLOT_SIZE);
static_assert(offsetof(TSymbolRecord, Kind) == 0);
static_assert(offsetof(TSymbolRecord, Attributes) == 1);
static_assert(offsetof(TSymbolRecord, Value) == 3);
static_assert(offsetof(TSymbolRecord, FrameArea) == 7);
static_assert(offsetof(TSymbolRecord, FrameBase) == 9);
static_assert(offsetof(TSymbolRecord, TypeIndex) == 13);
static_assert(offsetof(TSymbolRecord, ScopeLow) == 15);
static_assert(offsetof(TSymbolRecord, ScopeHigh) == 19);
static_assert(offsetof(TSymbolRecord, NameLength) == 23);
static_assert(offsetof(TSymbolRecord, Name) == SYMBOL_HEADER_SIZE);

// The slot in which a reader hands over one symbol is the record itself. An
// array of slots ends at a slot whose Name[0] is 0.
using TSymbolSlot = TSymbolRecord;

inline constexpr std::size_t SYMBOL_NAME_SIZE = SYMBOL_SLOT_SIZE - SYMBOL_HEADER_SIZE;  // 255 characters and a NUL
static_assert(SYMBOL_NAME_SIZE == 256);
