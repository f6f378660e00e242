#include "SymbolRow.h"

#include <cstdio>

#include "Configuration.h"
#include "Tgtz80.h"

TSymbolRow GetSymbolRow(const TSymbolRecord& symbol) {
  std::string prefix;
  switch (symbol.Kind) {
    case 6: prefix = "TYPEDEF:"; break;
    case 7: prefix = "@AUTO:"; break;
    case 8: prefix = "@REG:"; break;
    case 9: prefix = "@ENUM:"; break;
    default:
      TheCpu->GetAreaName(symbol.Attributes & AREA_MASK, prefix);
      prefix = "@" + prefix + ":";
      break;
  }
  char value[9];
  std::snprintf(value, sizeof value, "%08lX", static_cast<unsigned long>(symbol.Value));
  return {std::string(symbol.Name, symbol.NameLength), prefix + value};
}
