#pragma once
// The 1 MB Intel HEX image that the loading benchmarks read: 65,536 data
// records of 16 bytes, an extended linear address record before each 64 KB
// and, when asked, a symbol line every 4 KB.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

inline void WriteIntelHexImage(const std::string& path, bool withSymbols) {
  std::ofstream out(path, std::ios::binary);
  char line[64];
  for (uint32_t address = 0; address < 0x100000; address += 16) {
    if ((address & 0xFFFF) == 0) {
      const unsigned high = address >> 16;
      std::snprintf(line, sizeof line, ":02000004%04X%02X\n", high, (0x100 - (6 + high)) & 0xFF);
      out << line;
    }
    if (withSymbols && (address & 0xFFF) == 0) {
      std::snprintf(line, sizeof line, " label%05X %04X\n", address, address & 0xFFFF);
      out << line;
    }
    unsigned sum = 16 + ((address >> 8) & 0xFF) + (address & 0xFF);
    int size = std::snprintf(line, sizeof line, ":10%04X00", address & 0xFFFF);
    for (unsigned i = 0; i < 16; ++i) {
      const unsigned byte = (address + i * 7) & 0xFF;
      sum += byte;
      size += std::snprintf(line + size, sizeof line - size, "%02X", byte);
    }
    std::snprintf(line + size, sizeof line - size, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
    out << line;
  }
  out << ":00000001FF\n";
}
