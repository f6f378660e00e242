#pragma once
#include <QString>

#include <string>

#include "Colors.h"

// A register or flag line as the CPU words it: a change marker ("2" when the
// value changed since the previous register image, "1" otherwise), then the
// text that is drawn.

inline QString MarkedLineText(const std::string& line) {
  return line.empty() ? QString() : QString::fromLatin1(line.substr(1));
}

// Red for a changed value, else the colour given.
inline TColor MarkedLineColor(const std::string& line, TColor unchanged) {
  return !line.empty() && line[0] == '2' ? clRed : unchanged;
}
