#pragma once
#include "RegisterListWindow.h"

class TSRegsInterior;

// The special-register window, the register window's twin for the target's
// special registers. A target without them never opens it.
class TfrmSRegs : public TRegisterListWindow {
 public:
  explicit TfrmSRegs(QWidget* Owner);

  TSRegsInterior* SRegsArea;
};
