#pragma once
#include "TargetDialog.h"

class QLineEdit;
class QListWidget;
class QPushButton;

// Reads up to 64 bytes of target memory and lists them one per line; stays
// open for the next address until Done or Esc.
class TfrmTargetRead : public TTargetDialog {
 public:
  explicit TfrmTargetRead(QWidget* Owner);

  QLineEdit* Edit1;
  QListWidget* ListBox1;
  QPushButton* cmdDo;
  QPushButton* cmdCancel;

 private:
  void cmdDoClick();
};
