#pragma once
#include <cstdint>

struct TImageRecord;

struct TFormatEntry {
  uint16_t Id;              // the format number, with 0x80 for the binary format
  const char* Description;
  const char* Key;
  int (*Reader)(TImageRecord& record);
  int (*Writer)(TImageRecord& record);
  const char* EndLine;      // written by Close after writing; null for none
};

// The formats in search order; the table ends at an entry with the id 0.
extern const TFormatEntry FormatTable[];

// The entry whose number (id & 0x7F) is `number`, or null.
const TFormatEntry* FormatByNumber(int32_t number);
