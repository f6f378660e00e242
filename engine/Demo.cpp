// The demonstration target's own answers. Its memory, registers and
// breakpoints are the ones every back end keeps inside the program
// (ProtocolTarget.cpp); here every operation succeeds, nothing runs, and every
// optional feature (hardware lines, CPU settings, trace, memory areas) is absent.
#include <cstring>

#include "Protocol.h"

uint16_t TProtocol::WriteBreakList(uint16_t, uint8_t, uint8_t, const uint32_t*) { return STATUS_OK; }

uint16_t TProtocol::Reset(uint32_t&) { return STATUS_OK; }
uint16_t TProtocol::GoTo(uint32_t&) { return STATUS_OK; }
uint16_t TProtocol::Go(uint32_t&, uint8_t) { return STATUS_OK; }
uint16_t TProtocol::Step(uint32_t&) { return STATUS_OK; }

uint16_t TProtocol::GetFirmwareVersion(char* version) {
  std::memcpy(version, "400", 3);
  return STATUS_OK;
}

uint16_t TProtocol::GetCapabilities(TCapabilities*& out) {
  if (!Capabilities.Valid) {
    Capabilities.Valid = 1;
    Capabilities.Reserved = 0;
    Capabilities.HwLinesOffset = NO_TABLE;
    Capabilities.CpuSettingsOffset = NO_TABLE;
    Capabilities.TraceOffset = NO_TABLE;
    Capabilities.AreasOffset = NO_TABLE;
  }
  out = &Capabilities;
  return STATUS_OK;
}

uint16_t TProtocol::TransferHwLines(uint8_t, uint8_t, uint8_t*) { return STATUS_OK; }
uint16_t TProtocol::TransferCpuSettings(uint8_t, uint8_t, uint8_t*) { return STATUS_OK; }
uint16_t TProtocol::TransferTraceConfig(uint8_t, uint8_t, uint8_t*) { return STATUS_OK; }
uint16_t TProtocol::ReadTraceFrame(int32_t, TTraceFrame&) { return STATUS_OK; }
uint16_t TProtocol::ReadMemoryMap(uint32_t, uint8_t, uint32_t&, uint8_t&) { return STATUS_OK; }
uint16_t TProtocol::WriteMemoryMap(uint32_t, uint32_t, uint8_t, uint8_t) { return STATUS_OK; }

uint16_t TProtocol::Poll(uint16_t) { return STATUS_OK; }

uint16_t TProtocol::GetWarning(uint16_t, uint8_t&, char* text, std::size_t textSize) {
  if (textSize > 0) text[0] = '\0';
  return STATUS_OK;
}

uint16_t TProtocol::WriteMonitor(uint32_t, uint16_t, const uint8_t*) { return STATUS_OK; }
uint16_t TProtocol::GetLogCount() { return 0; }
uint16_t TProtocol::GetLogEntry(uint16_t) { return 0; }
