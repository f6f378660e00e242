#pragma once
// The two columns of the symbol view: a symbol's name, and its address with
// the name of its area, or the kind and value of a symbol that has no address.
#include <string>

#include "SymbolRecord.h"

struct TSymbolRow {
  std::string Name;
  std::string Address;
};

TSymbolRow GetSymbolRow(const TSymbolRecord& symbol);
