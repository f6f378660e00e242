#include "TargetTables.h"

#include <bit>
#include <cstdio>

#include "Protocol.h"
#include "Utility.h"

namespace {

constexpr std::size_t MaxLineName = 79;
constexpr std::size_t TableSize = sizeof(TCapabilities::Data);

// Reads bytes of one table inside the record's data; past the end every read
// fails, so a walk ends there.
class TTableReader {
 public:
  TTableReader(const TCapabilities& capabilities, uint16_t offset)
      : Data(capabilities.Data), Pos(offset == NO_TABLE ? TableSize : offset) {}

  bool Byte(uint8_t& out) {
    if (Pos >= TableSize) return false;
    out = Data[Pos++];
    return true;
  }
  // A NUL-terminated text without its '~'; false when it runs past the end.
  bool Text(std::string& out) {
    out.clear();
    for (uint8_t c; Byte(c);) {
      if (c == 0) return true;
      if (c != '~') out += static_cast<char>(c);
    }
    return false;
  }
  // The next byte without taking it; 0 past the end.
  uint8_t Peek() const { return Pos < TableSize ? Data[Pos] : 0; }

 private:
  const uint8_t* Data;
  std::size_t Pos;
};

uint8_t ValueAt(const std::vector<uint8_t>& values, std::size_t index) { return index < values.size() ? values[index] : 0; }

std::string HexBytes(const TCpuSetting& setting, const std::vector<uint8_t>& values) {
  std::string text;
  char hex[3];
  for (int i = 0; i < setting.Bytes; ++i) {
    std::snprintf(hex, sizeof hex, "%02X", ValueAt(values, std::size_t{setting.Index} + static_cast<std::size_t>(i)));
    text += hex;
  }
  return text;
}

}  // namespace

THwLineTable ReadHwLineTable(const TCapabilities& capabilities) {
  THwLineTable table;
  TTableReader reader(capabilities, capabilities.HwLinesOffset);
  uint8_t unread = 0;
  if (!reader.Byte(table.Count) || !reader.Byte(unread)) return table;
  while (reader.Peek() != 0) {
    THwLine line;
    if (!reader.Text(line.Name) || !reader.Byte(line.Port) || !reader.Byte(line.Bit)) break;
    if (line.Name.size() > MaxLineName) line.Name.resize(MaxLineName);
    table.Lines.push_back(std::move(line));
  }
  return table;
}

bool LineIsSet(const THwLine& line, const uint8_t* bitmap) { return line.Bit < 8 && (bitmap[line.Port] >> line.Bit) & 1; }

void SetLine(const THwLine& line, uint8_t* bitmap) {
  if (line.Bit < 8) bitmap[line.Port] |= static_cast<uint8_t>(1u << line.Bit);
}

TCpuSettingTable ReadCpuSettingTable(const TCapabilities& capabilities) {
  TCpuSettingTable table;
  TTableReader reader(capabilities, capabilities.CpuSettingsOffset);
  if (!reader.Byte(table.ValueCount)) return table;
  std::string text;
  for (uint8_t kind; reader.Byte(kind) && kind != 0;) {
    TCpuSetting setting;
    setting.Kind = kind;
    if (kind == 1) {
      if (!reader.Text(text)) break;
    } else if (kind == 2) {
      if (!reader.Byte(setting.Mask) || !reader.Byte(setting.Index)) break;
      uint8_t unused = 0;
      bool ended = false;
      while (reader.Text(text)) {
        if (text.empty()) {
          ended = true;
          break;
        }
        if (!reader.Byte(unused) || !reader.Byte(unused)) break;
        setting.Options.push_back(text);
      }
      if (!ended) break;
      table.Settings.push_back(std::move(setting));
    } else if (kind == 3) {
      if (!reader.Text(setting.Name) || !reader.Byte(setting.Index) || !reader.Byte(setting.Bytes)) break;
      table.Settings.push_back(std::move(setting));
    }
  }
  return table;
}

int ChoiceOf(const TCpuSetting& setting, const std::vector<uint8_t>& values) {
  return (ValueAt(values, setting.Index) & setting.Mask) >> std::countr_zero(setting.Mask);
}

void SetChoice(const TCpuSetting& setting, int choice, std::vector<uint8_t>& values) {
  if (setting.Index >= values.size()) return;
  uint8_t& value = values[setting.Index];
  // A choice never spills into the bits of the byte's other settings.
  const int bits = (choice << std::countr_zero(setting.Mask)) & setting.Mask;
  value = static_cast<uint8_t>((value & ~setting.Mask) | bits);
}

std::string SettingText(const TCpuSetting& setting, const std::vector<uint8_t>& values) {
  if (setting.Kind == 2) {
    const auto choice = static_cast<std::size_t>(ChoiceOf(setting, values));
    return choice < setting.Options.size() ? setting.Options[choice] : std::string();
  }
  std::string text = (setting.Name + std::string(34, '.')).substr(0, 32);
  return text + HexBytes(setting, values) + "h";
}

std::string NumberAnswer(const TCpuSetting& setting, const std::vector<uint8_t>& values) {
  return "0" + HexBytes(setting, values) + "h";
}

bool SetNumber(const TCpuSetting& setting, const std::string& answer, std::vector<uint8_t>& values) {
  uint32_t value = 0;
  if (EvalString(answer.c_str(), value) != 0) return false;
  for (int i = setting.Bytes - 1; i >= 0; --i) {
    const std::size_t index = static_cast<std::size_t>(setting.Index) + static_cast<std::size_t>(i);
    if (index < values.size()) values[index] = static_cast<uint8_t>(value);
    value >>= 8;
  }
  return true;
}
