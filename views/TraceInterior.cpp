#include "TraceInterior.h"

#include <algorithm>

namespace {

// The bar's range either side of its resting place.
constexpr int BarReach = 16;

TColor TextColor(TTraceColor color) {
  switch (color) {
    case TRACE_GREY: return clGray;
    case TRACE_RED: return clRed;
    case TRACE_BLACK: break;
  }
  return clBlack;
}

}  // namespace

TTraceInterior::TTraceInterior(QWidget* owner) : TScroller(owner) {}

void TTraceInterior::MoveTo(int frame, int keyword, unsigned short mode) {
  FLines.MoveTo(frame, keyword, mode);
  Repaint();
}

void TTraceInterior::Rebuild() {
  FLines.Rebuild();
  Repaint();
}

void TTraceInterior::IOnLButtonDown(QObject*, int, int Row) { FCursorRow = std::max(0, std::min(Row, FLines.CursorRows(GetNumLines()) - 1)); }

void TTraceInterior::IOnVScroll(QObject*, TNewScrollCode Code, int& Pos) {
  DrawCursor(cmHide);
  const int rows = GetNumLines();
  switch (Code) {
    case nscLineUp:
    case nscBarLineUp:
      FLines.LineUp(FCursorRow);
      Repaint();
      break;
    case nscLineDown:
    case nscBarLineDown:
      if (FLines.LineDown(FCursorRow, rows)) Repaint();
      break;
    case nscPageUp:
    case nscTop:
      FLines.PageUp(rows);
      Repaint();
      break;
    case nscPageDown:
    case nscBottom:
      FLines.PageDown(rows);
      Repaint();
      break;
    case nscPosition:
      if (Pos < 1)
        FLines.PageUp(rows);
      else
        FLines.PageDown(rows);
      Repaint();
      break;
    case nscTrack:
    case nscEndScroll:
      break;
  }
  if (FFocused) DrawCursor(cmShow);
  Pos = 0;
}

void TTraceInterior::DrawCursor(TCursorMode Mode) {
  if (FCursorRow < 0 || FCursorRow >= static_cast<int>(FRowTexts.size())) return;
  const TRowText& row = FRowTexts[static_cast<std::size_t>(FCursorRow)];
  TCanvas* canvas = Canvas();
  canvas->Font = Font();
  canvas->Font.Color = Mode == cmShow ? clWhite : TextColor(row.Color);
  canvas->Brush = {Mode == cmShow ? clHighlight : Color(), TBrushStyle::Solid};
  const int y = FCursorRow * GetLineHeight();
  canvas->FillRect(QRect(0, y, width(), GetLineHeight()));
  canvas->TextOut(0, y, QString::fromLatin1(row.Text.data(), static_cast<qsizetype>(row.Text.size())));
}

void TTraceInterior::CreateWnd() {
  TScroller::CreateWnd();
  Canvas()->Font = Font();
  SetVScrollParams(-BarReach, BarReach, 0);
}

void TTraceInterior::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font = Font();
  canvas->Brush = {Color(), TBrushStyle::Solid};
  canvas->FillRect(QRect(QPoint(0, 0), canvas->Size()));
  const std::vector<TTraceRow> rows = FLines.Rows(GetNumLines());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const TTraceRow& row = rows[r];
    if (r < FRowTexts.size()) FRowTexts[r] = {row.Color, row.Text.substr(0, ROW_TEXT_WIDTH)};
    canvas->Font.Color = TextColor(row.Color);
    canvas->TextOut(0, static_cast<int>(r) * GetLineHeight(),
                    QString::fromLatin1(row.Text.data(), static_cast<qsizetype>(row.Text.size())));
  }
  if (FFocused) DrawCursor(cmShow);
}
