// One rebuild and paint of the CPU window's views as each step redraws them:
// the code view in a maximised CPU window of a 1920 x 1080 main window, every
// line labelled; the dump at its tallest, sixteen lines of sixteen bytes.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSplitter>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "CodeInterior.h"
#include "Configuration.h"
#include "DumpInterior.h"
#include "Protocol.h"
#include "SymbolRecord.h"
#include "Symbols.h"
#include "WindowBenchmark.h"
#include "srcCpu.h"

namespace {

// CALLs to one another from 1000h, each with a label of its own, so every
// line carries a label and an operand label.
void LabelledCalls() {
  std::vector<uint8_t> code;
  for (uint32_t address = 0x1000; address < 0x1200; address += 3) {
    const uint32_t target = 0x1000 + ((address - 0x1000 + 3 * 7) % 0x200) / 3 * 3;
    code.insert(code.end(), {0xCD, static_cast<uint8_t>(target), static_cast<uint8_t>(target >> 8)});
    TSymbolRecord symbol{};
    symbol.Attributes = 1;
    symbol.Value = address;
    symbol.ScopeHigh = -1;
    std::snprintf(symbol.Name, sizeof symbol.Name, "label_%04X", static_cast<unsigned>(address));
    symbol.NameLength = static_cast<uint8_t>(std::strlen(symbol.Name));
    TheSymbols->Add(&symbol);
  }
  for (std::size_t i = 0; i < code.size(); i += 240) {
    const auto count = static_cast<uint8_t>(std::min<std::size_t>(240, code.size() - i));
    TheProtocol->WriteMemory(1, static_cast<uint32_t>(0x1000 + i), count, code.data() + i);
  }
}

// The CPU window maximised in a shown main window of the given size; null,
// with the benchmark told why, when the window did not come up.
TfrmCpu* MaximisedCpuWindow(benchmark::State& state, TfrmMain& form, int width, int height) {
  form.resize(width, height);
  form.show();
  auto* cpu = form.findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
  if (!cpu) {
    state.SkipWithError("no CPU window");
    return nullptr;
  }
  cpu->showMaximized();
  return cpu;
}

void CpuCodeRefreshLabelled(benchmark::State& state) {
  TConfiguration holder;
  LabelledCalls();
  const std::unique_ptr<TfrmMain> form = ConnectedMainWindow();
  TfrmCpu* cpu = MaximisedCpuWindow(state, *form, 1920, 1080);
  if (!cpu) return;
  QApplication::processEvents();
  TCodeInterior* code = cpu->CodeArea;
  code->SetAddr(0x1000);
  code->Update();
  state.counters["lines"] = code->GetNumLines();
  if (code->Canvas()->GridLine(code->GetNumLines() - 1).indexOf(QStringLiteral("label_")) < 0)
    state.SkipWithError("the last line has no label");
  for (auto _ : state) {
    code->Refresh();
    code->Update();
  }
}
BENCHMARK(CpuCodeRefreshLabelled)->Unit(benchmark::kMillisecond);

void CpuDumpRefreshBytes16(benchmark::State& state) {
  TConfiguration holder;
  const std::unique_ptr<TfrmMain> form = ConnectedMainWindow();
  TfrmCpu* cpu = MaximisedCpuWindow(state, *form, 900, 800);
  if (!cpu) return;
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
