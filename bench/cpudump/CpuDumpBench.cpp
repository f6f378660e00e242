// One rebuild and paint of the CPU window's dump at its tallest: sixteen
// lines of sixteen bytes, as a stop or a memory change redraws it.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>

#include "Configuration.h"
#include "DumpInterior.h"
#include "TickCount.h"
#include "srcCpu.h"
#include "srcMain.h"

namespace {

void CpuDumpRefreshBytes16(benchmark::State& state) {
  // Connected on the first poll: the CPU window opens.
  UseTestClock(true, 10000);
  TConfiguration holder;
  TfrmMain form;
  form.resize(900, 800);
  form.show();
  AdvanceTestClock(501);
  form.AppIdle();
  UseTestClock(false);
  auto* cpu = form.findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
  if (!cpu) {
    state.SkipWithError("no CPU window");
    return;
  }
  cpu->showMaximized();
  cpu->pnlCpu->setSizes({1000, 1000});
  TDumpInterior* dump = cpu->DumpArea;
  dump->Popup()->findChild<QAction*>(QStringLiteral("N16Bytes"))->trigger();
  QApplication::processEvents();
  if (dump->GetNumLines() != 16) state.SkipWithError("the dump does not show 16 lines");
  for (auto _ : state) {
    dump->Refresh();
    dump->Update();
  }
}
BENCHMARK(CpuDumpRefreshBytes16)->Unit(benchmark::kMillisecond);

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
