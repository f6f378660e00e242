#pragma once
#include <QMdiSubWindow>

#include "MessageBus.h"

class QTextEdit;

// The communication log as it stood when the window opened: one line per
// run of characters that went the same way, red from the target, black to it.
class TfrmDebugProtocol : public QMdiSubWindow, public TMessageReceiver {
 public:
  TfrmDebugProtocol();

  void Dispatch(TMessage&) override {}

  QTextEdit* RichEdit1;

 protected:
  void closeEvent(QCloseEvent* event) override;
};
