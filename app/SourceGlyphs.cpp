#include "SourceGlyphs.h"

#include <QPainter>
#include <QPolygon>

namespace {

const QRect Disc(0, 1, 11, 11);

QPixmap Blank() {
  QPixmap pixmap(SourceGlyphWidth, SourceGlyphHeight);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

QPixmap Dot() {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 220));
  p.drawEllipse(QRectF(3.5, 5, 4, 4));
  return pixmap;
}

QPixmap MarkedDisc(QColor mark, bool tick) {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(120, 0, 0));
  p.setBrush(QColor(220, 0, 0));
  p.drawEllipse(QRectF(Disc).adjusted(0.5, 0.5, -0.5, -0.5));
  p.setPen(QPen(mark, 1.6));
  if (tick) {
    p.drawPolyline(QPolygonF({{2.5, 6.5}, {4.5, 9}, {8.5, 3.5}}));
  } else {
    p.drawLine(QPointF(3, 4), QPointF(8, 9));
    p.drawLine(QPointF(8, 4), QPointF(3, 9));
  }
  return pixmap;
}

QPixmap CheckeredDisc() {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(96, 96, 96));
  p.setBrush(QBrush(QColor(128, 128, 128), Qt::Dense4Pattern));
  p.drawEllipse(QRectF(Disc).adjusted(0.5, 0.5, -0.5, -0.5));
  return pixmap;
}

QPixmap Arrow() {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(0, 90, 0));
  p.setBrush(QColor(0, 190, 0));
  p.drawPolygon(QPolygonF({{0.5, 4.5}, {5.5, 4.5}, {5.5, 1.5}, {10.5, 6.5}, {5.5, 11.5}, {5.5, 8.5}, {0.5, 8.5}}));
  return pixmap;
}

}  // namespace

std::vector<QPixmap> SourceGlyphImages() {
  return {Dot(), MarkedDisc(QColor(0, 200, 0), true), MarkedDisc(QColor(255, 230, 0), false), CheckeredDisc(),
          Arrow()};
}
