#pragma once
// The monitor download: an Intel HEX file of monitor code sent to the target
// in blocks of at most 1024 contiguous bytes through TProtocol::WriteMonitor,
// then the end call (address 0, length 0, no data).
#include <cstddef>
#include <string>
#include <string_view>

// Where the download shows its progress (the main window's pop-up).
class TMonitorProgress {
 public:
  virtual ~TMonitorProgress() = default;
  virtual void Show(const std::string& text, std::size_t maximum) = 0;
  virtual void Update(const std::string& text, std::size_t position) = 0;
  virtual void Hide() = 0;
};

enum : int { MONITOR_DONE = 0, MONITOR_REFUSED = 1, MONITOR_BAD = 2 };

// Sends the records of the text. A line that does not begin with ':', or whose
// count, address, type or data run past the text or hold other than hex
// digits, ends the download with "Bad monitor code-file format!" (caption
// "ERROR") once the block gathered before it is sent, sending nothing of that
// line. Only records of type 00 carry code.
// A refused block ends it too. The end call goes out only when all went well.
int DownloadMonitor(std::string_view text, TMonitorProgress& progress);

// The monitor code file of a processor type, in the program's folder: one each
// for the types 1, 3 and 15; "" for any other type.
std::string MonitorFileName(unsigned cpuType);

// Reads the file whole and downloads it. A file that cannot be read gives
// "Monitor code-file not found!" (caption "ERROR") and a quit request with
// exit code 2.
int LoadMonitor(const std::string& fileName, TMonitorProgress& progress);
