// Loading a 1 MB Intel HEX image through File > Open of the main window, as a
// user does, with the open dialog answered through its hook.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAction>

#include <filesystem>
#include <memory>
#include <string>

#include "Configuration.h"
#include "FileDialogs.h"
#include "IntelHexImage.h"
#include "MessageBox.h"
#include "Symbols.h"
#include "WindowBenchmark.h"

namespace {

constexpr int INTEL = 2;

void OpenIntelHex1MB(benchmark::State& state) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("loading-bench-" + std::to_string(getpid()) + ".hex")).string();
  WriteIntelHexImage(path, true);
  TConfiguration holder;
  const std::unique_ptr<TfrmMain> form = ConnectedMainWindow();
  int failures = 0;
  SetMessageBoxHandler([&](const char*, const char*, unsigned) {
    ++failures;
    return IDOK;
  });
  SetFileDialogHandler([&](TFileDialogRequest& request) {
    request.FilterIndex = INTEL;
    request.FileName = QString::fromStdString(path);
    return true;
  });
  for (auto _ : state) form->MNU_FileOpen->trigger();
  SetFileDialogHandler(nullptr);
  SetMessageBoxHandler(nullptr);
  std::filesystem::remove(path);
  if (failures != 0 || !form->Connected() || !form->MNU_FileOpen->isEnabled()) state.SkipWithError("the load did not run cleanly");
  state.counters["symbols"] = TheSymbols->Count();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 0x100000);
}
BENCHMARK(OpenIntelHex1MB)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }
