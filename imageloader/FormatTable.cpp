#include "FormatTable.h"

#include "Formats.h"

namespace {
constexpr const char* INTEL_END = ":00000001FF\n";
}

const TFormatEntry FormatTable[] = {
    {1, "Symbolic/Typed", "SYMBOLIC", ReadSymbolic, WriteSymbolic, "#95C\n"},
    {2, "Intel symbolic", "INTEL", ReadIntelHex, WriteIntelHex, INTEL_END},
    {3, "Motorola HEX,SYM", "MOTOROLA", ReadMotorola, WriteSRecord, "S9030000FC\n"},
    {4, "M51 Intel HEX,M51", "INTELM51", ReadIntelHexWithM51, WriteIntelHex, INTEL_END},
    {5, "AD2500 Intel HEX,SYM", "AD2500", ReadIntelHexWithAd2500, WriteIntelHex, INTEL_END},
    {6, "Toshiba Intel HEX,SYM", "TOSHIBA", ReadIntelHexWithToshiba, WriteIntelHex, INTEL_END},
    {7, "Avrasm Intel HEX,LST", "AVRASM", ReadIntelHexWithAvrasm, WriteIntelHex, INTEL_END},
    {0x88, "Binary file", "BINARY", ReadBinary, WriteBinary, nullptr},
    {0, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TFormatEntry* FormatByNumber(int32_t number) {
  for (const TFormatEntry* entry = FormatTable; entry->Id != 0; ++entry)
    if ((entry->Id & 0x7F) == number) return entry;
  return nullptr;
}
