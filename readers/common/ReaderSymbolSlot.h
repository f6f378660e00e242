#pragma once
// The 280-byte slot in which a reader hands over one symbol: the 24-byte
// symbol record header, then a 256-byte name field. The symbol table's own
// record has exactly this layout, so the slot is that record. An array of
// slots ends at a slot whose Name[0] is 0.
#include "../../engine/SymbolRecord.h"

using TSymbolSlot = TSymbolRecord;

inline constexpr std::size_t SYMBOL_NAME_SIZE = SYMBOL_SLOT_SIZE - SYMBOL_HEADER_SIZE;  // 255 characters and a NUL
static_assert(SYMBOL_NAME_SIZE == 256);
