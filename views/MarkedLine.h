#pragma once
#include <QString>

#include <string>

#include "Colors.h"
#include "Scroller.h"

// A register or flag line as the CPU words it: a change marker ("2" when the
// value changed since the previous register image, "1" otherwise), then the
// text that is drawn.

inline QString MarkedLineText(const std::string& line) {
  return line.empty() ? QString() : QString::fromLatin1(line.substr(1));
}

// The register views draw their text this many pixels into the row.
constexpr int LineTextX = 2;

inline bool IsChangedLine(const std::string& line) { return !line.empty() && line[0] == '2'; }

// Red for a changed value, else the colour given.
inline TColor MarkedLineColor(const std::string& line, TColor unchanged) {
  return IsChangedLine(line) ? clRed : unchanged;
}

// The register views' cursor: the whole row. A changed value stays red under it.
inline void DrawLineCursor(TScroller& view, int row, TScroller::TCursorMode mode, const QString& text, bool changed) {
  QPoint at(0, row);
  view.MapCharsToPixels(at);
  TCanvas* canvas = view.Canvas();
  canvas->Font = view.Font();
  canvas->Brush = {mode == TScroller::cmShow ? clHighlight : view.Color(), TBrushStyle::Solid};
  canvas->Font.Color = changed ? clRed : mode == TScroller::cmShow ? view.Color() : view.Font().Color;
  canvas->FillRect(QRect(0, at.y(), canvas->Size().width(), view.GetLineHeight()));
  canvas->Brush.Style = TBrushStyle::Clear;
  canvas->TextOut(at.x() + LineTextX, at.y(), text);
  canvas->Brush.Style = TBrushStyle::Solid;
}
