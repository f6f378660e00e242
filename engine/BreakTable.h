#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Returned by the breakpoint operations instead of a table index when the
// address has no entry or the table is full.
constexpr uint16_t NO_BREAK = 0xFFFF;

// Modes of TProtocol::WriteBreak; a value above BREAK_DISABLE only looks up.
enum TBreakMode : uint8_t {
  BREAK_REMOVE = 0,
  BREAK_SET = 1,
  BREAK_TOGGLE = 2,
  BREAK_ENABLE = 3,
  BREAK_DISABLE = 4,
};

enum TBreakState : uint8_t {
  BREAK_FREE = 0,
  BREAK_ENABLED = 3,
  BREAK_DISABLED = 4,
};

// Data a hardware back end may attach to a breakpoint; it goes with its entry.
struct TBreakExtra {
  std::vector<uint8_t> First;
  std::vector<uint8_t> Second;
};

struct TBreakEntry {
  uint8_t State = BREAK_FREE;
  uint8_t Area = 0;  // matched on the whole byte: 0x01 and 0x81 differ
  uint32_t Address = 0;
  uint32_t Reserved = 0;
  std::unique_ptr<TBreakExtra> Extra;
};

// The target's 16 breakpoints, kept packed from index 0: the used entries come
// first and the first free entry ends the list.
class TBreakTable {
 public:
  static constexpr uint16_t Size = 16;

  uint16_t Write(uint8_t mode, uint8_t area, uint32_t address);
  // Clears out; copies the matching entry (without its extra data) into it.
  uint16_t Read(uint8_t area, uint32_t address, TBreakEntry& out) const;
  // Frees every used entry.
  void Reset();

 private:
  std::array<TBreakEntry, Size> Entries;

  void Remove(uint16_t index);
  void FreeBreakData(uint16_t index);
};
