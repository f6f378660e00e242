#pragma once
#include <QDialog>

#include "MessageBus.h"

// A modal dialog of the main window's commands: Esc, its close button and
// UM_CLOSEDIALOG (sent when the target goes away) all end it as Cancel.
class TTargetDialog : public QDialog, public TMessageReceiver {
 public:
  explicit TTargetDialog(QWidget* Owner);

  void Dispatch(TMessage& message) override;
  void reject() override;
};
