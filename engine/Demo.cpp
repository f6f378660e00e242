// The demonstration target: 64 KB of memory and one register set kept inside
// the program. Every operation succeeds, nothing runs, and every optional
// feature (hardware lines, CPU settings, trace, memory areas) is absent.
#include <cstring>

#include "Configuration.h"
#include "Protocol.h"
#include "Tgtz80.h"

TProtocol::TProtocol() {
  Capabilities.Valid = 0;
  TheCpu->SetRegistersValid(0);
}

TProtocol::~TProtocol() {
  Capabilities.Valid = 0;
  Breaks.Reset();
}

uint16_t TProtocol::ReadMemory(uint8_t, uint32_t address, uint8_t count, uint8_t* buffer) {
  Memory.Read(address, count, buffer);
  return STATUS_OK;
}

uint16_t TProtocol::ReadMemoryWrapped(uint8_t, uint32_t address, uint8_t count, uint8_t* buffer) {
  Memory.Read(address, count, buffer);
  return STATUS_OK;
}

uint16_t TProtocol::WriteMemory(uint8_t, uint32_t address, uint8_t count, const uint8_t* buffer) {
  Memory.Write(address, count, buffer);
  InvalidateCache();
  return STATUS_OK;
}

uint16_t TProtocol::ReadMemoryHex(uint8_t, uint32_t address, uint8_t count, char* text) {
  Memory.ReadHex(address, count, text);
  return STATUS_OK;
}

uint16_t TProtocol::WriteMemoryHex(uint8_t, uint32_t address, uint8_t count, const char* text) {
  Memory.WriteHex(address, count, text);
  InvalidateCache();
  return STATUS_OK;
}

uint16_t TProtocol::FillBlock(uint8_t, uint32_t address, uint32_t count, uint8_t patternLength,
                              const uint8_t* pattern) {
  Memory.Fill(address, count, patternLength, pattern);
  InvalidateCache();
  return STATUS_OK;
}

uint16_t TProtocol::CopyBlock(uint8_t, uint32_t sourceAddress, uint8_t, uint32_t destAddress, uint32_t count) {
  Memory.Copy(sourceAddress, destAddress, count);
  InvalidateCache();
  return STATUS_OK;
}

uint16_t TProtocol::WriteBreak(uint8_t mode, uint8_t area, uint32_t address) {
  return Breaks.Write(mode, area, address);
}

uint16_t TProtocol::ReadBreak(uint8_t area, uint32_t address, TBreakEntry& out) {
  return Breaks.Read(area, address, out);
}

uint16_t TProtocol::WriteBreakList(uint16_t, uint8_t, uint8_t, const uint32_t*) { return STATUS_OK; }

void TProtocol::ClearAllBreaks() { Breaks.Reset(); }

uint16_t TProtocol::ReadRegisters() {
  if (TheCpu->GetRegistersValid()) return STATUS_OK;
  TheCpu->SavePreviousRegisters();
  std::memcpy(TheCpu->GetRegisterImage(), &RegisterStore, TheCpu->GetRegisterImageSize());
  TheCpu->SwapRegisterImage();
  TheCpu->SetRegistersValid(1);
  return STATUS_OK;
}

uint16_t TProtocol::WriteRegisters() {
  TheCpu->SwapRegisterImage();
  std::memcpy(&RegisterStore, TheCpu->GetRegisterImage(), TheCpu->GetRegisterImageSize());
  TheCpu->SwapRegisterImage();
  TheCpu->SetRegistersValid(0);
  InvalidateCache();
  return STATUS_OK;
}

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

uint16_t TProtocol::ResetCapabilities() {
  Capabilities.Valid = 0;
  return STATUS_OK;
}

uint16_t TProtocol::TransferHwLines(uint8_t, uint8_t, uint8_t*) { return STATUS_OK; }
uint16_t TProtocol::TransferCpuSettings(uint8_t, uint8_t, uint8_t*) { return STATUS_OK; }
uint16_t TProtocol::TransferTraceConfig(uint8_t, uint8_t, uint8_t*) { return STATUS_OK; }
uint16_t TProtocol::ReadTraceFrame(int32_t, TTraceFrame&) { return STATUS_OK; }
uint16_t TProtocol::ReadMemoryMap(uint32_t, uint8_t, uint32_t&, uint8_t&) { return STATUS_OK; }
uint16_t TProtocol::WriteMemoryMap(uint32_t, uint32_t, uint8_t, uint8_t) { return STATUS_OK; }

uint16_t TProtocol::Poll(uint16_t) { return STATUS_OK; }

uint16_t TProtocol::ResetState() { return InvalidateCache(); }

uint16_t TProtocol::InvalidateCache() {
  TheCpu->SetRegistersValid(0);
  return STATUS_OK;
}

uint16_t TProtocol::GetWarning(uint16_t, uint8_t&, char* text, std::size_t textSize) {
  if (textSize > 0) text[0] = '\0';
  return STATUS_OK;
}

uint16_t TProtocol::WriteMonitor(uint32_t, uint16_t, const uint8_t*) { return STATUS_OK; }
uint16_t TProtocol::GetLogCount() { return 0; }
uint16_t TProtocol::GetLogEntry(uint16_t) { return 0; }
