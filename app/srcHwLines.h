#pragma once
#include "TargetDialog.h"

class QListWidget;
class QPushButton;

// One check box per external hardware line the target describes, checked as
// the target reports the line; Ok sends the checked lines back.
class TfrmHwLines : public TTargetDialog {
 public:
  explicit TfrmHwLines(QWidget* Owner);

  QListWidget* CheckListBox1;
  QPushButton* cmdOk;
  QPushButton* cmdCancel;

 private:
  void cmdOkClick();
};
