#pragma once
// What the source window's gutter shows and does for a line of a module.
// Lines count from 1; module 0xFFFF means that no module is shown, and then
// no line has code.
#include <cstdint>

// A line number of the debug information as a line of the text; one that no
// text has when it does not fit (a source is far shorter than 2^31 lines).
inline int32_t SourceTextLine(uint32_t line) {
  return line > INT32_MAX ? INT32_MAX : static_cast<int32_t>(line);
}

// The line of the module where the PC stands exactly on a line entry, or -1.
int32_t SourceExecutionLine(uint16_t module);

enum class TLineGlyph { None, Code, Break, Disabled };
// A line with code shows its breakpoint's state.
TLineGlyph SourceLineGlyph(uint16_t module, uint32_t line);

enum class TToggleResult { Toggled, NoCode, TableFull };
// Toggles the breakpoint on the line's first code address, the same table
// entry that the CPU window sets at that address.
TToggleResult ToggleSourceBreak(uint16_t module, uint32_t line);

// The top of a gutter glyph 14 pixels high, centred in its row.
inline int GlyphTop(int line, int topLine, int lineHeight) {
  return (line - topLine) * lineHeight + (lineHeight - 14) / 2;
}
