#include "FixedFont.h"

QFont FixedFont() {
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setPixelSize(13);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}
