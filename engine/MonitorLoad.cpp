#include "MonitorLoad.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

#include "Configuration.h"
#include "Library.h"
#include "MainFormMessages.h"
#include "MessageBox.h"
#include "Protocol.h"
#include "RegularFile.h"

namespace {

constexpr std::size_t BlockSize = 1024;
constexpr uint32_t DataRecord = 0x00;

// One record line as the download reads it, every field checked.
struct TMonitorRecord {
  uint8_t Count = 0;
  uint16_t Address = 0;
  uint8_t Type = 0;
  std::array<uint8_t, 255> Data{};
};

// digits hex digits at `at`; false when they run past the text or are no hex digits.
bool HexField(std::string_view text, std::size_t& at, std::size_t digits, uint32_t& value) {
  if (text.size() - at < digits) return false;
  const char* first = text.data() + at;
  const auto [end, error] = std::from_chars(first, first + digits, value, 16);
  if (error != std::errc{} || end != first + digits) return false;
  at += digits;
  return true;
}

// Reads the record after the ':' at `at`, up to and with its checksum.
bool ReadRecord(std::string_view text, std::size_t& at, TMonitorRecord& record) {
  uint32_t head = 0, type = 0, checksum = 0;
  if (!HexField(text, at, 6, head) || !HexField(text, at, 2, type)) return false;
  record.Count = static_cast<uint8_t>(head >> 16);
  record.Address = static_cast<uint16_t>(head);
  record.Type = static_cast<uint8_t>(type);
  for (std::size_t i = 0; i < record.Count; ++i) {
    uint32_t byte = 0;
    if (!HexField(text, at, 2, byte)) return false;
    record.Data[i] = static_cast<uint8_t>(byte);
  }
  return HexField(text, at, 2, checksum);
}

std::string ProgressText(uint32_t total) { return "Loading monitor\r\n" + std::to_string(total) + " Bytes read"; }

void BadFormat() { MessageBox("Bad monitor code-file format!", "ERROR", MB_ICONSTOP); }

}  // namespace

int DownloadMonitor(std::string_view text, TMonitorProgress& progress) {
  text = text.substr(0, text.find('\0'));
  progress.Show(ProgressText(0), text.size());
  std::vector<uint8_t> block(BlockSize);
  std::size_t count = 0;
  uint16_t address = 0;
  uint32_t total = 0;
  int error = MONITOR_DONE;
  std::size_t at = 0;
  auto send = [&] {
    total += static_cast<uint32_t>(count);
    if (count == 0) return;
    progress.Update(ProgressText(total), at);
    if (TheProtocol->WriteMonitor(address, static_cast<uint16_t>(count), block.data()) != STATUS_OK)
      error = MONITOR_REFUSED;
  };
  while (error == MONITOR_DONE) {
    while (at < text.size() && (static_cast<unsigned char>(text[at]) < 33 || static_cast<unsigned char>(text[at]) >= 128))
      ++at;
    if (at == text.size()) break;
    TMonitorRecord record;
    if (text[at] != ':' || !ReadRecord(text, ++at, record)) {
      // The good lines before it were meant to arrive whole.
      send();
      BadFormat();
      error = MONITOR_BAD;
      break;
    }
    if (record.Type != DataRecord) continue;
    if (record.Address != static_cast<uint16_t>(address + count) || count + record.Count > BlockSize) {
      send();
      count = 0;
      address = record.Address;
    }
    std::copy_n(record.Data.begin(), record.Count, block.begin() + static_cast<std::ptrdiff_t>(count));
    count += record.Count;
  }
  if (error == MONITOR_DONE) send();
  if (error == MONITOR_DONE) TheProtocol->WriteMonitor(0, 0, nullptr);
  progress.Hide();
  return error;
}

int LoadMonitor(const std::string& fileName, TMonitorProgress& progress) {
  std::string text;
  if (!ReadRegularFile(fileName, MAX_TEXT_FILE_SIZE, text)) {
    MessageBox("Monitor code-file not found!", "ERROR", MB_ICONSTOP);
    PostQuitMessage(MONITOR_BAD);
    return MONITOR_BAD;
  }
  return DownloadMonitor(text, progress);
}

std::string MonitorFileName(unsigned cpuType) {
  switch (cpuType) {
    case 1:
    case 3:
    case 15:
      return ProgramDirectory() + "/Monitor" + std::to_string(cpuType) + ".hex";
    default:
      return "";
  }
}
