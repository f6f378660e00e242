#pragma once
#include "TargetDialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct TTraceConfigRecord;

// The trace settings: how many frames the buffer holds, the trace counter
// and four switches. Ok sends them; Clear sends them with the buffer emptied
// and stays open. Esc, the close box and UM_CLOSEDIALOG cancel.
class TfrmTraceConfiguration : public TTargetDialog {
 public:
  explicit TfrmTraceConfiguration(QWidget* Owner);

  // Reads the record again and shows its frame numbers.
  void Update();

  QLabel* txtFramesAvl;
  QLabel* txtFirstFrame;
  QLabel* txtLastFrame;
  QLineEdit* txtTraceCounter;
  QCheckBox* CheckBox1;
  QCheckBox* CheckBox2;
  QCheckBox* CheckBox3;
  QCheckBox* CheckBox4;
  QPushButton* cmdOk;
  QPushButton* cmdClear;
  QPushButton* cmdCancel;

 private:
  void ShowFrames(const TTraceConfigRecord& record);
  // Sends the settings; false after a counter that is no number or out of range.
  bool Send(bool clear);
  void cmdOkClick();
  void cmdClearClick();
};
