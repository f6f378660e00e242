#pragma once
#include <string>

#include "Scroller.h"
#include "ViewEvents.h"
#include "WatchList.h"

// The watch view: up to 50 watch expressions, one a row, each followed by its
// value as the target holds it now. Only the rows in sight are evaluated, at
// every refresh; the host adds, edits and deletes watches through the
// operations below and answers typed characters and double clicks.
class TWatchInterior : public TScroller {
 public:
  explicit TWatchInterior(QWidget* owner = nullptr);

  // Replaces the watch under the cursor; from the row after the last watch on,
  // appends after the last one.
  void Add(const std::string& expression);
  // Empty when the cursor is on no watch.
  std::string GetCurrentWatch() const;
  void RemoveWatch();
  void Refresh() override;
  void CreateAllLines();

  TCharEvent OnChar;
  TNotifyEvent OnDblClick;

 protected:
  void CreateWnd() override;
  void Paint() override;
  void DrawCursor(TCursorMode Mode) override;
  void IOnLButtonDown(QObject* Sender, int Col, int Row) override;
  void IOnLButtonDblClk(QObject* Sender, int Col, int Row) override;
  void IOnVScroll(QObject* Sender, TNewScrollCode Code, int& Pos) override;
  void IOnSize(QObject* Sender, int SizeType, unsigned short Width, unsigned short Height) override;
  void IOnChar(QObject* Sender, unsigned short Char, int KeyData) override;

 private:
  int Rows() const;
  bool RowHasText(int row) const { return !FWatches.Line(row).empty(); }
  void DrawRow(int row);
  // A bottom position: the cursor on index, as low in the window as it goes.
  void ShowAtBottom(int index);

  int FTop = 0;
  int FCursorLine = 0;
  TWatchList FWatches;
};
