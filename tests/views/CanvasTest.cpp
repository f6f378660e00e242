#include <gtest/gtest.h>

#include <QImage>

#include "Canvas.h"
#include "FixedFont.h"
#include "GuiTestApplication.h"

namespace {

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Canvas.Font = {FixedFont(), clBlack};
    Canvas.SetGrid(Margin, {8, 15});
    Canvas.SetSize({Margin + 10 * 8, 4 * 15}, clWhite);
    Canvas.OnChange = [this](const QRect& rect) { Changed = Changed.united(rect); };
  }

  static constexpr int Margin = 18;
  TCanvas Canvas;
  QRect Changed;
};

TEST_F(CanvasTest, GridCoversTheAreaRightOfTheMargin) {
  EXPECT_EQ(Canvas.GridColumns(), 10);
  EXPECT_EQ(Canvas.GridRows(), 4);
  EXPECT_EQ(Canvas.GridLine(0), QString(10, QLatin1Char(' ')));
  EXPECT_EQ(Canvas.GridCell(3, 3).Background, clWhite);
  EXPECT_EQ(Canvas.GridLine(4), QString());
  EXPECT_EQ(Canvas.GridCell(-1, 0).Char, QLatin1Char(' '));
}

TEST_F(CanvasTest, TextLandsInTheCellsItCoversWithItsColours) {
  Canvas.Brush = {clHighlight, TBrushStyle::Solid};
  Canvas.Font.Color = clRed;
  Canvas.TextOut(Margin + 2 * 8, 15, QStringLiteral("LD A,B"));
  EXPECT_EQ(Canvas.GridLine(1), QStringLiteral("  LD A,B  "));
  EXPECT_EQ(Canvas.GridCell(2, 1).Color, clRed);
  EXPECT_EQ(Canvas.GridCell(2, 1).Background, clHighlight);
  EXPECT_EQ(Canvas.GridCell(1, 1).Background, clWhite);
  EXPECT_EQ(Changed, QRect(Margin + 16, 15, 6 * 8, 15));
  EXPECT_EQ(Canvas.Picture().pixelColor(Margin + 17, 16), ToQColor(clHighlight));
}

TEST_F(CanvasTest, TextWithAClearBrushKeepsTheBackground) {
  Canvas.Brush = {clAqua, TBrushStyle::Solid};
  Canvas.FillRect(QRect(0, 0, 200, 15));
  Canvas.Brush.Style = TBrushStyle::Clear;
  Canvas.TextOut(Margin, 0, QStringLiteral("AB"));
  EXPECT_EQ(Canvas.GridCell(0, 0).Char, QLatin1Char('A'));
  EXPECT_EQ(Canvas.GridCell(0, 0).Background, clAqua);
  // A clear brush fills nothing.
  Canvas.FillRect(QRect(0, 0, 200, 15));
  EXPECT_EQ(Canvas.GridLine(0).left(2), QStringLiteral("AB"));
}

TEST_F(CanvasTest, TextANudgeOffTheCellEdgeStillLandsInIt) {
  TCanvas canvas;
  canvas.SetGrid(0, {8, 15});
  canvas.SetSize({80, 30}, clWhite);
  canvas.TextOut(2, 15, QStringLiteral("SP 1234"));
  EXPECT_EQ(canvas.GridLine(1).trimmed(), QStringLiteral("SP 1234"));
  EXPECT_EQ(canvas.GridCell(0, 1).Char, QLatin1Char('S'));
}

TEST_F(CanvasTest, TextPastEitherEdgeIsCutFromTheGrid) {
  Canvas.TextOut(Margin + 6 * 8, 0, QString(300, QLatin1Char('X')));
  EXPECT_EQ(Canvas.GridLine(0), QStringLiteral("      XXXX"));
  Canvas.TextOut(Margin - 3 * 8, 15, QStringLiteral("ABCDE"));
  EXPECT_EQ(Canvas.GridLine(1).left(3), QStringLiteral("DE "));
  Canvas.TextOut(-5000, -5000, QStringLiteral("far away"));
  Canvas.TextOut(Margin, 4 * 15, QStringLiteral("below"));
  EXPECT_EQ(Canvas.GridLine(3).trimmed(), QString());
}

TEST_F(CanvasTest, MarginGlyphIsRecordedPerRowAndFilledOver) {
  QImage bitmap(12, 8, QImage::Format_RGB32);
  bitmap.fill(QColor(0x80, 0x80, 0x00));
  bitmap.setPixelColor(5, 3, Qt::red);
  const TGlyph glyph = MakeTransparentGlyph(QStringLiteral("IMG_BREAK"), bitmap);
  Canvas.Draw(2, 15 + 3, glyph);
  EXPECT_EQ(Canvas.GridGlyph(1), QStringLiteral("IMG_BREAK"));
  EXPECT_EQ(Canvas.GridGlyph(0), QString());
  // The key colour stays out; the rest is drawn.
  EXPECT_EQ(Canvas.Picture().pixelColor(2, 18), QColor(Qt::white));
  EXPECT_EQ(Canvas.Picture().pixelColor(7, 21), QColor(Qt::red));
  // Filling the text area leaves the margin; filling the margin clears the glyph.
  Canvas.Brush = {clWhite, TBrushStyle::Solid};
  Canvas.FillRect(QRect(Margin, 0, 80, 60));
  EXPECT_EQ(Canvas.GridGlyph(1), QStringLiteral("IMG_BREAK"));
  Canvas.FillRect(QRect(0, 15, Margin, 15));
  EXPECT_EQ(Canvas.GridGlyph(1), QString());
}

// The grid holds what the picture shows: a new size fills the picture
// afresh, and a fill blanks a cell cut by the edge once it covers what is
// left of it.
TEST_F(CanvasTest, GridShowsWhatThePictureShows) {
  Canvas.TextOut(Margin, 0, QStringLiteral("0123456789"));
  Canvas.SetSize({Margin + 5 * 8, 2 * 15}, clWhite);
  EXPECT_EQ(Canvas.GridColumns(), 5);
  EXPECT_EQ(Canvas.GridRows(), 2);
  EXPECT_EQ(Canvas.GridLine(0), QStringLiteral("     "));

  Canvas.SetSize({Margin + 4 * 8 + 3, 15 + 5}, clWhite);  // a column and a row cut short
  ASSERT_EQ(Canvas.GridColumns(), 5);
  ASSERT_EQ(Canvas.GridRows(), 2);
  Canvas.Brush = {clWhite, TBrushStyle::Solid};
  struct TCase {
    QRect Fill;
    QString Row0, Row1;
  };
  for (const TCase& c : {
           TCase{{Margin + 2 * 8, 0, 100, 100}, "AB   ", "AB   "},  // to the edges: the cut cells too
           TCase{{Margin + 4 * 8, 0, 1, 100}, "ABCDE", "ABCDE"},      // under the half of what shows
           TCase{{Margin + 4 * 8, 0, 2, 100}, "ABCD ", "ABCD "},      // over it
           TCase{{0, 15, 200, 2}, "ABCDE", "ABCDE"},
           TCase{{0, 15, 200, 3}, "ABCDE", "     "},
       }) {
    SCOPED_TRACE(c.Fill.x());
    Canvas.TextOut(Margin, 0, QStringLiteral("ABCDE"));
    Canvas.TextOut(Margin, 15, QStringLiteral("ABCDE"));
    Canvas.FillRect(c.Fill);
    EXPECT_EQ(Canvas.GridLine(0), c.Row0);
    EXPECT_EQ(Canvas.GridLine(1), c.Row1);
  }
}

}  // namespace
