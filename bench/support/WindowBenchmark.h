#pragma once
// What the benchmarks that drive the real main window share: a headless
// application whose settings lie in a folder of their own, and a main window
// that has made contact with the demonstration target.
#include <benchmark/benchmark.h>

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

#include "Application.h"
#include "TickCount.h"
#include "srcMain.h"

// A main window after its first poll: connected, its commands on and its CPU
// window open. The test clock runs from before the window is made, which
// reads it for the poll's 500 ms, to past that.
inline std::unique_ptr<TfrmMain> ConnectedMainWindow() {
  UseTestClock(true, 10000);
  auto form = std::make_unique<TfrmMain>();
  AdvanceTestClock(501);
  form->AppIdle();
  UseTestClock(false);
  return form;
}

inline int RunWindowBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TApplication application(argc, argv);
  QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
