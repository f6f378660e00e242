#pragma once

class TfrmMain;

// Each window unit installs its view factory with the main window from a
// registration of its own, so the main window never names a window's unit:
//   const TViewFactoryRegistration Registration(InstallCpuWindow);
// The program runs every registration once its main window is made.
using TViewFactoryInstaller = void (*)(TfrmMain& main);

struct TViewFactoryRegistration {
  explicit TViewFactoryRegistration(TViewFactoryInstaller installer);
};

void InstallViewFactories(TfrmMain& main);
