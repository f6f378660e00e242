#pragma once
#include "RegisterListInterior.h"

// The CPU's registers, one line each in the target's register-view order,
// their change markers shown in red.
class TRegsInterior : public TRegisterListInterior {
 public:
  explicit TRegsInterior(QWidget* Owner = nullptr);

  // Four lines at least, at most the lines from the top line on; wide enough
  // for the drawn line and a little more.
  void GetMinMaxInfo(QSize& Min, QSize& Max) const override;

 protected:
  int LineCount() const override;
  void CreateLine(unsigned char Index, std::string& Line) override;
  uint32_t GetValue(int Index) const override;
  void SetValue(int Index, uint32_t Value) override;
};
