#pragma once
#include <QWidget>

#include <array>
#include <cstdint>

#include "MessageBus.h"

class QAction;
class QMenu;
class QTabWidget;
class TWatchInterior;

// The watch window: four independent watch lists on tabs. A character typed
// in a list asks for a new watch starting with it, a double click edits the
// watch under the cursor, Delete removes it. Only the list in sight is
// evaluated again at a refresh or stop; the others keep their last texts.
class TfrmWatchList : public QWidget, public TMessageReceiver {
 public:
  explicit TfrmWatchList(QWidget* Owner);
  ~TfrmWatchList() override;

  void Dispatch(TMessage& message) override;

  QTabWidget* PageControl1;
  std::array<TWatchInterior*, 4> WatchInteriors;
  QMenu* PopupMenu1;
  QAction* AddModify1;
  QAction* mnuDeleteWatch;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  TWatchInterior* VisibleView() const;
  void UMRefresh();
  void WatchInteriorOnChar(TWatchInterior* Sender, uint16_t Char);
  void WatchInteriorDblClick(TWatchInterior* Sender);
  void mnuDeleteWatchClick();
  void FormCreate();
};
