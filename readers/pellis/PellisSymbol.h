#pragma once
// One symbol of the object file, read into a slot of the reader interface.
#include "SymbolRecord.h"

class TObjectFile;

// Fills kind, attributes, value, name and type; `extra` passes over the
// 13-byte items that some symbol records carry after the type. The scope
// fields are left to the caller, the frame fields stay 0.
void ReadSymbol(TObjectFile& file, TSymbolSlot& slot, bool extra);

// Kind of a register variable, whose value is a register number of the debug information.
inline constexpr uint8_t SYMBOL_KIND_REGISTER = 8;
