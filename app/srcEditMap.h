#pragma once
#include <cstdint>

#include "TargetDialog.h"

class QLabel;
class QLineEdit;
class QGroupBox;
class QButtonGroup;
class QPushButton;

// The editor of one memory-map range: "start,end" and which of the two
// mappings. The caller sets the fields and the texts before showing it and
// reads the fields back after Ok.
class TfrmEditMap : public TTargetDialog {
 public:
  TfrmEditMap(QWidget* Owner, const QString& ClearName, const QString& SetName);

  QLabel* Label1;
  QLineEdit* Edit1;
  QGroupBox* RadioGroup1;
  QButtonGroup* RadioItems;
  QPushButton* Button1;
  QPushButton* Button2;

  std::uint32_t FStart = 0;
  std::uint32_t FEnd = 0;
  std::uint8_t FKind = 0;

 private:
  void Button1Click();
};
