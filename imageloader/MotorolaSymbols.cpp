// Symbols of a Motorola .SYM file: a name in the first nine columns and its hex
// value from the tenth on.
#include "Formats.h"
#include "ImageLines.h"
#include "LoaderState.h"
#include "Tokens.h"

int ReadMotorolaSymbols(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  constexpr size_t NAME_COLUMNS = 9;
  for (;;) {
    int length = NextImageLine(state, record);
    if (length <= 0) return length;
    const char* line = state.Lines.Line();
    size_t name = SkipWhite(line, 0);
    if (static_cast<size_t>(length) <= name + NAME_COLUMNS) continue;
    size_t end = TokenEnd(line, name);
    if (end > name + NAME_COLUMNS) end = name + NAME_COLUMNS;
    SetCompanionSymbol(record, ReadHexNumber(line, name + NAME_COLUMNS), line + name, end - name);
    return 0;
  }
}
