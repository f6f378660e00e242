#include "Canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

// Division rounding toward minus infinity, so points left of the origin fall
// into negative cells.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

int CeilDiv(int a, int b) { return a <= 0 ? 0 : (a + b - 1) / b; }

}  // namespace

TGlyph MakeTransparentGlyph(const QString& name, const QImage& image) {
  TGlyph glyph{name, image.convertToFormat(QImage::Format_ARGB32)};
  if (glyph.Image.isNull()) return glyph;
  const QRgb key = glyph.Image.pixel(0, glyph.Image.height() - 1);
  for (int y = 0; y < glyph.Image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(glyph.Image.scanLine(y));
    for (int x = 0; x < glyph.Image.width(); ++x)
      if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
  }
  return glyph;
}

void TCanvas::SetSize(const QSize& size, TColor background) {
  Image = QImage(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
  Image.fill(ToQColor(background));
  LayOutGrid(background);
  Changed(Image.rect());
}

void TCanvas::SetGrid(int originX, const QSize& cell) {
  if (cell.width() <= 0 || cell.height() <= 0) return;
  if (originX == OriginX && cell == CellSize) return;
  OriginX = originX;
  CellSize = cell;
  // The cells no longer stand where they stood: the owner repaints.
  LayOutGrid(Brush.Color);
}

void TCanvas::LayOutGrid(TColor background) {
  Columns = CeilDiv(Image.width() - OriginX, CellSize.width());
  const int rows = CeilDiv(Image.height(), CellSize.height());
  Cells.assign(static_cast<size_t>(Columns) * rows, TGridCell{QLatin1Char(' '), Font.Color, background});
  Glyphs.assign(rows, {});
}

void TCanvas::FillRect(const QRect& rect) {
  if (Brush.Style == TBrushStyle::Clear || rect.isEmpty() || Image.isNull()) return;
  {
    QPainter painter(&Image);
    painter.fillRect(rect, ToQColor(Brush.Color));
  }
  // A cell is blank once the fill holds the centre of the part of it that is
  // on the picture: a last column or row cut by the edge has its centre
  // outside, yet the fill leaves nothing of its character to see.
  const auto seenCentre = [](int start, int size, int limit) {
    return start + (std::min(start + size, limit) - start) / 2;
  };
  for (int row = 0; row < GridRows(); ++row) {
    if (rect.contains(Glyphs[row].Centre)) Glyphs[row] = {};
    const int y = seenCentre(row * CellSize.height(), CellSize.height(), Image.height());
    if (y < rect.top() || y > rect.bottom()) continue;
    for (int column = 0; column < Columns; ++column) {
      const int x = seenCentre(OriginX + column * CellSize.width(), CellSize.width(), Image.width());
      if (x >= rect.left() && x <= rect.right()) *Cell(column, row) = {QLatin1Char(' '), Font.Color, Brush.Color};
    }
  }
  Changed(rect);
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  if (Image.isNull() || text.isEmpty()) return;
  const QFontMetrics metrics(Font.Font, &Image);
  const QRect area(x, y, metrics.horizontalAdvance(text), metrics.height());
  {
    QPainter painter(&Image);
    if (Brush.Style == TBrushStyle::Solid) painter.fillRect(area, ToQColor(Brush.Color));
    painter.setFont(Font.Font);
    painter.setPen(ToQColor(Font.Color));
    painter.drawText(x, y + metrics.ascent(), text);
  }
  const int cx = CellSize.width();
  const int cy = CellSize.height();
  const int row = FloorDiv(y + cy / 2, cy);
  const int first = FloorDiv(x - OriginX + cx / 2, cx);
  for (int i = 0; i < text.size(); ++i) {
    TGridCell* cell = Cell(first + i, row);
    if (!cell) continue;
    cell->Char = text[i];
    cell->Color = Font.Color;
    if (Brush.Style == TBrushStyle::Solid) cell->Background = Brush.Color;
  }
  Changed(area);
}

void TCanvas::Draw(int x, int y, const TGlyph& glyph) {
  if (Image.isNull() || glyph.Image.isNull()) return;
  {
    QPainter painter(&Image);
    painter.drawImage(x, y, glyph.Image);
  }
  const QRect area(QPoint(x, y), glyph.Image.size());
  const int row = FloorDiv(area.center().y(), CellSize.height());
  if (row >= 0 && row < GridRows()) Glyphs[row] = {glyph.Name, area.center()};
  Changed(area);
}

QString TCanvas::GridLine(int row) const {
  if (row < 0 || row >= GridRows()) return {};
  QString line;
  line.reserve(Columns);
  for (int column = 0; column < Columns; ++column) line += Cells[static_cast<size_t>(row) * Columns + column].Char;
  return line;
}

TGridCell TCanvas::GridCell(int column, int row) const {
  if (row < 0 || row >= GridRows() || column < 0 || column >= Columns) return {};
  return Cells[static_cast<size_t>(row) * Columns + column];
}

QString TCanvas::GridGlyph(int row) const {
  if (row < 0 || row >= GridRows()) return {};
  return Glyphs[row].Name;
}

TGridCell* TCanvas::Cell(int column, int row) {
  if (row < 0 || row >= GridRows() || column < 0 || column >= Columns) return nullptr;
  return &Cells[static_cast<size_t>(row) * Columns + column];
}

void TCanvas::Changed(const QRect& rect) {
  if (OnChange) OnChange(rect);
}
