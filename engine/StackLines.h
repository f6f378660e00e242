#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The lines of the stack view: one item a line, its address and its value in
// upper-case hex. Items are 1 to 4 bytes wide, least significant byte first.
// addrMode and dataMode count as the views count them (0 for the narrowest).

// The bytes one read of the stack view may fetch: the target's read count is 8 bits.
constexpr int StackReadLimit = 255;

// How many of wanted lines the items of one read fill.
int StackLineCount(int wanted, uint8_t dataMode);

// One item's line, its address masked for the area.
std::string MakeStackLine(uint16_t area, uint32_t address, uint8_t addrMode, uint8_t dataMode, const uint8_t* data);

// The lines for the items at addr, addr + width, ... read into data, which
// holds count x width bytes.
std::vector<std::string> MakeStackLines(uint16_t area, uint32_t addr, uint8_t addrMode, uint8_t dataMode,
                                        const uint8_t* data, int count);

// Whether the stack pointer stands at line row: the line's address counted
// on from addr in 32 bits, not masked, so a line that wrapped round the top
// of its area never matches.
bool IsStackPointerLine(uint32_t addr, uint8_t dataMode, int row, uint32_t sp);
