#pragma once
// The texts of the memory-map and target read/write dialogs, and the walk
// over an area's memory map.
#include <cstdint>
#include <string>
#include <vector>

struct TAreaDescriptor;

// ---- Memory map -----------------------------------------------------------------

// "Edit " + the area's name without '&', letters A to Z in lower case, + " map".
std::string MapCaption(const TAreaDescriptor& area);

struct TMapRun {
  uint32_t Start;
  uint32_t End;
  uint8_t Bits;  // the mapping byte
};

// What the dialog knows of an area: its size from the target's address bits
// (at most 32), the bit its map changes, and the names of the two mappings.
struct TMapArea {
  explicit TMapArea(const TAreaDescriptor& descriptor);
  uint64_t Size;
  uint8_t Mask;
  std::string ClearName;
  std::string SetName;
};

// The area's runs as the target reports them, run after run from address 0.
// The walk ends at the area's last address, and at a run that ends below its
// start; a run the target leaves unanswered reaches to the end of the area.
std::vector<TMapRun> ReadMapRuns(const TMapArea& area);

// "From 00000000h to 0000FFFFh as " + the mapping's name; without both names
// eight characters, mask bit 7 and value bit 7 first: '.' outside the mask,
// 'X' a set bit, '_' a clear one.
std::string MapRow(const TMapArea& area, const TMapRun& run);
// The mapping byte that shows the given name (0: the clear one).
uint8_t MappingBits(const TMapArea& area, int kind);

// ---- Target read and write ------------------------------------------------------

// "@CODE:0100 = 00": the address is start + offset, not wrapped, with as many
// digits as the CPU's address mode asks (none for an unknown mode).
std::string TargetReadLine(uint8_t area, uint32_t start, uint32_t offset, uint8_t value);
// A value list as ParseArgs reads it: in braces unless it starts with a
// double quote or an opening brace.
std::string TargetWriteValues(const std::string& typed);
