#pragma once
#include <Qsci/qsciscintilla.h>

#include <QPixmap>

#include <functional>
#include <map>
#include <vector>

#include "Colors.h"

// The text view of the source window: a read-only C source over QScintilla
// with what the window asks of it. Lines count from 1. The gutter is a blank
// margin on which the window draws its glyphs after every paint; the editor
// remembers what was drawn on each line, so that tests read glyphs, not pixels.
class TSourceEditor : public QsciScintilla {
 public:
  explicit TSourceEditor(QWidget* parent);

  // Reads the file as UTF-8, or as Latin-1 when it is not valid UTF-8; false
  // (text unchanged) when it cannot be read, is no regular file or is larger
  // than any source can be.
  bool LoadFromFile(const QString& path);
  // A NUL shows as U+2400, so that the lines after it stay.
  void SetLines(const QString& text);
  int LineCount() const { return lines(); }
  QString LineText(int line) const;

  // Caret to column 1 of the line, scrolled into view.
  void CaretToLine(int line);
  int CaretLine() const;
  int TopLine() const { return firstVisibleLine() + 1; }
  int LineHeight() const { return textHeight(0); }

  // Repaints a line, asking OnSpecialLineColors for its colours again.
  void InvalidateLine(int line);
  // Repaints the gutter.
  void InvalidateGutter();

  // Draws image `glyph` at (x, y) of the gutter for a line; only while
  // OnAfterPaint runs.
  void DrawGlyph(int line, int x, int y, int glyph);
  void SetGlyphImages(std::vector<QPixmap> images) { Images = std::move(images); }

  struct TDrawnGlyph {
    int X;
    int Glyph;
    bool operator==(const TDrawnGlyph&) const = default;
  };
  // What the last paint of the line drew in the gutter, left to right.
  std::vector<TDrawnGlyph> GlyphsOn(int line) const;
  // The colours a special line shows with; false for an ordinary line.
  bool LineColors(int line, TColor& foreground, TColor& background) const;

  // A press of any mouse button in the gutter, on a line of the text.
  std::function<void(int line)> OnGutterClick;
  // Whether a line shows in colours of its own, and which.
  std::function<bool(int line, TColor& foreground, TColor& background)> OnSpecialLineColors;
  // Runs after every paint of the text with the lines painted.
  std::function<void(int firstLine, int lastLine)> OnAfterPaint;

  static constexpr int GutterWidth = 30;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void ClearSpecialLines();

  std::vector<QPixmap> Images;
  std::map<int, std::vector<TDrawnGlyph>> Drawn;
  std::map<int, std::pair<TColor, TColor>> SpecialLines;
  class QPainter* Painter = nullptr;
};
