#include "TraceLines.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Configuration.h"
#include "Protocol.h"

namespace {

// Instruction bytes gathered at most before disassembling.
constexpr int MAX_GATHERED = 10;
constexpr uint16_t PROGRAM_AREA = AREA_PROGRAM | 1;
// Width of the frame-number column in front of an instruction line.
constexpr std::size_t PREFIX_WIDTH = 9;

// Frame numbers are 32 bits whatever start frame was typed: counting on past
// either end runs round to the other.
int32_t FrameAfter(int32_t frame, int32_t by = 1) {
  return static_cast<int32_t>(static_cast<uint32_t>(frame) + static_cast<uint32_t>(by));
}

}  // namespace

TTraceLines::TTraceLines()
    : TTraceLines([](int32_t frameNumber, TTraceFrame& out) { TheProtocol->ReadTraceFrame(frameNumber, out); }) {}

TTraceLines::TTraceLines(TFrameSource source) : FSource(std::move(source)) {}

void TTraceLines::MoveTo(int32_t frame, int /*keyword*/, uint16_t mode) {
  FMode = mode;
  Clear();
  FFrameLines[0].FrameNumber = frame;
  FTopLine = 0;
}

void TTraceLines::Rebuild() { Clear(); }

void TTraceLines::Clear() {
  for (_framelinetype& line : FFrameLines) {
    line.Kind = FL_UNDECODED;
    line.Continuation = 0;
    line.ByteCount = 0;
  }
  FRestart = 1;
}

void TTraceLines::Read(int32_t frameNumber, TTraceFrame& frame) {
  frame = TTraceFrame{};
  --FFramesLeft;
  FSource(frameNumber, frame);
}

void TTraceLines::CopyForward(int from) {
  if (from + 1 < CACHE_LINES) FFrameLines[static_cast<std::size_t>(from + 1)] = FFrameLines[static_cast<std::size_t>(from)];
}

int TTraceLines::ShowCycle(int line, int32_t number, const TTraceFrame& frame) {
  if (!(FMode & TRACE_SHOW_FRAMES)) return 0;
  CopyForward(line);
  TheCpu->DecodeFrame(number, FFrameLines[static_cast<std::size_t>(line)], frame);
  return 1;
}

int TTraceLines::ParseFrame(int line) {
  if (line < 0 || line >= CACHE_LINES) return 0;
  const TCpu& cpu = *TheCpu;
  _framelinetype& state = FFrameLines[static_cast<std::size_t>(line)];
  for (;;) {
    const int32_t f = state.FrameNumber;
    if (FFramesLeft <= 0) {
      state.Kind = FL_TRACEEND;
      return 1;
    }
    TTraceFrame frame;
    Read(f, frame);
    if (cpu.IsEmptyFrame(frame)) {
      cpu.DecodeFrame(f, state, frame);
      FRestart = 0;
      return 1;
    }

    // A cycle outside an instruction: a frame line of its own, or nothing.
    if ((state.ByteCount == 0 && !cpu.IsFetchFrame(frame)) || !cpu.IsCodeFrame(frame)) {
      const int n = ShowCycle(line, f, frame);
      if (line + n < CACHE_LINES) {
        _framelinetype& carried = FFrameLines[static_cast<std::size_t>(line + n)];
        carried.FrameNumber = FrameAfter(carried.FrameNumber);
      }
      FRestart = 0;
      return n;
    }

    // Gather the instruction's bytes from the code frames that follow.
    uint8_t code[MAX_GATHERED] = {};
    const int pending = state.ByteCount;
    std::memcpy(code, state.Bytes, static_cast<std::size_t>(pending));
    uint32_t start = state.Address;
    uint32_t expected = start + static_cast<uint32_t>(pending);
    int count = pending;
    for (int32_t next = f; count < MAX_GATHERED; next = FrameAfter(next)) {
      TTraceFrame code_frame;
      Read(next, code_frame);
      if (cpu.IsEmptyFrame(code_frame) || !cpu.IsCodeFrame(code_frame)) break;
      if (count == 0) start = expected = code_frame.Address;
      if (!cpu.GetFrameByte(expected, code_frame, code[count])) break;
      ++count;
      ++expected;
    }
    char text[FRAME_LINE_SIZE];
    std::memset(text, ' ', sizeof text - 1);
    text[sizeof text - 1] = '\0';
    const int length = cpu.Disassemble(PROGRAM_AREA, start, code, text, sizeof text, 0);

    if (length > count) {
      // The instruction runs past the recorded frames: show this frame as a
      // cycle and carry its byte on.
      if (count == pending) {
        state.ByteCount = 0;
        continue;
      }
      const int n = ShowCycle(line, f, frame);
      if (line + n < CACHE_LINES) {
        // At most three bytes are ever pending: an instruction is at most four long.
        _framelinetype& carried = FFrameLines[static_cast<std::size_t>(line + n)];
        carried.FrameNumber = FrameAfter(carried.FrameNumber);
        if (carried.ByteCount == 0) carried.Address = start;
        carried.Bytes[carried.ByteCount] = frame.Data;
        carried.ByteCount = static_cast<uint8_t>(carried.ByteCount + cpu.GetFrameByteCount(frame));
      }
      return n;
    }

    // A complete instruction: its lines, then the state after its last frame.
    int rest = length - pending;
    int n = 0;
    int current = line;
    if ((FMode & TRACE_SEPARATE) && FRestart == 0 && (rest >= 1 || (FMode & TRACE_SHOW_ASM))) {
      CopyForward(current);
      FFrameLines[static_cast<std::size_t>(current)].Kind = FL_BLANK;
      ++n;
      if (++current >= CACHE_LINES) return n;
    }
    if (FMode & TRACE_SHOW_ASM) {
      _framelinetype& instruction = FFrameLines[static_cast<std::size_t>(current)];
      instruction.Kind = FL_INSTRUCTION;
      instruction.Address = start;
      instruction.ByteCount = static_cast<uint8_t>(length);
      std::memcpy(instruction.Bytes, code, static_cast<std::size_t>(length));
      cpu.AdjustTraceInstruction(instruction);
      ++n;
      if (++current >= CACHE_LINES) return n;
    }
    FRestart = 0;
    int32_t next = f;
    TTraceFrame last = frame;
    while (rest > 0) {
      Read(next, last);
      rest -= cpu.GetFrameByteCount(last);
      if (FMode & TRACE_SHOW_FRAMES) {
        cpu.DecodeFrame(next, FFrameLines[static_cast<std::size_t>(current)], last);
        ++n;
        if (++current >= CACHE_LINES) return n;
      }
      next = FrameAfter(next);
    }
    _framelinetype& after = FFrameLines[static_cast<std::size_t>(current)];
    after.Kind = FL_UNDECODED;
    after.Continuation = rest < 0 ? 1 : 0;
    after.FrameNumber = next;
    after.Address = last.Address + after.Continuation;
    after.ByteCount = after.Continuation;
    after.Bytes[0] = last.Data2;
    return n;
  }
}

