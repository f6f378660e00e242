// Reading the target's trace frames: one frame per Z80 bus cycle.

#include <cstdio>
#include <cstring>

#include "Tgtz80.h"

namespace {

// Status bits are recorded inverted; these are the ones that name a cycle.
constexpr uint16_t CYCLE_STATUS_MASK = 0x386F;
constexpr uint16_t CYCLE_FETCH = 0x100A;
constexpr uint16_t CYCLE_READ_MEMORY = 0x000A;
constexpr uint16_t CYCLE_HALT_BIT = 0x2000;
constexpr uint16_t CYCLE_REFRESH_BIT = 0x0800;

uint16_t CycleCode(const TTraceFrame& frame) {
  const uint16_t status = static_cast<uint16_t>(frame.Status1 << 8 | frame.Status0);
  return (status & CYCLE_STATUS_MASK) ^ CYCLE_STATUS_MASK;
}

// Every name is 13 characters wide.
const char* CycleName(uint16_t code) {
  switch (code) {
    case CYCLE_FETCH:
      return "Fetch        ";
    case CYCLE_READ_MEMORY:
      return "Read memory  ";
    case 0x000C:
      return "Write memory ";
    case 0x0022:
      return "Read port    ";
    case 0x0024:
      return "Write port   ";
    case 0x1020:
      return "INTACK cicle ";
    default:
      break;
  }
  if (code & CYCLE_HALT_BIT) return "Halt         ";
  if (code & CYCLE_REFRESH_BIT) return "Refresh      ";
  return "Unknown      ";
}

}  // namespace

bool TCpu::IsEmptyFrame(const TTraceFrame& frame) const {
  return frame.Address == 0 && frame.Data == 0 && frame.Data2 == 0 && frame.Status0 == 0 && frame.ExtLines[0] == 0;
}

bool TCpu::IsFetchFrame(const TTraceFrame& frame) const {
  return !IsEmptyFrame(frame) && CycleCode(frame) == CYCLE_FETCH;
}

bool TCpu::IsCodeFrame(const TTraceFrame& frame) const {
  if (IsEmptyFrame(frame)) return false;
  const uint16_t code = CycleCode(frame);
  return code == CYCLE_FETCH || code == CYCLE_READ_MEMORY;
}

void TCpu::DecodeFrame(int32_t frameNumber, _framelinetype& line, const TTraceFrame& frame) const {
  if (IsEmptyFrame(frame)) {
    line.Kind = FL_TRACEEND;
    return;
  }
  line.FrameNumber = frameNumber;
  line.Continuation = 0;
  line.Address = frame.Address;
  line.CycleCode = CycleCode(frame);
  std::memcpy(line.ExtLines, frame.ExtLines, sizeof line.ExtLines);
  line.ByteCount = 1;
  line.Bytes[0] = frame.Data;
  line.Kind = IsCodeFrame(frame) ? FL_CODECYCLE : FL_CYCLE;
}

uint16_t TCpu::GetFrameByteCount(const TTraceFrame& /*frame*/) const { return 1; }

uint16_t TCpu::GetFrameByte(uint32_t expectedAddress, const TTraceFrame& frame, uint8_t& byte) const {
  if (frame.Address != expectedAddress) return 0;
  byte = frame.Data;
  return 1;
}

void TCpu::AdjustTraceInstruction(_framelinetype& /*line*/) const {}

void TCpu::FormatFrameLine(const _framelinetype& line, char* out) const {
  std::memset(out, ' ', FRAME_LINE_SIZE - 1);
  out[FRAME_LINE_SIZE - 1] = '\0';
  switch (line.Kind) {
    case FL_BLANK:
      return;
    case FL_INSTRUCTION:
      Disassemble(0x81, line.Address, line.Bytes, out, FRAME_LINE_SIZE, 0);
      return;
    case FL_TRACEEND: {
      constexpr char end[] = ">>>>>> Trace end <<<<<<";
      std::memcpy(out, end, sizeof end - 1);
      return;
    }
    default:
      break;
  }
  char lines[9];
  for (int bit = 0; bit < 8; ++bit) lines[bit] = (line.ExtLines[0] & (0x80 >> bit)) ? '1' : '0';
  lines[8] = '\0';
  // At most 7 + 2 + 8 + 4 + 13 + 8 + 1 characters: well inside the line.
  const int n = std::snprintf(out, FRAME_LINE_SIZE, "%+06d   %06X:%02X %s%s ", static_cast<int>(line.FrameNumber),
                              static_cast<unsigned>(line.Address), line.Bytes[0], CycleName(line.CycleCode), lines);
  if (n >= 0 && n < static_cast<int>(FRAME_LINE_SIZE)) out[n] = ' ';
}
