#pragma once
#include <QPointer>
#include <QRect>
#include <QWidget>

// The bottom of a window into which the watch window docks: the panel
// "pnlAppend" below the window's content and a splitter above it, hidden
// while nothing is docked. Only a window named "frmWatchList" docks. The
// docked window takes its room from the content, so the host keeps its size
// when a window docks and undocks. The CPU and source windows each hold one.
class TDockSite : public QWidget {
 public:
  static constexpr int DockedHeight = 80;
  static constexpr int MaxDockHeight = 200;
  static constexpr int EmptyHeight = 20;

  // splitterName names the splitter, as the host's form calls it.
  TDockSite(QWidget* content, const QString& splitterName, QWidget* parent = nullptr);
  ~TDockSite() override;

  QWidget* Panel() const { return FPanel; }
  QWidget* Splitter() const { return FSplitter; }
  QWidget* DockedControl() const { return FDockedControl; }
  int DockHeight() const { return FDockHeight; }

  // Whether client may dock here; the influence rectangle grows upwards by
  // the docked height, so the site reacts before the mouse reaches the panel.
  bool GetSiteInfo(const QWidget* client, QRect& influence) const;
  void DockDrop(QWidget* client);
  // The docked window floats again at its last floating place, moved to pos
  // when one is given.
  void UnDock(const QPoint* pos = nullptr);
  // Undocks and closes the docked window, so that it closes as a window of
  // its own does.
  void CloseDocked();
  // The splitter asks for a new height of the docked window; it stops at 200.
  void SplitterResize(int size);

  // The site whose influence rectangle holds the global point and that
  // accepts client; null when none does.
  static TDockSite* At(const QWidget* client, const QPoint& global);
  // Docks client into the site at the global point; false when none takes
  // it. A dock client calls it when it is dropped.
  static bool DockAt(QWidget* client, const QPoint& global);

 private:
  // Gives the docked window back its floating parent and place, unshown.
  QWidget* Detach();

  QWidget* FSplitter;
  QWidget* FPanel;
  QPointer<QWidget> FDockedControl;
  QPointer<QWidget> FFloatingParent;
  Qt::WindowFlags FFloatingFlags;
  QRect FFloatingGeometry;
  int FDockHeight = 0;
};
