#pragma once
#include "RegisterListInterior.h"

// The target's special registers, one line each as the target words them;
// they carry no change marker. A target without special registers leaves the
// view empty.
class TSRegsInterior : public TRegisterListInterior {
 public:
  explicit TSRegsInterior(QWidget* Owner = nullptr);

  void GetMinMaxInfo(QSize& Min, QSize& Max) const override;

 protected:
  int LineCount() const override;
  void CreateLine(unsigned char Index, std::string& Line) override;
  uint32_t GetValue(int Index) const override;
  void SetValue(int Index, uint32_t Value) override;
  // Characters a line takes.
  virtual int LineWidth() const;
};
