#pragma once
// Collects the bytes of a load into runs of consecutive addresses in one area
// and hands each run on in pieces of exactly PieceSize bytes while it lasts
// and a last shorter one when it breaks, so the target gets one write per
// piece instead of one per record. A byte takes UnitsPerByte units of the
// data (one byte, or two hex digits); a piece goes out followed by a NUL unit,
// so hex text arrives as a string.
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>

template <typename TUnit, uint8_t PieceSize, unsigned UnitsPerByte>
class TRunGatherer {
 public:
  static constexpr uint8_t BLOCK_SIZE = PieceSize;
  using TWriter = std::function<void(uint8_t area, uint32_t address, const TUnit* data, uint8_t count)>;

  explicit TRunGatherer(TWriter writer) : Write(std::move(writer)) {}

  // data holds count bytes. Data of another area, or not continuing the run
  // (a gap or an overlap), flushes the run first.
  void Add(uint8_t area, uint32_t address, const TUnit* data, uint32_t count) {
    if (area != GatherArea || address != GatherNext) {
      Flush();
      GatherArea = area;
      GatherStart = GatherNext = address;
    }
    while (GatherCount + count >= PieceSize) {
      const uint32_t part = PieceSize - GatherCount;
      Append(data, part);
      WritePiece(PieceSize);
      GatherStart += PieceSize;
      GatherNext = GatherStart;
      data += UnitsPerByte * part;
      count -= part;
    }
    Append(data, count);
    GatherNext += count;
  }

  void Flush() {
    if (GatherCount != 0) WritePiece(GatherCount);
  }

  // Bytes handed to the writer so far.
  uint32_t BytesWritten() const { return Written; }

 private:
  void Append(const TUnit* data, uint32_t count) {
    if (count != 0)
      std::memcpy(Gathered.data() + UnitsPerByte * GatherCount, data, UnitsPerByte * count * sizeof(TUnit));
    GatherCount = static_cast<uint8_t>(GatherCount + count);
  }
  void WritePiece(uint8_t count) {
    Gathered[UnitsPerByte * count] = TUnit{};
    Written += count;
    Write(GatherArea, GatherStart, Gathered.data(), count);
    GatherCount = 0;
  }

  TWriter Write;
  uint8_t GatherArea = 0xFF;
  uint32_t GatherStart = 0xFFFFFFFF;
  uint32_t GatherNext = 0xFFFFFFFF;
  uint8_t GatherCount = 0;
  std::array<TUnit, UnitsPerByte * PieceSize + 1> Gathered{};
  uint32_t Written = 0;
};

// The object code of a reader, in pieces of at most 254 bytes.
using TCodeGatherer = TRunGatherer<uint8_t, 254, 1>;
// The hex text of an image's data records, in pieces of exactly 255 bytes while
// a run lasts and a last of 1 to 254.
using THexGatherer = TRunGatherer<char, 255, 2>;
