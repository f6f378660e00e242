#pragma once
#include "RegisterListWindow.h"

class TRegsInterior;
class TfrmMain;

// The register window: the CPU's registers outside the CPU window. Its view
// tells nobody of a change, so other windows show it at their next refresh.
class TfrmRegs : public TRegisterListWindow {
 public:
  explicit TfrmRegs(QWidget* Owner);

  TRegsInterior* RegsArea;
};

// Lets the main window open the register window from its button and menu item.
void InstallRegistersWindow(TfrmMain& main);
