#pragma once
#include "TargetDialog.h"

class QLineEdit;
class QPushButton;

// Writes a list of byte values or a string to target memory; stays open for
// the next write until Done or Esc.
class TfrmTargetWrite : public TTargetDialog {
 public:
  explicit TfrmTargetWrite(QWidget* Owner);

  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QPushButton* cmdDo;
  QPushButton* cmdCancel;

 private:
  void cmdDoClick();
};
