// Symbols of a linker map (.M51): the "SYMBOL TABLE" sections, one symbol a line
// such as "C:0123H PUBLIC main".
#include <cstring>

#include "Formats.h"
#include "ImageLines.h"
#include "ImageRecord.h"
#include "LoaderState.h"
#include "Tokens.h"

namespace {

bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// The record's area for a memory-class letter; 0 for classes that hold no code or data symbols.
uint8_t AreaOfMemoryClass(char letter) {
  switch (letter) {
    case 'C': return 1;
    case 'D': return 2;
    case 'X': return 3;
    case 'I':
    case 'N': return 4;
    default: return 0;
  }
}

}  // namespace

int ReadM51Symbols(TImageRecord& record) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  for (;;) {
    int length = NextImageLine(state, record);
    if (length <= 0) return length;
    const char* line = state.Lines.Line();
    if (StartsWith(line, "SYMBOL TABLE ")) {
      state.InSection = true;
      continue;
    }
    if (StartsWith(line, "INTER-MODULE CROSS-REFERENCE LISTING")) {
      state.InSection = false;
      continue;
    }
    if (!state.InSection) continue;

    size_t position = SkipWhite(line, 0);
    uint8_t area = AreaOfMemoryClass(line[position]);
    if (area == 0 || line[position + 1] != ':') continue;
    position = SkipWhite(line, position + 2);
    uint32_t address = ReadHexNumber(line, position);
    position = SkipToken(line, position);
    if (!StartsWith(line + position, "SYMBOL") && !StartsWith(line + position, "PUBLIC")) continue;
    position = SkipToken(line, position);
    size_t end = TokenEnd(line, position);
    if (end == position) continue;
    record.Type = IR_SYMBOL;
    record.Area = area;
    record.Address = address;
    SetText(record, line + position, end - position);
    return record.Count;
  }
}
