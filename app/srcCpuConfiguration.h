#pragma once
#include <cstdint>
#include <vector>

#include "TargetDialog.h"
#include "TargetTables.h"

class QListWidget;
class QPushButton;

// The CPU settings the target describes, one line each; a double click
// changes one, and Ok sends all values back to the target.
class TfrmCpuConfiguration : public TTargetDialog {
 public:
  explicit TfrmCpuConfiguration(QWidget* Owner);

  // Rebuilds the list from the values.
  void Update();

  QListWidget* lbSettings;
  QPushButton* cmdOk;
  QPushButton* cmdCancel;

 private:
  void lbSettingsDblClick();
  void cmdOkClick();

  TCpuSettingTable FTable;
  std::vector<std::uint8_t> FValues;
};
