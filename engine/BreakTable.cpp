#include "BreakTable.h"

#include <utility>

uint16_t TBreakTable::Write(uint8_t mode, uint8_t area, uint32_t address) {
  uint16_t index = 0;
  while (index < Size) {
    const TBreakEntry& e = Entries[index];
    if (e.State == BREAK_FREE || (e.Area == area && e.Address == address)) break;
    ++index;
  }
  if (index == Size) return NO_BREAK;

  TBreakEntry& entry = Entries[index];
  auto set = [&] {
    if (entry.State == BREAK_DISABLED) {
      entry.State = BREAK_ENABLED;
      return;
    }
    FreeBreakData(index);
    entry.State = BREAK_ENABLED;
    entry.Area = area;
    entry.Address = address;
    entry.Reserved = 0;
  };
  switch (mode) {
    case BREAK_REMOVE:
      if (entry.State != BREAK_FREE) Remove(index);
      break;
    case BREAK_SET:
      set();
      break;
    case BREAK_TOGGLE:
      if (entry.State == BREAK_ENABLED)
        Remove(index);
      else
        set();
      break;
    case BREAK_ENABLE:
      if (entry.State == BREAK_DISABLED) entry.State = BREAK_ENABLED;
      break;
    case BREAK_DISABLE:
      if (entry.State == BREAK_ENABLED) entry.State = BREAK_DISABLED;
      break;
    default:
      break;
  }
  return index;
}

uint16_t TBreakTable::Read(uint8_t area, uint32_t address, TBreakEntry& out) const {
  out.State = BREAK_FREE;
  out.Area = 0;
  out.Address = 0;
  out.Reserved = 0;
  out.Extra.reset();
  for (uint16_t index = 0; index < Size && Entries[index].State != BREAK_FREE; ++index) {
    const TBreakEntry& e = Entries[index];
    if (e.Area == area && e.Address == address) {
      out.State = e.State;
      out.Area = e.Area;
      out.Address = e.Address;
      out.Reserved = e.Reserved;
      return index;
    }
  }
  return NO_BREAK;
}

// Stops at the last entry: with all 16 used there is no free entry to end on.
void TBreakTable::Reset() {
  for (uint16_t index = 0; index < Size && Entries[index].State != BREAK_FREE; ++index) {
    Entries[index].State = BREAK_FREE;
    FreeBreakData(index);
  }
}

void TBreakTable::Remove(uint16_t index) {
  FreeBreakData(index);
  for (uint16_t i = index; i + 1 < Size; ++i) {
    Entries[i].State = Entries[i + 1].State;
    Entries[i].Area = Entries[i + 1].Area;
    Entries[i].Address = Entries[i + 1].Address;
    Entries[i].Reserved = Entries[i + 1].Reserved;
    Entries[i].Extra = std::move(Entries[i + 1].Extra);
  }
  Entries[Size - 1].State = BREAK_FREE;
  Entries[Size - 1].Extra.reset();
}

void TBreakTable::FreeBreakData(uint16_t index) { Entries[index].Extra.reset(); }
