#pragma once
#include <QPointer>

#include <vector>

#include "TargetDialog.h"
#include "TargetDialogLines.h"

class QListWidget;
class QPushButton;
class TfrmEditMap;

// The memory map of one target area, range by range, with commands to read
// it, edit or add a range and swap a range's mapping. Every change goes to
// the target at once and refreshes every view.
class TfrmMemMap : public TTargetDialog {
 public:
  TfrmMemMap(QWidget* Owner, int AreaIndex);

  void Dispatch(TMessage& message) override;
  // Refills the list from the target.
  void Update();

  QListWidget* lbState;
  QPushButton* cmdShow;
  QPushButton* cmdEdit;
  QPushButton* cmdAdd;
  QPushButton* cmdSwap;
  QPushButton* cmdDone;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  // The selected run, after the two warnings when there is none.
  const TMapRun* SelectedRun();
  // Shows the editor on a range; true with the range and kind it returned.
  bool EditRange(const QString& caption, const QString& text, TMapRun& range, int& kind);
  void WriteMap(const TMapRun& range, std::uint8_t bits, bool reread);
  void cmdEditClick();
  void cmdAddClick();
  void cmdSwapClick();

  bool FMapsShown = false;
  int FAreaIndex;
  TMapArea FArea;
  std::vector<TMapRun> FRuns;
  QPointer<TfrmEditMap> frmEditMap;
};
