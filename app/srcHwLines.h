#pragma once
#include <QDialog>

#include "MessageBus.h"

class QListWidget;
class QPushButton;

// One check box per external hardware line the target describes, checked as
// the target reports the line; Ok sends the checked lines back.
class TfrmHwLines : public QDialog, public TMessageReceiver {
 public:
  explicit TfrmHwLines(QWidget* Owner);

  void Dispatch(TMessage& message) override;
  void reject() override;

  QListWidget* CheckListBox1;
  QPushButton* cmdOk;
  QPushButton* cmdCancel;

 private:
  void cmdOkClick();
};
