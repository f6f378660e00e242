#pragma once
// The target's own descriptions of its hardware lines and CPU settings, as
// the two configuration dialogs list and change them. Every walk stays inside
// the capability record's table data; an entry that runs past it ends the table.
#include <cstdint>
#include <string>
#include <vector>

struct TCapabilities;

// ---- Hardware lines -------------------------------------------------------------

struct THwLine {
  std::string Name;  // without '~', at most 79 characters
  uint8_t Port;      // byte of the 256-byte line bitmap
  uint8_t Bit;       // above 7 names no bit
};

struct THwLineTable {
  uint8_t Count = 0;  // the table's line count, as the target wants it back
  std::vector<THwLine> Lines;
};

// Empty when the target has no hardware lines.
THwLineTable ReadHwLineTable(const TCapabilities& capabilities);
bool LineIsSet(const THwLine& line, const uint8_t* bitmap);
void SetLine(const THwLine& line, uint8_t* bitmap);

// ---- CPU settings ------------------------------------------------------------------

struct TCpuSetting {
  uint8_t Kind = 0;  // 2 a choice, 3 a number; the texts of kind 1 are not listed
  std::string Name;                  // kind 3, without '~'
  uint8_t Mask = 0;                  // kind 2: the bits of the value byte
  uint8_t Index = 0;                 // kind 2: the value byte; kind 3: the first
  uint8_t Bytes = 0;                 // kind 3: how many value bytes, first most significant
  std::vector<std::string> Options;  // kind 2, without '~'
};

struct TCpuSettingTable {
  uint8_t ValueCount = 0;
  std::vector<TCpuSetting> Settings;
};

// Empty when the target has no CPU settings.
TCpuSettingTable ReadCpuSettingTable(const TCapabilities& capabilities);

// A value index at or above values.size() reads as 0 and is never written.
// The choice counts from the mask's lowest bit and stays inside the mask; a
// mask of 0 gives 0 and takes none.
int ChoiceOf(const TCpuSetting& setting, const std::vector<uint8_t>& values);
void SetChoice(const TCpuSetting& setting, int choice, std::vector<uint8_t>& values);
// The line of the settings list: a choice's option text ("" past the last
// option), or a number's name and dots cut to 32 characters, then its bytes
// in hex and "h".
std::string SettingText(const TCpuSetting& setting, const std::vector<uint8_t>& values);
// A number as the input dialog starts from it: "0", the bytes in hex, "h".
std::string NumberAnswer(const TCpuSetting& setting, const std::vector<uint8_t>& values);
// Stores an evaluated answer, last byte the lowest; an answer that does not
// evaluate changes nothing and gives false.
bool SetNumber(const TCpuSetting& setting, const std::string& answer, std::vector<uint8_t>& values);
