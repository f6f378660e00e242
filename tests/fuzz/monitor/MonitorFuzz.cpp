// A monitor code file as any text: the download must read nothing past the
// text, send only whole records and end.
#include <cstdint>
#include <string_view>

#include "Configuration.h"
#include "MessageBox.h"
#include "MonitorLoad.h"

namespace {

class TNoProgress : public TMonitorProgress {
 public:
  void Show(const std::string&, std::size_t) override {}
  void Update(const std::string&, std::size_t) override {}
  void Hide() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static TConfiguration* holder = [] {
    SetMessageBoxHandler([](const char*, const char*, unsigned) { return IDOK; });
    return new TConfiguration;
  }();
  (void)holder;
  TNoProgress progress;
  DownloadMonitor(std::string_view(reinterpret_cast<const char*>(data), size), progress);
  return 0;
}
