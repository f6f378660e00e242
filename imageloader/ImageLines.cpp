#include "ImageLines.h"

#include "ImageRecord.h"
#include "LoaderState.h"
#include "Tokens.h"

int NextImageLine(TLoaderState& state, TImageRecord& record) {
  int length;
  while ((length = state.Lines.Next(state.File)) > 0 && IsBlankLine(state.Lines.Line())) {
  }
  if (length == 0) record.Type = IR_END;
  return length;
}
