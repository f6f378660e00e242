#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One line of the code view and the address it belongs to.
struct TCodeLine {
  std::string Text;
  uint32_t Address = 0;
};

// The lines of the code view: consecutive instructions as TCpu::Disassemble
// writes them, each optionally preceded by its source line, and a trailing
// empty line that carries the address after the last instruction.
class TCodeLines {
 public:
  // Reads count bytes of code at address into code; the bytes of a reader
  // that delivers fewer stay 0.
  using TReadCode = std::function<void(uint16_t area, uint32_t address, uint32_t count, uint8_t* code)>;
  // The source line shown above the instruction at address; false when none.
  using TGetSource = std::function<bool(uint16_t area, uint32_t address, std::string& text)>;

  // The widest line the disassembler writes, and how far it may be scrolled.
  static constexpr int LineWidth = 255;
  static constexpr int MaxHOffset = 132;

  // Rebuilds the list for instructions + 1 instructions from address (one
  // more than a view shows, so the one partly hidden at the bottom is known).
  // Every text starts at column hOffset of its disassembly line. Reads all
  // the code at once; without a reader the code is all zeros.
  void Build(uint16_t area, uint32_t address, int instructions, int hOffset, const TReadCode& read,
             const TGetSource& source);

  int Count() const { return static_cast<int>(FLines.size()); }
  const std::vector<TCodeLine>& Lines() const { return FLines; }
  // The address of line index, clamped to the lines built (0 when none).
  uint32_t Address(int index) const;
  // The address of the second instruction, where a view one instruction
  // further down starts (line 1 is the first instruction's own line when it
  // has a source line above it).
  uint32_t SecondInstruction() const;
  // Index of the first of lines 0 .. limit - 1 whose address is address; -1 when none.
  int Find(uint32_t address, int limit) const;

 private:
  std::vector<TCodeLine> FLines;
  std::vector<uint8_t> FCode;
};
