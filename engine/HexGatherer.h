#pragma once
// Collects the data records of an image load, as hex text, into runs of
// consecutive addresses in one area and hands each run on in pieces of exactly
// 255 bytes while it lasts and a last of 1 to 254, so the target gets one
// write per 255 bytes instead of one per record.
#include <array>
#include <cstdint>
#include <functional>

class THexGatherer {
 public:
  static constexpr uint8_t BLOCK_SIZE = 255;
  using TWriter = std::function<void(uint8_t area, uint32_t address, uint8_t count, const char* text)>;

  explicit THexGatherer(TWriter writer) : Write(std::move(writer)) {}

  // text holds two hex digits for each of count bytes. A record of another
  // area or not continuing the run (a gap or an overlap) flushes the run first.
  void Add(uint8_t area, uint32_t address, const char* text, uint32_t count);
  void Flush();

 private:
  TWriter Write;
  uint8_t GatherArea = 0xFF;
  uint32_t GatherStart = 0xFFFFFFFF;
  uint32_t GatherNext = 0xFFFFFFFF;
  uint8_t GatherCount = 0;
  std::array<char, 2 * BLOCK_SIZE + 1> GatherText{};
};
