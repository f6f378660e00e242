#pragma once
#include <QSize>

#include <string>
#include <vector>

#include "Scroller.h"
#include "ViewEvents.h"

class QMenu;

// The bits of the flag register F, one line each from bit 0, changed ones in
// red. A space, a double click or "Toggle" inverts the flag under the cursor;
// only the mouse moves the cursor.
class TFlagsInterior : public TScroller {
 public:
  explicit TFlagsInterior(QWidget* Owner = nullptr);

  // A flag was toggled.
  TNotifyEvent OnChange;

  void Refresh() override;
  // The host's size limits in pixels: exactly the flag lines.
  void GetMinMaxInfo(QSize& Min, QSize& Max) const;

  int CursorRow() const { return FCursorRow; }
  QMenu* Popup() const { return FPopup; }

 protected:
  void CreateLine(unsigned char Index, std::string& Line);
  void CreateAllLines();

  void CreateWnd() override;
  void Paint() override;
  void DrawCursor(TCursorMode Mode) override;
  void IOnLButtonDown(QObject* Sender, int Col, int Row) override;
  void IOnLButtonDblClk(QObject* Sender, int Col, int Row) override;
  void IOnHScroll(QObject* Sender, TNewScrollCode Code, int& Pos) override;
  void IOnVScroll(QObject* Sender, TNewScrollCode Code, int& Pos) override;
  void IOnSize(QObject* Sender, int SizeType, unsigned short Width, unsigned short Height) override;
  void IOnChar(QObject* Sender, unsigned short Char, int KeyData) override;

  int FCursorCol = 0;
  int FCursorRow = 0;
  std::vector<std::string> FLines;
  QMenu* FPopup;

 private:
  void FOnToggle(QObject* Sender);
};
