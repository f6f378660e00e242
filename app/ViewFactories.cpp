#include "ViewFactories.h"

#include <vector>

namespace {

std::vector<TViewFactoryInstaller>& Installers() {
  static std::vector<TViewFactoryInstaller> installers;
  return installers;
}

}  // namespace

TViewFactoryRegistration::TViewFactoryRegistration(TViewFactoryInstaller installer) {
  Installers().push_back(installer);
}

void InstallViewFactories(TfrmMain& main) {
  for (TViewFactoryInstaller installer : Installers()) installer(main);
}
