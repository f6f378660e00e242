#pragma once
#include <QSize>

#include <cstdint>
#include <string>
#include <vector>

#include "Scroller.h"
#include "ViewEvents.h"

class QMenu;

// Base of the register and special-register views. It holds one line per
// register of the target (not only the visible ones), draws them from a top
// line with a cursor over one whole line, scrolls the cursor through them, and
// changes the register under it: Increment, Decrement, Zero and Modify, from
// the popup menu, "+", "-", a typed character or a double click. What a line
// says and how a register is read and written is the derived view's.
class TRegisterListInterior : public TScroller {
 public:
  // Lines that start with a change marker ("2": changed since the previous
  // register image) are drawn from their second character, red when changed.
  TRegisterListInterior(QWidget* Owner, bool Marked);

  // A register was changed by Modify; Increment, Decrement and Zero say nothing.
  TNotifyEvent OnChange;

  void Refresh() override;
  // The host's size limits in pixels.
  virtual void GetMinMaxInfo(QSize& Min, QSize& Max) const = 0;
  // Asks for a new value of the register under the cursor, Initial typed already.
  void Modify(const std::string& Initial);

  int TopLine() const { return FTopLine; }
  int CursorRow() const { return FCursorRow; }
  QMenu* Popup() const { return FPopup; }

 protected:
  virtual int LineCount() const = 0;
  virtual void CreateLine(unsigned char Index, std::string& Line) = 0;
  virtual uint32_t GetValue(int Index) const = 0;
  virtual void SetValue(int Index, uint32_t Value) = 0;

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
  int FTopLine = 0;

 private:
  int Selected() const { return FTopLine + FCursorRow; }
  // Writes Value to the register under the cursor and shows the target's answer.
  void Store(uint32_t Value);
  void FOnIncrement(QObject* Sender);
  void FOnDecrement(QObject* Sender);
  void FOnZero(QObject* Sender);
  void FOnModify(QObject* Sender);
  QString DrawnText(const std::string& Line) const;
  TColor TextColor(const std::string& Line, TColor Unchanged) const;

  bool FMarked;
};
