#include "CodeListing.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "Configuration.h"
#include "Tgtz80.h"

bool TCodeListing::Write(std::FILE* out, uint32_t start, uint32_t end, const TReadCode& read, const TGoOn& goOn) {
  const std::size_t step = TheCpu->MaxInstrSize;
  std::array<uint8_t, WindowSize> window{};
  std::size_t position = WindowSize;  // empty: read before the first line
  std::array<char, 256> line;
  for (uint64_t address = start; address <= end;) {
    if (WindowSize - position <= step) {
      read(static_cast<uint32_t>(address), WindowSize, window.data());
      position = 0;
    }
    std::fill(line.begin(), line.end() - 1, ' ');
    line.back() = '\0';
    const uint16_t length = TheCpu->Disassemble(0, static_cast<uint32_t>(address), window.data() + position,
                                                line.data(), line.size(), 0);
    address += length;
    position += length;
    std::size_t used = std::strlen(line.data());
    while (used > 0 && line[used - 1] == ' ') --used;
    line[used++] = '\n';
    if (std::fwrite(line.data(), 1, used, out) != used) return false;
    if (address > UINT32_MAX || (goOn && !goOn(static_cast<uint32_t>(address)))) break;
  }
  return true;
}
