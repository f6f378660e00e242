#include "ToolGlyphs.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

namespace {

enum class TShape { Folder, Circle, Disc, CrossedDisc, Triangle, Square, Letters };

struct TGlyph {
  TShape Shape;
  const char* Text;
  QRgb Colour;
};

// Simple marks that tell the buttons apart: shapes for the run commands,
// letters for the windows they toggle.
const TGlyph Glyphs[] = {
    {TShape::Folder, "", qRgb(200, 160, 40)},       // open program
    {TShape::Circle, "", qRgb(30, 110, 30)},        // reload
    {TShape::Disc, "", qRgb(210, 0, 0)},            // toggle break
    {TShape::CrossedDisc, "", qRgb(210, 0, 0)},     // remove all breaks
    {TShape::Letters, "\xe2\x86\x92I", qRgb(0, 0, 160)},  // run to cursor
    {TShape::Letters, "\xe2\x86\x93", qRgb(0, 0, 160)},   // step into
    {TShape::Letters, "A\xe2\x86\x93", qRgb(0, 0, 160)},  // assembler step
    {TShape::Letters, "\xe2\x86\xb7", qRgb(0, 0, 160)},   // step over
    {TShape::Triangle, "", qRgb(0, 150, 0)},        // go
    {TShape::Square, "", qRgb(200, 0, 0)},          // halt
    {TShape::Letters, "RS", qRgb(120, 0, 0)},       // reset
    {TShape::Letters, "M", qRgb(0, 0, 0)},          // memory window
    {TShape::Letters, "C", qRgb(0, 90, 160)},       // source window
    {TShape::Letters, "Z", qRgb(0, 0, 0)},          // CPU window
    {TShape::Letters, "R", qRgb(0, 0, 0)},          // registers
    {TShape::Letters, "SR", qRgb(0, 0, 0)},         // special registers
    {TShape::Letters, "S", qRgb(0, 0, 0)},          // symbols
    {TShape::Letters, "T", qRgb(0, 0, 0)},          // trace
    {TShape::Letters, "W", qRgb(0, 0, 0)},          // watches
    {TShape::Letters, "\xe2\x9f\xb3", qRgb(30, 110, 30)},  // refresh
    {TShape::Letters, "?", qRgb(0, 0, 160)},        // about
    {TShape::Letters, "<>", qRgb(90, 0, 120)},      // communication log
};

}  // namespace

QIcon ToolGlyph(int index) {
  QPixmap pixmap(18, 18);
  pixmap.fill(Qt::transparent);
  if (index < 0 || index >= static_cast<int>(std::size(Glyphs))) return QIcon(pixmap);
  const TGlyph& glyph = Glyphs[index];
  const QColor colour = QColor::fromRgb(glyph.Colour);

  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1));
  switch (glyph.Shape) {
    case TShape::Folder:
      painter.setBrush(colour);
      painter.drawPolygon(QPolygon({QPoint(1, 4), QPoint(7, 4), QPoint(9, 6), QPoint(16, 6), QPoint(16, 15),
                                    QPoint(1, 15)}));
      break;
    case TShape::Circle: {
      painter.setPen(QPen(colour, 2.5));
      painter.drawArc(QRectF(3, 3, 12, 12), 60 * 16, 280 * 16);
      painter.setBrush(colour);
      painter.setPen(Qt::NoPen);
      painter.drawPolygon(QPolygon({QPoint(10, 1), QPoint(15, 4), QPoint(10, 7)}));
      break;
    }
    case TShape::Disc:
    case TShape::CrossedDisc:
      painter.setBrush(colour);
      painter.drawEllipse(QRectF(3, 3, 12, 12));
      if (glyph.Shape == TShape::CrossedDisc) {
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(2, 2, 16, 16);
        painter.drawLine(16, 2, 2, 16);
      }
      break;
    case TShape::Triangle:
      painter.setBrush(colour);
      painter.drawPolygon(QPolygon({QPoint(4, 2), QPoint(15, 9), QPoint(4, 16)}));
      break;
    case TShape::Square:
      painter.setBrush(colour);
      painter.drawRect(QRectF(3.5, 3.5, 11, 11));
      break;
    case TShape::Letters: {
      QFont font(QStringLiteral("DejaVu Sans"));
      const QString text = QString::fromUtf8(glyph.Text);
      font.setPixelSize(text.size() > 1 ? 10 : 14);
      font.setBold(true);
      painter.setFont(font);
      painter.setPen(colour);
      painter.drawText(pixmap.rect(), Qt::AlignCenter, text);
      break;
    }
  }
  painter.end();

  // The style's own disabled image keeps black marks nearly black, so a
  // disabled button looked enabled: it shows a light grey silhouette instead.
  QImage disabled = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < disabled.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(disabled.scanLine(y));
    for (int x = 0; x < disabled.width(); ++x) line[x] = qRgba(160, 160, 160, qAlpha(line[x]));
  }
  QIcon icon(pixmap);
  icon.addPixmap(QPixmap::fromImage(disabled), QIcon::Disabled);
  return icon;
}
