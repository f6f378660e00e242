#pragma once
#include <array>
#include <cstdint>

// The demonstration target's 64 KB of memory, shared by every area. Only the
// low 16 bits of an address count, and every transfer wraps from 0xFFFF to 0.
class TMemoryImage {
 public:
  void Read(uint32_t address, uint32_t count, uint8_t* buffer) const;
  void Write(uint32_t address, uint32_t count, const uint8_t* buffer);
  // Two upper-case hex digits per byte, high digit first, no terminator.
  void ReadHex(uint32_t address, uint32_t count, char* text) const;
  // One byte per pair of hex digits; lower-case digits count like upper-case.
  void WriteHex(uint32_t address, uint32_t count, const char* text);
  // Repeats the pattern from its start over count bytes; an empty pattern
  // writes nothing.
  void Fill(uint32_t address, uint32_t count, uint32_t patternLength, const uint8_t* pattern);
  // One byte at a time from the lowest address up.
  void Copy(uint32_t source, uint32_t dest, uint32_t count);

  uint8_t& operator[](uint32_t address) { return Bytes[address & 0xFFFF]; }
  uint8_t operator[](uint32_t address) const { return Bytes[address & 0xFFFF]; }

 private:
  static constexpr uint32_t ImageSize = 0x10000;
  std::array<uint8_t, ImageSize> Bytes{};
};
