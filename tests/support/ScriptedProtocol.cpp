#include "ScriptedProtocol.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "TickCount.h"

TProtocolScript& ProtocolScript() {
  static TProtocolScript script;
  return script;
}

namespace {
TProtocolScript& S() { return ProtocolScript(); }

// Installed when the program starts, so the first transfer is seen too.
const bool transfersRecorded = [] {
  SetTransferRecorder([](const TMemoryTransfer& transfer) { S().Transfers.push_back(transfer); });
  return true;
}();

// direction 0 hands the stored bytes out (no more than are stored), 1 keeps
// count bytes from data.
uint16_t Transfer(uint8_t direction, std::vector<uint8_t>& stored, uint8_t* data, std::size_t count) {
  if (direction == 0)
    std::memcpy(data, stored.data(), std::min(count, stored.size()));
  else
    stored.assign(data, data + count);
  return STATUS_OK;
}
}  // namespace

uint16_t TProtocol::WriteBreakList(uint16_t count, uint8_t arm, uint8_t area, const uint32_t* addresses) {
  S().BreakLists.push_back({arm, area, std::vector<uint32_t>(addresses, addresses + count)});
  return STATUS_OK;
}

namespace {
// Stores a register the way the target keeps it: words high byte first.
void StoreRegister(TRegisterImage& store, const std::string& name, uint16_t value) {
  struct TPlace {
    const char* Name;
    std::size_t Offset;
    std::size_t Width;
  };
  static constexpr TPlace places[] = {
      {"AF", offsetof(TRegisterImage, AF), 2},   {"BC", offsetof(TRegisterImage, BC), 2},
      {"DE", offsetof(TRegisterImage, DE), 2},   {"HL", offsetof(TRegisterImage, HL), 2},
      {"IX", offsetof(TRegisterImage, IX), 2},   {"IY", offsetof(TRegisterImage, IY), 2},
      {"AF'", offsetof(TRegisterImage, AF_), 2}, {"BC'", offsetof(TRegisterImage, BC_), 2},
      {"DE'", offsetof(TRegisterImage, DE_), 2}, {"HL'", offsetof(TRegisterImage, HL_), 2},
      {"I", offsetof(TRegisterImage, I), 1},     {"SP", offsetof(TRegisterImage, SP), 2},
      {"PC", offsetof(TRegisterImage, PC), 2},   {"BANK", offsetof(TRegisterImage, BANK), 1},
  };
  for (const TPlace& place : places) {
    if (name != place.Name) continue;
    auto* bytes = reinterpret_cast<uint8_t*>(&store) + place.Offset;
    if (place.Width == 2) {
      bytes[0] = static_cast<uint8_t>(value >> 8);
      bytes[1] = static_cast<uint8_t>(value);
    } else {
      bytes[0] = static_cast<uint8_t>(value);
    }
    return;
  }
  throw std::out_of_range("no register " + name);
}

// Takes the next scripted stop into value and the target's registers; false
// when none is left.
bool NextStop(uint32_t& value, TRegisterImage& store) {
  if (S().Stops.empty()) return false;
  TScriptedStop stop = S().Stops.front();
  S().Stops.pop_front();
  value = stop.Address;
  for (const auto& [name, registerValue] : stop.Registers) StoreRegister(store, name, registerValue);
  StoreRegister(store, "PC", static_cast<uint16_t>(value));
  return true;
}
}  // namespace

uint16_t TProtocol::Reset(uint32_t& pc) {
  S().RunCalls.push_back("Reset");
  NextStop(pc, RegisterStore);
  InvalidateCache();
  return STATUS_OK;
}

uint16_t TProtocol::GoTo(uint32_t& address) {
  char call[32];
  std::snprintf(call, sizeof call, "GoTo %X", static_cast<unsigned>(address));
  S().RunCalls.push_back(call);
  if (!NextStop(address, RegisterStore)) StoreRegister(RegisterStore, "PC", static_cast<uint16_t>(address));
  InvalidateCache();
  return STATUS_OK;
}

uint16_t TProtocol::Go(uint32_t& pc, uint8_t) {
  S().RunCalls.push_back("Go");
  NextStop(pc, RegisterStore);
  InvalidateCache();
  return STATUS_OK;
}

uint16_t TProtocol::Step(uint32_t& pc) {
  S().RunCalls.push_back("Step");
  NextStop(pc, RegisterStore);
  AdvanceTestClock(S().TicksPerStep);
  InvalidateCache();
  return STATUS_OK;
}

