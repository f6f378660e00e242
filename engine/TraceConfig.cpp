#include "TraceConfig.h"

#include "Configuration.h"
#include "Protocol.h"

namespace {

constexpr uint8_t RECORD_SIZE = 10;
constexpr uint8_t COMMAND_SIZE = 5;
constexpr uint8_t COMMAND_END = 0xFF;

uint16_t BigEndianWord(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]); }

}  // namespace

TTraceConfigRecord ReadTraceConfig() {
  uint8_t bytes[RECORD_SIZE] = {};
  TheProtocol->TransferTraceConfig(0, RECORD_SIZE, bytes);
  TTraceConfigRecord record;
  record.Counter = BigEndianWord(bytes);
  record.FramesAvailable = BigEndianWord(bytes + 2);
  record.LastFrame = BigEndianWord(bytes + 4);
  record.BufferSize = BigEndianWord(bytes + 6);
  record.Switches = bytes[8];
  return record;
}

TTraceFrameRange TraceFrameRange(const TTraceConfigRecord& record) {
  uint16_t available = record.FramesAvailable;
  // A buffer that has wrapped says so in the top bit; the rest counts on from its start.
  if (available > 0x7FFF) available = static_cast<uint16_t>(available & (record.BufferSize - 1));
  if (available > record.BufferSize || available < record.LastFrame) available = record.BufferSize;
  return {available, static_cast<int32_t>(record.LastFrame) - available, record.LastFrame};
}

void WriteTraceConfig(uint16_t counter, uint8_t switches, bool clear) {
  uint8_t command[COMMAND_SIZE] = {static_cast<uint8_t>(counter >> 8), static_cast<uint8_t>(counter), switches,
                                   static_cast<uint8_t>(clear ? 1 : 0), COMMAND_END};
  TheProtocol->TransferTraceConfig(1, COMMAND_SIZE, command);
}
