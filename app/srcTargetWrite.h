#pragma once
#include <QDialog>

#include "MessageBus.h"

class QLineEdit;
class QPushButton;

// Writes a list of byte values or a string to target memory; stays open for
// the next write until Done or Esc.
class TfrmTargetWrite : public QDialog, public TMessageReceiver {
 public:
  explicit TfrmTargetWrite(QWidget* Owner);

  void Dispatch(TMessage& message) override;
  void reject() override;

  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QPushButton* cmdDo;
  QPushButton* cmdCancel;

 private:
  void cmdDoClick();
};
