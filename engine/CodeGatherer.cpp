#include "CodeGatherer.h"

#include <cstring>

void TCodeGatherer::Add(uint8_t area, uint32_t address, const uint8_t* bytes, uint32_t count) {
  if (area != GatherArea || address != GatherNext) {
    Flush();
    GatherArea = area;
    GatherStart = GatherNext = address;
  }
  while (GatherCount + count >= BLOCK_SIZE) {
    uint32_t part = BLOCK_SIZE - GatherCount;
    std::memcpy(GatherBuffer.data() + GatherCount, bytes, part);
    Written += BLOCK_SIZE;
    Write(GatherArea, GatherStart, GatherBuffer.data(), BLOCK_SIZE);
    GatherStart += BLOCK_SIZE;
    GatherNext = GatherStart;
    bytes += part;
    count -= part;
    GatherCount = 0;
  }
  if (count != 0) std::memcpy(GatherBuffer.data() + GatherCount, bytes, count);
  GatherNext += count;
  GatherCount = static_cast<uint8_t>(GatherCount + count);
}

void TCodeGatherer::Flush() {
  if (GatherCount == 0) return;
  Written += GatherCount;
  Write(GatherArea, GatherStart, GatherBuffer.data(), GatherCount);
  GatherCount = 0;
}
