// Symbols of a Toshiba .SYM file: pairs of a hex address and a name, several to a line.
#include "Formats.h"
#include "ImageRecord.h"
#include "LoaderState.h"
#include "Tokens.h"

int ReadToshibaSymbols(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  for (;;) {
    if (!state.LinePending) {
      int length = state.Lines.Next(state.File);
      if (length < 0) return -1;
      if (length == 0) {
        record.Type = IR_END;
        return 0;
      }
      state.LinePosition = 0;
      state.LinePending = true;
    }
    const char* line = state.Lines.Line();
    size_t position = SkipWhite(line, state.LinePosition);
    if (line[position] == '\0') {
      state.LinePending = false;
      continue;
    }
    size_t addressAt = position;
    size_t nameAt = SkipToken(line, position);
    size_t nameEnd = TokenEnd(line, nameAt);
    state.LinePosition = SkipWhite(line, nameEnd);
    // Headings and stray words are no pairs.
    if (!IsHexToken(line, addressAt) || nameEnd == nameAt) continue;
    SetCompanionSymbol(record, ReadHexNumber(line, addressAt), line + nameAt, nameEnd - nameAt);
    return 0;
  }
}
