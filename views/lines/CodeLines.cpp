#include "CodeLines.h"

#include <algorithm>

#include "Configuration.h"
#include "Tgtz80.h"

void TCodeLines::Build(uint16_t area, uint32_t address, int instructions, int hOffset, const TReadCode& read,
                       const TGetSource& source) {
  const int count = std::max(0, instructions) + 1;
  const std::size_t step = TheCpu->MaxInstrSize;
  // Instruction i starts at most i * step bytes in and is read step bytes wide.
  FCode.assign(count * step, 0);
  if (read) read(area, address, static_cast<uint32_t>(count * step), FCode.data());

  const std::size_t offset = static_cast<std::size_t>(std::clamp(hOffset, 0, MaxHOffset));
  FLines.clear();
  FLines.reserve(source ? 2 * count + 1 : count + 1);
  const uint8_t* code = FCode.data();
  std::string text;
  char buffer[LineWidth + 1];
  for (int i = 0; i < count; ++i) {
    address = TheCpu->MaskAddress(area, address);
    if (source && source(area, address, text)) FLines.push_back({text, address});
    std::fill(buffer, buffer + LineWidth, ' ');
    buffer[LineWidth] = '\0';
    const uint16_t length = TheCpu->Disassemble(area, address, code, buffer, sizeof buffer, 0);
    FLines.push_back({std::string(buffer + offset, LineWidth - offset), address});
    address += length;
    code += length;
  }
  FLines.push_back({std::string(), address});
}

uint32_t TCodeLines::Address(int index) const {
  if (FLines.empty()) return 0;
  return FLines[static_cast<std::size_t>(std::clamp(index, 0, Count() - 1))].Address;
}

int TCodeLines::Find(uint32_t address, int limit) const {
  const int end = std::min(limit, Count());
  for (int i = 0; i < end; ++i)
    if (FLines[static_cast<std::size_t>(i)].Address == address) return i;
  return -1;
}

uint32_t TCodeLines::SecondInstruction() const {
  const auto second = std::find_if(FLines.begin(), FLines.end(),
                                   [this](const TCodeLine& line) { return line.Address != FLines.front().Address; });
  return second == FLines.end() ? Address(Count() - 1) : second->Address;
}
