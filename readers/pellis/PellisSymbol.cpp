#include "PellisSymbol.h"

#include "ObjectFile.h"

namespace {
// Register variables carry the debug information's register numbers, which the
// program tells from its own register codes by this bit.
constexpr uint32_t DEBUG_REGISTER_CODE = 0x100;
}  // namespace

void ReadSymbol(TObjectFile& file, TSymbolSlot& slot, bool extra) {
  slot = TSymbolSlot{};
  slot.Kind = file.Byte();
  slot.Attributes = file.Be16();
  slot.Value = file.Be32();
  if (slot.Kind == SYMBOL_KIND_REGISTER) slot.Value += DEBUG_REGISTER_CODE;
  slot.NameLength = file.Name(slot.Name, sizeof slot.Name);
  slot.TypeIndex = static_cast<int16_t>(file.Be16());
  if (extra) file.Skip(file.Be16() * 13ull);
}
