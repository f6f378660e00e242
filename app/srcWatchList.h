#pragma once
#include <QWidget>

#include <array>
#include <cstdint>

#include "MessageBus.h"

class QAction;
class QMenu;
class QTabWidget;
class QTimer;
class TDockSite;
class TWatchInterior;

// The watch window: four independent watch lists on tabs. A character typed
// in a list asks for a new watch starting with it, a double click edits the
// watch under the cursor, Delete removes it. Only the list in sight is
// evaluated again at a refresh or stop; the others keep their last texts.
// Dragged by its tab strip (or, floating, by its caption) onto the bottom
// panel of the CPU or source window it docks there; dragged off, it floats.
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
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The site it is docked in; null while it floats.
  TDockSite* HostSite() const;
  // A press, move or release on the tab strip or the window's own ground.
  void DragMouse(const QMouseEvent& event, const QPoint& local);
  void EndDrag(const QPoint& global);
  void FormEndDock();

  TWatchInterior* VisibleView() const;
  void UMRefresh();
  void WatchInteriorOnChar(TWatchInterior* Sender, uint16_t Char);
  void WatchInteriorDblClick(TWatchInterior* Sender);
  void mnuDeleteWatchClick();
  void FormCreate();

  bool FPressed = false;
  bool FDragging = false;
  QPoint FDragStart;  // global
  QPoint FGrab;       // where the window was taken, within it
  // A move by the window manager has ended when the window rests this long.
  QTimer* FDockCheck;
};
