#pragma once
#include <string>

#include "Scroller.h"

struct TSymbolRow;

// The symbol view: every symbol of the loaded program in name order, its name
// on the left and its address (or its kind and value) on the right. It reads
// the symbol table at every paint, so symbols loaded meanwhile show up at the
// next one; the scroll range keeps the count of the view's creation.
class TSymInterior : public TScroller {
 public:
  explicit TSymInterior(QWidget* owner = nullptr);

  void Refresh() override { Invalidate(); }

 protected:
  void CreateWnd() override;
  void Paint() override;
  void DrawCursor(TCursorMode Mode) override;
  void IOnLButtonDown(QObject* Sender, int Col, int Row) override;
  void IOnVScroll(QObject* Sender, TNewScrollCode Code, int& Pos) override;
  void IOnSize(QObject* Sender, int SizeType, unsigned short Width, unsigned short Height) override;

 private:
  // x of the line between the two columns.
  int Boundary() const;
  int Rows() const;
  void DrawBoundary(int top, int height);
  // Both columns of symbol n at y, in the canvas's font and brush.
  void DrawSymbol(int n, int y);
  QString Clipped(const std::string& text, int pixels) const;

  int FTop = 0;
  int FCursorLine = 0;
};