std::vector<TTraceRow> TTraceLines::Rows(int count) {
  const TCpu& cpu = *TheCpu;
  FFramesLeft = FRAMES_PER_PAINT;
  std::vector<TTraceRow> rows;
  rows.reserve(static_cast<std::size_t>(std::max(count, 0)));
  int e = FTopLine;
  for (int r = 0; r < count; ++r) {
    if (e >= CACHE_LINES) {
      rows.emplace_back();
      continue;
    }
    const _framelinetype& line = FFrameLines[static_cast<std::size_t>(e)];
    while (line.Kind == FL_UNDECODED) ParseFrame(e);

    char text[FRAME_LINE_SIZE];
    cpu.FormatFrameLine(line, text);
    TTraceRow row;
    if (FMode & TRACE_SHOW_FRAMES) {
      row.Text = text;
    } else {
      // A number wider than the column runs into the text, which overwrites it.
      char prefix[32] = "         ";
      if (line.Kind == FL_INSTRUCTION && line.Continuation == 0)
        std::snprintf(prefix, sizeof prefix, "%+06d   ", static_cast<int>(line.FrameNumber));
      row.Text.assign(prefix, PREFIX_WIDTH);
      row.Text += text;
    }
    switch (line.Kind) {
      case FL_BLANK:
      case FL_INSTRUCTION:
      case 4:  // a kind other processors' decoders use
      case FL_CODECYCLE:
        row.Color = TRACE_RED;
        ++e;
        break;
      case FL_TRACEEND:
        // Every row below repeats the end line.
        row.Color = TRACE_GREY;
        break;
      default:
        row.Color = TRACE_BLACK;
        ++e;
        break;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void TTraceLines::LineUp(int& cursorRow) {
  if (--cursorRow >= 0) return;
  cursorRow = 0;
  if (FTopLine < 1) {
    FFrameLines[0].FrameNumber = FrameAfter(FFrameLines[0].FrameNumber, -1);
    Clear();
  } else {
    --FTopLine;
  }
}

bool TTraceLines::LineDown(int& cursorRow, int rows) {
  const int row = cursorRow + 1;
  const int index = FTopLine + row;
  if (index < CACHE_LINES && FFrameLines[static_cast<std::size_t>(index)].Kind == FL_TRACEEND) return false;
  const int lastRow = CursorRows(rows) - 1;
  if (row <= lastRow) {
    cursorRow = row;
    return true;
  }
  cursorRow = std::max(lastRow, 0);
  if (FTopLine + cursorRow < SCROLL_LIMIT) {
    ++FTopLine;
  } else if (FFrameLines.back().Kind != FL_UNDECODED) {
    // A window taller than the cache has decoded it to its last entry, and
    // where decoding goes on after that entry is not kept: a dropped entry
    // would show that entry's frame twice. Decode afresh from the new top row.
    const int32_t frame = FFrameLines[static_cast<std::size_t>(FTopLine + 1)].FrameNumber;
    FTopLine = 0;
    Clear();
    FFrameLines[0].FrameNumber = frame;
  } else {
    std::copy(FFrameLines.begin() + 1, FFrameLines.end(), FFrameLines.begin());
    _framelinetype& last = FFrameLines.back();
    last.Kind = FL_UNDECODED;
    last.Continuation = 0;
    last.ByteCount = 0;
  }
  return true;
}

// Pages count from the top row, which after line downs is no longer entry 0.
void TTraceLines::PageUp(int rows) {
  FFrameLines[0].FrameNumber = FrameAfter(FFrameLines[static_cast<std::size_t>(FTopLine)].FrameNumber, -rows);
  FTopLine = 0;
  Clear();
}

void TTraceLines::PageDown(int rows) {
  bool endShown = false;
  for (int r = 0; r < rows && FTopLine + r < CACHE_LINES; ++r)
    endShown = endShown || FFrameLines[static_cast<std::size_t>(FTopLine + r)].Kind == FL_TRACEEND;
  if (!endShown) {
    const int32_t frame = FFrameLines[static_cast<std::size_t>(std::clamp(FTopLine + rows, 0, CACHE_LINES - 1))].FrameNumber;
    FTopLine = 0;
    Clear();
    FFrameLines[0].FrameNumber = frame;
  }
  FRestart = 1;
}
