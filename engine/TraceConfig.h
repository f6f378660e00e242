#pragma once
// The target's trace settings as the trace windows read and write them
// through TProtocol::TransferTraceConfig.
#include <cstdint>

// Trace switches, in the record and in the command.
enum : uint8_t {
  TRACE_EXTERNAL_CLOCK = 1,
  TRACE_EXTERNAL_TRIGGER = 2,
  TRACE_SAMPLING = 4,
  TRACE_COUNTER_TRIGGER = 8,
};

// The 10-byte record the target hands out, its words already in host order.
struct TTraceConfigRecord {
  uint16_t Counter = 0;
  uint16_t FramesAvailable = 0;  // as recorded
  uint16_t LastFrame = 0;
  uint16_t BufferSize = 0;  // in frames, a power of two
  uint8_t Switches = 0;
};

// The frames both windows show.
struct TTraceFrameRange {
  int32_t Available = 0;
  int32_t First = 0;
  int32_t Last = 0;
};

// Reads the record; a target that answers nothing gives zeros.
TTraceConfigRecord ReadTraceConfig();
TTraceFrameRange TraceFrameRange(const TTraceConfigRecord& record);

// The largest trace counter the target takes.
constexpr int32_t MAX_TRACE_COUNTER = 32767;
// Sends the 5-byte command; clear empties the trace buffer.
void WriteTraceConfig(uint16_t counter, uint8_t switches, bool clear);
