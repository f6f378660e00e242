#pragma once
#include "RegisterListWindow.h"

class TRegsInterior;

// The register window: the CPU's registers outside the CPU window. Its view
// tells nobody of a change, so other windows show it at their next refresh.
class TfrmRegs : public TRegisterListWindow {
 public:
  explicit TfrmRegs(QWidget* Owner);

  TRegsInterior* RegsArea;
};
