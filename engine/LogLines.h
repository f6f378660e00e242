#pragma once
// The lines of the communication-log window: one line per run of characters
// that went the same way between program and target.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TLogLine {
  uint8_t Direction = 0;  // 0 from the program, anything else from the target
  std::string Text;
};

// Entry i of count: high byte the direction, low byte the character. Letters
// and digits show as themselves, every other byte as <XX>.
std::vector<TLogLine> BuildLogLines(uint16_t count, const std::function<uint16_t(uint16_t index)>& entry);

// The log TheProtocol keeps.
std::vector<TLogLine> ReadLogLines();
