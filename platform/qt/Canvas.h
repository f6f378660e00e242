#pragma once
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

#include "Colors.h"

// A font as the views hold it: the typeface and the colour text is written in.
struct TFont {
  QFont Font;
  TColor Color = clWindowText;
};

enum class TBrushStyle { Solid, Clear };

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::Solid;
};

// A bitmap drawn with one colour left out: the colour of its bottom-left pixel.
struct TGlyph {
  QString Name;
  QImage Image;
};
TGlyph MakeTransparentGlyph(const QString& name, const QImage& image);

// What the canvas remembers of one character cell.
struct TGridCell {
  QChar Char = QLatin1Char(' ');
  TColor Color = clWindowText;
  TColor Background = clWindow;
};

// Drawing surface of a control: a backing image that can be drawn on at any
// time, not only while the control paints, so a view may redraw its cursor
// from a focus or key handler. Beside the pixels it keeps a grid of the text
// on screen (character cells counted from a left origin, plus the glyph drawn
// on each row) so that what a view shows can be read back as text.
class TCanvas {
 public:
  TFont Font;
  TBrush Brush;

  // Called with the rectangle that changed, so the owner can bring it on screen.
  std::function<void(const QRect& changed)> OnChange;

  // A new image of size pixels filled with background, its grid as blank.
  void SetSize(const QSize& size, TColor background);
  QSize Size() const { return Image.size(); }
  const QImage& Picture() const { return Image; }

  // Text columns start at originX; cells are cell pixels large.
  void SetGrid(int originX, const QSize& cell);

  // Fills with the brush colour (nothing with a clear brush).
  void FillRect(const QRect& rect);
  // Writes text with its top-left corner at (x, y) in the font colour, on the
  // brush colour unless the brush is clear.
  void TextOut(int x, int y, const QString& text);
  void Draw(int x, int y, const TGlyph& glyph);

  int GridColumns() const { return Columns; }
  int GridRows() const { return static_cast<int>(Glyphs.size()); }
  // Row's characters, trailing blanks included; empty outside the grid.
  QString GridLine(int row) const;
  // A blank cell in the default colours outside the grid.
  TGridCell GridCell(int column, int row) const;
  // Name of the glyph last drawn on the row; empty when none.
  QString GridGlyph(int row) const;

 private:
  struct TRowGlyph {
    QString Name;
    QPoint Centre;
  };

  void LayOutGrid(TColor background);
  TGridCell* Cell(int column, int row);
  void Changed(const QRect& rect);

  QImage Image;
  int OriginX = 0;
  QSize CellSize{1, 1};
  int Columns = 0;
  std::vector<TGridCell> Cells;  // row by row, Columns per row
  std::vector<TRowGlyph> Glyphs;  // one per row
};
