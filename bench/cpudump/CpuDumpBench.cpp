// One rebuild and paint of the CPU window's dump at its tallest: sixteen
// lines of sixteen bytes, as a stop or a memory change redraws it.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSplitter>

#include <memory>

#include "Configuration.h"
#include "DumpInterior.h"
#include "WindowBenchmark.h"
#include "srcCpu.h"

namespace {

void CpuDumpRefreshBytes16(benchmark::State& state) {
  TConfiguration holder;
  const std::unique_ptr<TfrmMain> form = ConnectedMainWindow();
  form->resize(900, 800);
  form->show();
  auto* cpu = form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
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

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }
