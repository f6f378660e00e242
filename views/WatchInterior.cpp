#include "WatchInterior.h"

#include <algorithm>

TWatchInterior::TWatchInterior(QWidget* owner) : TScroller(owner) {}

void TWatchInterior::Add(const std::string& expression) {
  FWatches.Put(FTop + FCursorLine, expression);
  Refresh();
}

std::string TWatchInterior::GetCurrentWatch() const { return FWatches.Expression(FTop + FCursorLine); }

void TWatchInterior::RemoveWatch() {
  FWatches.Remove(FTop + FCursorLine);
  Refresh();
}

void TWatchInterior::Refresh() {
  CreateAllLines();
  Repaint();
}

void TWatchInterior::CreateAllLines() { FWatches.CreateLines(FTop, GetNumLines()); }

void TWatchInterior::CreateWnd() {
  TScroller::CreateWnd();
  SetVScrollParams(0, 0, 0);
}

void TWatchInterior::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font = Font();
  canvas->Brush = {Color(), TBrushStyle::Solid};
  canvas->FillRect(QRect(QPoint(0, 0), canvas->Size()));
  for (int row = 0; row <= GetNumLines(); ++row) DrawRow(row);
  SetVScrollParams(0, FWatches.Count(), FTop + FCursorLine);
  if (FFocused) DrawCursor(cmShow);
}

void TWatchInterior::DrawRow(int row) {
  TCanvas* canvas = Canvas();
  canvas->TextOut(HMargin(), row * GetLineHeight(), QString::fromLatin1(FWatches.Line(row)));
}

void TWatchInterior::DrawCursor(TCursorMode Mode) {
  TCanvas* canvas = Canvas();
  const bool shown = Mode == cmShow;
  canvas->Font = Font();
  if (shown) canvas->Font.Color = Color();
  canvas->Brush = {shown ? clHighlight : Color(), TBrushStyle::Solid};
  canvas->FillRect(QRect(0, FCursorLine * GetLineHeight(), width(), GetLineHeight()));
  DrawRow(FCursorLine);
  canvas->Font = Font();
  canvas->Brush = {Color(), TBrushStyle::Solid};
}

void TWatchInterior::IOnLButtonDown(QObject*, int, int Row) {
  const int row = std::clamp(Row, 0, Rows() - 1);
  if (row == 0 || RowHasText(row) || RowHasText(row - 1)) FCursorLine = row;
  SetVScrollPos(FTop + FCursorLine);
}

void TWatchInterior::IOnLButtonDblClk(QObject*, int, int) {
  if (OnDblClick) OnDblClick(this);
}

void TWatchInterior::IOnChar(QObject*, unsigned short Char, int KeyData) {
  if (OnChar) OnChar(this, Char, KeyData);
}

void TWatchInterior::IOnVScroll(QObject*, TNewScrollCode Code, int& Pos) {
  const int rows = Rows();
  const int top = FTop;
  const int cursor = FCursorLine;
  if (FFocused) DrawCursor(cmHide);
  switch (Code) {
    case nscLineUp:
    case nscBarLineUp:
      if (FCursorLine > 0)
        --FCursorLine;
      else if (FTop > 0)
        --FTop;
      break;
    case nscLineDown:
    case nscBarLineDown:
      if (!RowHasText(FCursorLine)) break;
      if (++FCursorLine >= rows) {
        FCursorLine = rows - 1;
        if (FTop + FCursorLine < MAX_WATCHES) ++FTop;
      }
      break;
    case nscPageUp:
      if (FTop < rows) {
        FTop = 0;
        FCursorLine = 0;
      } else {
        FTop -= rows;
      }
      break;
    case nscPageDown: {
      // The last page ends with the row after the last watch, which is at
      // most the last slot.
      const int after = std::min(FWatches.Count(), MAX_WATCHES - 1);
      const int limit = std::max(0, after - (rows - 1));
      if (FTop + rows >= limit) {
        FTop = limit;
        FCursorLine = after - FTop;
      } else {
        FTop += rows;
      }
      break;
    }
    case nscPosition:
      ThumbTo(Pos, rows, FTop, FCursorLine);
      break;
    case nscTop:
      FTop = 0;
      FCursorLine = 0;
      break;
    case nscBottom:
      ShowAtBottom(FWatches.Count());
      break;
    default:
      break;
  }
  if (FTop != top || FCursorLine != cursor) Refresh();
  Pos = FTop + FCursorLine;
  if (FFocused) DrawCursor(cmShow);
}

void TWatchInterior::ShowAtBottom(int index) {
  const int rows = Rows();
  FTop = std::max(0, index - (rows - 1));
  FCursorLine = index - FTop;
}

void TWatchInterior::IOnSize(QObject*, int, unsigned short, unsigned short) {
  int shown = 0;
  while (shown < MAX_WATCHES && RowHasText(shown)) ++shown;
  if (GetNumLines() >= shown - 1) {
    CreateAllLines();
    Invalidate();
  }
  FCursorLine = std::clamp(FCursorLine, 0, Rows() - 1);
}

int TWatchInterior::Rows() const { return std::max(1, GetNumLines()); }