uint16_t TProtocol::GetFirmwareVersion(char* version) {
  std::string v = S().FirmwareVersion;
  v.resize(3, ' ');
  std::memcpy(version, v.data(), 3);
  return STATUS_OK;
}

uint16_t TProtocol::GetCapabilities(TCapabilities*& out) {
  if (!Capabilities.Valid) {
    ++S().CapabilityFills;
    std::memset(&Capabilities, 0, sizeof Capabilities);
    Capabilities.Valid = 1;
    std::size_t used = 0;
    auto place = [&](const std::vector<uint8_t>& table) -> uint16_t {
      if (table.empty() || used + table.size() > sizeof Capabilities.Data) return NO_TABLE;
      std::memcpy(Capabilities.Data + used, table.data(), table.size());
      uint16_t offset = static_cast<uint16_t>(used);
      used += table.size();
      return offset;
    };
    Capabilities.HwLinesOffset = place(S().HwLines);
    Capabilities.CpuSettingsOffset = place(S().CpuSettings);
    Capabilities.TraceOffset = place(S().Trace);
    Capabilities.AreasOffset = place(S().Areas);
  }
  out = &Capabilities;
  return STATUS_OK;
}

uint16_t TProtocol::TransferHwLines(uint8_t direction, uint8_t, uint8_t* bitmap) {
  return Transfer(direction, S().HwLineBitmap, bitmap, 256);
}

uint16_t TProtocol::TransferCpuSettings(uint8_t direction, uint8_t valueCount, uint8_t* values) {
  return Transfer(direction, S().CpuSettingValues, values, valueCount);
}

uint16_t TProtocol::TransferTraceConfig(uint8_t direction, uint8_t byteCount, uint8_t* buffer) {
  if (direction == 0) return Transfer(direction, S().TraceConfig, buffer, byteCount);
  S().TraceCommands.emplace_back(buffer, buffer + byteCount);
  return STATUS_OK;
}

uint16_t TProtocol::ReadTraceFrame(int32_t frameNumber, TTraceFrame& out) {
  const std::vector<TTraceFrame>& frames = S().TraceFrames;
  if (S().EndlessTraceFrames) {
    if (frames.empty()) {
      out = TTraceFrame{};
      return STATUS_OK;
    }
    auto count = static_cast<int64_t>(frames.size());
    out = frames[static_cast<std::size_t>((frameNumber % count + count) % count)];
  } else if (frameNumber >= 0 && static_cast<std::size_t>(frameNumber) < frames.size()) {
    out = frames[static_cast<std::size_t>(frameNumber)];
  }
  return STATUS_OK;
}

uint16_t TProtocol::ReadMemoryMap(uint32_t from, uint8_t, uint32_t& to, uint8_t& setting) {
  for (const TMemoryMapRun& run : S().MemoryMap) {
    if (from == run.From || (from > run.From && from <= run.To)) {
      to = run.To;
      setting = run.Setting;
      break;
    }
  }
  return STATUS_OK;
}

uint16_t TProtocol::WriteMemoryMap(uint32_t from, uint32_t to, uint8_t areaMask, uint8_t bits) {
  S().MemoryMapWrites.push_back({from, to, areaMask, bits});
  return STATUS_OK;
}

uint16_t TProtocol::Poll(uint16_t) {
  ++S().PollCount;
  if (S().PollResults.empty()) return STATUS_OK;
  uint16_t result = S().PollResults.front();
  S().PollResults.pop_front();
  return result;
}

uint16_t TProtocol::GetWarning(uint16_t event, uint8_t& action, char* text, std::size_t textSize) {
  if (textSize == 0) return STATUS_OK;
  text[0] = '\0';
  auto found = S().Events.find(event);
  if (found == S().Events.end()) return STATUS_OK;
  action = found->second.Action;
  std::snprintf(text, textSize, "%s", found->second.Text.c_str());
  return STATUS_OK;
}

uint16_t TProtocol::WriteMonitor(uint32_t address, uint16_t length, const uint8_t* data) {
  if (address == 0 && length == 0 && data == nullptr) {
    S().MonitorEnded = true;
    return STATUS_OK;
  }
  S().MonitorBlocks.push_back({address, std::vector<uint8_t>(data, data + length)});
  bool refused = static_cast<int>(S().MonitorBlocks.size()) - 1 == S().RefusedMonitorBlock;
  return refused ? uint16_t{0} : STATUS_OK;
}

uint16_t TProtocol::GetLogCount() { return static_cast<uint16_t>(S().Log.size()); }

uint16_t TProtocol::GetLogEntry(uint16_t index) { return index < S().Log.size() ? S().Log[index] : 0; }
