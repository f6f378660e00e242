#pragma once
#include <QFont>

// The fixed-pitch font of the views and windows: DejaVu Sans Mono at 13 pixels
// with full hinting, whose character cell is exactly 8 x 15 pixels.
QFont FixedFont();

enum : int { FixedFontCellWidth = 8, FixedFontCellHeight = 15 };
