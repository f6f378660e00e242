#include "HexGatherer.h"

#include <cstring>

void THexGatherer::Add(uint8_t area, uint32_t address, const char* text, uint32_t count) {
  if (area != GatherArea || address != GatherNext) {
    Flush();
    GatherArea = area;
    GatherStart = GatherNext = address;
  }
  while (GatherCount + count >= BLOCK_SIZE) {
    const uint32_t part = BLOCK_SIZE - GatherCount;
    std::memcpy(GatherText.data() + 2 * GatherCount, text, 2 * part);
    GatherText[2 * BLOCK_SIZE] = '\0';
    Write(GatherArea, GatherStart, BLOCK_SIZE, GatherText.data());
    GatherStart += BLOCK_SIZE;
    GatherNext = GatherStart;
    text += 2 * part;
    count -= part;
    GatherCount = 0;
  }
  std::memcpy(GatherText.data() + 2 * GatherCount, text, 2 * count);
  GatherNext += count;
  GatherCount = static_cast<uint8_t>(GatherCount + count);
}

void THexGatherer::Flush() {
  if (GatherCount == 0) return;
  GatherText[2 * GatherCount] = '\0';
  Write(GatherArea, GatherStart, GatherCount, GatherText.data());
  GatherCount = 0;
}
