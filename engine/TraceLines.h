#pragma once
// The lines of the trace view: a cache of decoded frame lines, rebuilt from
// the target's trace buffer frame by frame. Opcode fetches and memory reads
// are gathered back into the instructions they carried; the view shows any
// mix of instruction lines, bus-cycle lines and blank separators.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Tgtz80.h"

// What the trace view shows.
enum : uint16_t {
  TRACE_SHOW_ASM = 1,       // instruction lines
  TRACE_SHOW_FRAMES = 2,    // a line per bus cycle
  TRACE_SEPARATE = 4,       // a blank line before each instruction
};

// Colour codes of a trace row.
enum TTraceColor : uint8_t { TRACE_GREY = 0, TRACE_BLACK = 1, TRACE_RED = 2 };

struct TTraceRow {
  TTraceColor Color = TRACE_BLACK;
  std::string Text;
};

class TTraceLines {
 public:
  static constexpr int CACHE_LINES = 100;
  // Decoding scrolls the view only this far into the cache before the cache
  // drops lines at its front instead.
  static constexpr int SCROLL_LIMIT = 75;
  // A buffer that never ends and holds no instruction would keep one paint
  // decoding for ever; this many frames end it.
  static constexpr int FRAMES_PER_PAINT = 65536;

  // Reads one frame into a frame that has been zeroed, so a target that
  // writes nothing hands out an empty frame.
  using TFrameSource = std::function<void(int32_t frameNumber, TTraceFrame& out)>;

  // Frames come from TheProtocol.
  TTraceLines();
  explicit TTraceLines(TFrameSource source);

  int TopLine() const { return FTopLine; }

  // Starts decoding afresh at a frame. The keyword picks a half of a wide
  // frame on other processors and means nothing for this one.
  void MoveTo(int32_t frame, int keyword, uint16_t mode);
  // Decodes the same part of the trace again.
  void Rebuild();
  // Decodes from entry line, which must be undecoded; returns the entries filled.
  int ParseFrame(int line);

  // The rows shown from the top line on, decoding what they need. Rows below
  // the cache are blank.
  std::vector<TTraceRow> Rows(int count);

  // Scrolling by one row; the cursor row is the view's. LineDown returns
  // false when the cursor stays because the next row is the trace's end.
  void LineUp(int& cursorRow);
  bool LineDown(int& cursorRow, int rows);
  void PageUp(int rows);
  void PageDown(int rows);
  // The rows of a window of rows that show cache entries, where a cursor may stand.
  int CursorRows(int rows) const { return std::min(rows, CACHE_LINES - FTopLine); }

 private:
  void Read(int32_t frameNumber, TTraceFrame& frame);
  void Clear();
  // Copies entry from into the entry after it, when the cache has one.
  void CopyForward(int from);
  // With frame lines shown, entry line shows the frame as a cycle and the
  // decoding state moves on to the entry after it; returns the entries filled.
  int ShowCycle(int line, int32_t number, const TTraceFrame& frame);

  TFrameSource FSource;
  std::array<_framelinetype, CACHE_LINES> FFrameLines{};
  uint16_t FMode = TRACE_SHOW_ASM | TRACE_SHOW_FRAMES | TRACE_SEPARATE;
  int FTopLine = 0;
  uint8_t FRestart = 1;  // no blank line before the first instruction of a run
  int FFramesLeft = FRAMES_PER_PAINT;
};
