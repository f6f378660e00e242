#include "LogLines.h"

#include <cstdio>

#include "Configuration.h"
#include "Protocol.h"

namespace {

// ASCII only: a byte from 80h on is no letter whatever the locale says.
bool IsAsciiAlphanumeric(uint8_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::vector<TLogLine> BuildLogLines(uint16_t count, const std::function<uint16_t(uint16_t index)>& entry) {
  std::vector<TLogLine> lines;
  TLogLine line;
  for (uint16_t i = 0; i < count; ++i) {
    const uint16_t e = entry(i);
    const auto direction = static_cast<uint8_t>(e >> 8);
    if (i == 0) {
      line.Direction = direction;
    } else if (direction != line.Direction) {
      lines.push_back(std::move(line));
      line = TLogLine{direction, {}};
    }
    const auto c = static_cast<uint8_t>(e);
    if (IsAsciiAlphanumeric(c)) {
      line.Text += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "<%02X>", c);
      line.Text += hex;
    }
  }
  if (!line.Text.empty()) lines.push_back(std::move(line));
  return lines;
}

std::vector<TLogLine> ReadLogLines() {
  return BuildLogLines(TheProtocol->GetLogCount(), [](uint16_t index) { return TheProtocol->GetLogEntry(index); });
}
