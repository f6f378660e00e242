#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>

// The disassembly listing: one line per instruction from start up to and
// including end, as TCpu::Disassemble writes it for area 0 (four-digit
// addresses, plain labels), trailing blanks removed, each line ended by a
// single line feed, no header.
class TCodeListing {
 public:
  // Reads count bytes of program code at address.
  using TReadCode = std::function<void(uint32_t address, uint8_t count, uint8_t* code)>;
  // Told the address of the next instruction after each line; false stops.
  using TGoOn = std::function<bool(uint32_t next)>;

  // Code is read in windows of this many bytes.
  static constexpr uint8_t WindowSize = 128;

  // Writes the lines to out; the listing also ends when the address runs past
  // 0FFFFFFFFh. False when a line could not be written.
  static bool Write(std::FILE* out, uint32_t start, uint32_t end, const TReadCode& read, const TGoOn& goOn);
};
