#pragma once
// Collects the code blocks of an object-file load into runs of consecutive
// addresses in one area and hands each run on in pieces of at most 254 bytes,
// so the target gets few, full writes instead of one per record.
#include <array>
#include <cstdint>
#include <functional>

class TCodeGatherer {
 public:
  static constexpr uint8_t BLOCK_SIZE = 254;
  using TWriter = std::function<void(uint8_t area, uint32_t address, const uint8_t* bytes, uint8_t count)>;

  explicit TCodeGatherer(TWriter writer) : Write(std::move(writer)) {}

  // A block of a different area or not continuing the run flushes the run first.
  void Add(uint8_t area, uint32_t address, const uint8_t* bytes, uint32_t count);
  void Flush();
  // Bytes handed to the writer so far.
  uint32_t BytesWritten() const { return Written; }

 private:
  TWriter Write;
  uint8_t GatherArea = 0xFF;
  uint32_t GatherStart = 0xFFFFFFFF;
  uint32_t GatherNext = 0xFFFFFFFF;
  uint8_t GatherCount = 0;
  std::array<uint8_t, BLOCK_SIZE> GatherBuffer{};
  uint32_t Written = 0;
};
