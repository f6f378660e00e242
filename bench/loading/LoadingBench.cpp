// Loading a 1 MB Intel HEX image through File > Open of the main window, as a
// user does, with the open dialog answered through its hook.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "Configuration.h"
#include "FileDialogs.h"
#include "MessageBox.h"
#include "Symbols.h"
#include "TickCount.h"
#include "srcMain.h"

namespace {

constexpr int INTEL = 2;

// 65,536 data records of 16 bytes with an extended linear address record
// before each 64 KB, and a symbol line every 4 KB.
std::string MakeImage() {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("loading-bench-" + std::to_string(getpid()) + ".hex")).string();
  std::ofstream out(path, std::ios::binary);
  char line[64];
  for (uint32_t address = 0; address < 0x100000; address += 16) {
    if ((address & 0xFFFF) == 0) {
      const unsigned high = address >> 16;
      std::snprintf(line, sizeof line, ":02000004%04X%02X\n", high, (0x100 - (6 + high)) & 0xFF);
      out << line;
    }
    if ((address & 0xFFF) == 0) {
      std::snprintf(line, sizeof line, " label%05X %04X\n", address, address & 0xFFFF);
      out << line;
    }
    unsigned sum = 16 + ((address >> 8) & 0xFF) + (address & 0xFF);
    int size = std::snprintf(line, sizeof line, ":10%04X00", address & 0xFFFF);
    for (unsigned i = 0; i < 16; ++i) {
      const unsigned byte = (address + i * 7) & 0xFF;
      sum += byte;
      size += std::snprintf(line + size, sizeof line - size, "%02X", byte);
    }
    std::snprintf(line + size, sizeof line - size, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
    out << line;
  }
  out << ":00000001FF\n";
  return path;
}

void OpenIntelHex1MB(benchmark::State& state) {
  const std::string path = MakeImage();
  TConfiguration holder;
  TfrmMain form;
  // Connected, so the commands are on.
  UseTestClock(true, 10000);
  AdvanceTestClock(501);
  form.AppIdle();
  UseTestClock(false);
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
  for (auto _ : state) form.MNU_FileOpen->trigger();
  SetFileDialogHandler(nullptr);
  SetMessageBoxHandler(nullptr);
  std::filesystem::remove(path);
  if (failures != 0 || !form.MNU_FileOpen->isEnabled()) state.SkipWithError("the load did not run cleanly");
  state.counters["symbols"] = TheSymbols->Count();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 0x100000);
}
BENCHMARK(OpenIntelHex1MB)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
