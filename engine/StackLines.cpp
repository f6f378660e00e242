#include "StackLines.h"

#include <algorithm>
#include <cstdio>

#include "Configuration.h"
#include "Tgtz80.h"

namespace {

int ItemWidth(uint8_t dataMode) { return dataMode + 1; }

}  // namespace

int StackLineCount(int wanted, uint8_t dataMode) {
  return std::clamp(wanted, 0, StackReadLimit / ItemWidth(dataMode));
}

std::string MakeStackLine(uint16_t area, uint32_t address, uint8_t addrMode, uint8_t dataMode, const uint8_t* data) {
  uint32_t value = 0;
  for (int i = ItemWidth(dataMode) - 1; i >= 0; --i) value = value << 8 | data[i];
  address = TheCpu->MaskAddress(area, address);
  char line[24];
  std::snprintf(line, sizeof line, "%0*X %0*X", 2 * addrMode + 2, address, 2 * dataMode + 2, value);
  return line;
}

std::vector<std::string> MakeStackLines(uint16_t area, uint32_t addr, uint8_t addrMode, uint8_t dataMode,
                                        const uint8_t* data, int count) {
  const int width = ItemWidth(dataMode);
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i)
    lines.push_back(MakeStackLine(area, addr + static_cast<uint32_t>(i * width), addrMode, dataMode, data + i * width));
  return lines;
}

bool IsStackPointerLine(uint32_t addr, uint8_t dataMode, int row, uint32_t sp) {
  return addr + static_cast<uint32_t>(row * ItemWidth(dataMode)) == sp;
}
