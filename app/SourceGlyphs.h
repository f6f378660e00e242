#pragma once
#include <QPixmap>

#include <vector>

// The source window's gutter glyphs, 11 x 14 pixels each, in image-list order.
enum : int {
  GLYPH_CODE = 0,           // small blue dot: the line has code
  GLYPH_BREAK = 1,          // red disc with a green tick: enabled breakpoint
  GLYPH_BREAK_INVALID = 2,  // red disc with a yellow cross
  GLYPH_BREAK_DISABLED = 3, // grey chequered disc
  GLYPH_EXECUTION = 4,      // green arrow: the execution point
};
inline constexpr int SourceGlyphWidth = 11;
inline constexpr int SourceGlyphHeight = 14;

std::vector<QPixmap> SourceGlyphImages();
