#include "TargetDialogLines.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Configuration.h"
#include "Protocol.h"
#include "Tgtz80.h"
#include "Utility.h"

std::string MapCaption(const TAreaDescriptor& area) {
  std::string name;
  for (std::size_t i = 0; i < sizeof area.Name && area.Name[i] != '\0'; ++i) {
    const char c = area.Name[i];
    if (c == '&') continue;
    name += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return "Edit " + name + " map";
}

namespace {
std::string Text(const char (&text)[40]) { return std::string(text, strnlen(text, sizeof text)); }
}  // namespace

TMapArea::TMapArea(const TAreaDescriptor& descriptor)
    : Size(uint64_t{1} << std::min<unsigned>(descriptor.AddressBits, 32)),
      Mask(descriptor.BitMask),
      ClearName(Text(descriptor.Text2)),
      SetName(Text(descriptor.Text3)) {}

std::vector<TMapRun> ReadMapRuns(const TMapArea& area) {
  std::vector<TMapRun> runs;
  const uint64_t last = area.Size - 1;
  uint64_t start = 0;
  while (start <= last) {
    auto end = static_cast<uint32_t>(last);
    uint8_t bits = 0;
    TheProtocol->ReadMemoryMap(static_cast<uint32_t>(start), area.Mask, end, bits);
    runs.push_back({static_cast<uint32_t>(start), end, bits});
    if (end < start || end >= last) break;
    start = uint64_t{end} + 1;
  }
  return runs;
}

std::string MapRow(const TMapArea& area, const TMapRun& run) {
  char text[40];
  std::snprintf(text, sizeof text, "From %08Xh to %08Xh as ", static_cast<unsigned>(run.Start),
                static_cast<unsigned>(run.End));
  std::string row = text;
  if (!area.ClearName.empty() && !area.SetName.empty()) return row + (run.Bits ? area.SetName : area.ClearName);
  for (int bit = 7; bit >= 0; --bit) {
    if (!(area.Mask & (1u << bit)))
      row += '.';
    else
      row += run.Bits & (1u << bit) ? 'X' : '_';
  }
  return row;
}

uint8_t MappingBits(const TMapArea& area, int kind) { return kind ? area.Mask : 0; }

std::string TargetReadLine(uint8_t area, uint32_t start, uint32_t offset, uint8_t value) {
  std::string name;
  TheCpu->GetAreaName(area, name);
  const uint64_t address = uint64_t{start} + offset;
  char text[32] = "";
  const uint8_t mode = TheCpu->AddrMode;
  if (mode <= 3) std::snprintf(text, sizeof text, "%0*llX", 2 * (mode + 1), static_cast<unsigned long long>(address));
  char byte[8];
  std::snprintf(byte, sizeof byte, " = %02X", value);
  return "@" + name + ":" + text + byte;
}

std::string TargetWriteValues(const std::string& typed) {
  if (!typed.empty() && (typed[0] == '"' || typed[0] == '{')) return typed;
  return "{" + typed + "}";
}
