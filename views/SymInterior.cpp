#include "SymInterior.h"

#include <algorithm>

#include "Configuration.h"
#include "SymbolRow.h"
#include "Symbols.h"

namespace {
// The line between the columns stands this far left of the right edge; each
// column's text keeps a gap from it, and the address ends 200 pixels right of it.
constexpr int AddressColumn = 156;
constexpr int ColumnGap = 4;
constexpr int AddressEnd = 200;
}  // namespace

TSymInterior::TSymInterior(QWidget* owner) : TScroller(owner) {
  resize(185, 160);
  SetColor(clWhite);
}

int TSymInterior::Boundary() const { return width() - AddressColumn; }

int TSymInterior::Rows() const { return std::max(1, GetNumLines()); }

void TSymInterior::CreateWnd() {
  TScroller::CreateWnd();
  SetHScrollParams(0, 511, 0);
  SetVScrollParams(0, std::max(0, TheSymbols->Count() - 1), 0);
}

void TSymInterior::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font = Font();
  canvas->Brush = {Color(), TBrushStyle::Solid};
  canvas->FillRect(QRect(QPoint(0, 0), canvas->Size()));
  DrawBoundary(0, canvas->Size().height());
  canvas->Brush = {Color(), TBrushStyle::Solid};
  const int count = TheSymbols->Count();
  for (int y = 0, n = FTop; y < canvas->Size().height() && n < count; y += GetLineHeight(), ++n) DrawSymbol(n, y);
  if (FFocused) DrawCursor(cmShow);
}

void TSymInterior::DrawBoundary(int top, int height) {
  TCanvas* canvas = Canvas();
  canvas->Brush = {clSilver, TBrushStyle::Solid};
  canvas->FillRect(QRect(Boundary(), top, 1, height));
}

void TSymInterior::DrawSymbol(int n, int y) {
  const TSymbolRecord* symbol = TheSymbols->GetByName(n);
  if (!symbol) return;
  const TSymbolRow row = GetSymbolRow(*symbol);
  TCanvas* canvas = Canvas();
  canvas->TextOut(0, y, Clipped(row.Name, Boundary() - ColumnGap));
  canvas->TextOut(Boundary() + ColumnGap, y, Clipped(row.Address, AddressEnd - ColumnGap));
}

QString TSymInterior::Clipped(const std::string& text, int pixels) const {
  const int characters = std::max(0, pixels / GetColWidth());
  return QString::fromLatin1(text.substr(0, static_cast<std::size_t>(characters)));
}

void TSymInterior::DrawCursor(TCursorMode Mode) {
  TCanvas* canvas = Canvas();
  const bool shown = Mode == cmShow;
  const int y = FCursorLine * GetLineHeight();
  canvas->Brush = {shown ? clHighlight : Color(), TBrushStyle::Solid};
  canvas->FillRect(QRect(HMargin(), y, width(), GetLineHeight()));
  DrawBoundary(y, GetLineHeight());
  canvas->Font = Font();
  if (shown) canvas->Font.Color = clWhite;
  canvas->Brush = {shown ? clHighlight : Color(), TBrushStyle::Solid};
  if (FTop + FCursorLine < TheSymbols->Count()) DrawSymbol(FTop + FCursorLine, y);
  canvas->Font = Font();
  canvas->Brush = {Color(), TBrushStyle::Solid};
}

void TSymInterior::IOnLButtonDown(QObject*, int, int Row) {
  if (Row < 0 || (Row + 1) * GetLineHeight() > viewport()->height() || FTop + Row >= TheSymbols->Count()) return;
  FCursorLine = Row;
  SetVScrollPos(FTop + FCursorLine);
}

void TSymInterior::IOnVScroll(QObject*, TNewScrollCode Code, int& Pos) {
  const int rows = Rows();
  const int count = TheSymbols->Count();
  if (FFocused) DrawCursor(cmHide);
  bool refresh = true;
  switch (Code) {
    case nscLineUp:
    case nscBarLineUp:
      if (FCursorLine > 0) {
        --FCursorLine;
        refresh = false;
      } else if (FTop > 0) {
        --FTop;
      }
      break;
    case nscLineDown:
    case nscBarLineDown:
      refresh = false;
      if (count <= FTop + FCursorLine + 1) break;
      if (++FCursorLine >= rows) {
        FCursorLine = rows - 1;
        ++FTop;
        refresh = true;
      }
      break;
    case nscPageUp:
      FTop -= rows;
      if (FTop < 0) {
        FTop = 0;
        FCursorLine = 0;
      }
      break;
    case nscPageDown:
      FTop += rows;
      if (FTop + rows > count) {
        FTop = std::max(0, count - rows);
        FCursorLine = rows - 1;
      }
      break;
    case nscPosition:
      ThumbTo(Pos, rows, FTop, FCursorLine);
      break;
    case nscTop:
      FTop = 0;
      FCursorLine = 0;
      break;
    case nscBottom:
      FTop = std::max(0, count - rows);
      FCursorLine = rows - 1;
      break;
    default:
      refresh = false;
      break;
  }
  if (refresh) Repaint();
  Pos = FTop + FCursorLine;
  if (FFocused) DrawCursor(cmShow);
}

void TSymInterior::IOnSize(QObject*, int, unsigned short, unsigned short) {
  FCursorLine = std::clamp(FCursorLine, 0, Rows() - 1);
}
