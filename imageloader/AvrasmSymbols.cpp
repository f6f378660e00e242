// Labels of an Avrasm listing (.LST): listing lines of the code segment whose
// third token is a label, such as "000012 e0f0 reset: ldi r31,0".
#include <cstring>

#include "Formats.h"
#include "ImageLines.h"
#include "LoaderState.h"
#include "Tokens.h"

int ReadAvrasmSymbols(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  for (;;) {
    int length = NextImageLine(state, record);
    if (length <= 0) return length;
    const char* line = state.Lines.Line();
    size_t first = SkipWhite(line, 0);
    if (!state.InSection) {
      if (std::strncmp(line + first, ".CSEG", 5) == 0) state.InSection = true;
      continue;
    }
    if (first > 0) {
      if (std::strncmp(line + first, ".ESEG", 5) == 0) state.InSection = false;
      continue;
    }
    if (!IsHexToken(line, 0)) continue;
    size_t label = SkipToken(line, SkipToken(line, 0));
    size_t end = TokenEnd(line, label);
    if (end - label < 2 || line[end - 1] != ':') continue;
    SetCompanionSymbol(record, 2 * ReadHexNumber(line, 0), line + label, end - label - 1);
    return 0;
  }
}
