#pragma once
#include <QWidget>

#include "MessageBus.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;
class TTraceInterior;

// The trace window: the trace view under a panel that chooses the first
// frame and the kinds of lines shown, and tells the recorded frames.
// UM_REFRESH and UM_STOPPED decode the trace again.
class TfrmTrace : public QWidget, public TMessageReceiver {
 public:
  explicit TfrmTrace(QWidget* owner);
  ~TfrmTrace() override;

  void Dispatch(TMessage& message) override;

  QWidget* Panel1;
  QLabel* Label1;
  QLineEdit* txtDisplayAt;
  QToolButton* cmdOk;
  QLabel* txtHelp;
  QCheckBox* CheckBox1;
  QCheckBox* CheckBox2;
  QCheckBox* CheckBox3;
  TTraceInterior* TraceInterior1;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void UpdateFrameInfo();
  void CheckBoxClick();
};
