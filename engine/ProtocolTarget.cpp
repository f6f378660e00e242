// What every back end does alike with the state TProtocol keeps inside the
// program: memory through the image, registers through TCpu, breakpoints
// through the table, and the caches that a change on the target makes stale.
#include <cstring>
#include <utility>

#include "Configuration.h"
#include "Protocol.h"
#include "Tgtz80.h"

namespace {
TTransferRecorder& Recorder() {
  static TTransferRecorder recorder;
  return recorder;
}

void Record(TTransferKind kind, uint8_t area, uint32_t address, uint32_t count) {
  if (Recorder()) Recorder()({kind, area, address, count});
}
}  // namespace

TTransferRecorder SetTransferRecorder(TTransferRecorder recorder) { return std::exchange(Recorder(), std::move(recorder)); }

TProtocol::TProtocol() {
  Capabilities.Valid = 0;
  TheCpu->SetRegistersValid(0);
}

TProtocol::~TProtocol() {
  Capabilities.Valid = 0;
  Breaks.Reset();
}

uint16_t TProtocol::ReadMemory(uint8_t area, uint32_t address, uint8_t count, uint8_t* buffer) {
  Record(TTransferKind::Read, area, address, count);
  Memory.Read(address, count, buffer);
  return STATUS_OK;
}

uint16_t TProtocol::ReadMemoryWrapped(uint8_t area, uint32_t address, uint8_t count, uint8_t* buffer) {
  return ReadMemory(area, address, count, buffer);
}

uint16_t TProtocol::WriteMemory(uint8_t area, uint32_t address, uint8_t count, const uint8_t* buffer) {
  Record(TTransferKind::Write, area, address, count);
  Memory.Write(address, count, buffer);
  return InvalidateCache();
}

uint16_t TProtocol::ReadMemoryHex(uint8_t area, uint32_t address, uint8_t count, char* text) {
  Record(TTransferKind::ReadHex, area, address, count);
  Memory.ReadHex(address, count, text);
  return STATUS_OK;
}

uint16_t TProtocol::WriteMemoryHex(uint8_t area, uint32_t address, uint8_t count, const char* text) {
  Record(TTransferKind::WriteHex, area, address, count);
  Memory.WriteHex(address, count, text);
  return InvalidateCache();
}

uint16_t TProtocol::FillBlock(uint8_t area, uint32_t address, uint32_t count, uint8_t patternLength,
                              const uint8_t* pattern) {
  Record(TTransferKind::Fill, area, address, count);
  Memory.Fill(address, count, patternLength, pattern);
  return InvalidateCache();
}

uint16_t TProtocol::CopyBlock(uint8_t, uint32_t sourceAddress, uint8_t destArea, uint32_t destAddress,
                              uint32_t count) {
  Record(TTransferKind::Copy, destArea, destAddress, count);
  Memory.Copy(sourceAddress, destAddress, count);
  return InvalidateCache();
}

uint16_t TProtocol::WriteBreak(uint8_t mode, uint8_t area, uint32_t address) {
  return Breaks.Write(mode, area, address);
}

uint16_t TProtocol::ReadBreak(uint8_t area, uint32_t address, TBreakEntry& out) {
  return Breaks.Read(area, address, out);
}

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
  return InvalidateCache();
}

uint16_t TProtocol::ResetCapabilities() {
  Capabilities.Valid = 0;
  return STATUS_OK;
}

uint16_t TProtocol::ResetState() { return InvalidateCache(); }

uint16_t TProtocol::InvalidateCache() {
  TheCpu->SetRegistersValid(0);
  return STATUS_OK;
}
