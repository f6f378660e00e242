#pragma once
// A target that tests drive: link tarvik_scripted_engine instead of
// tarvik_engine and set ProtocolScript() before the engine objects are made.
// Memory, registers and breakpoints are the engine's own, as for the
// demonstration target.
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "Protocol.h"
#include "Tgtz80.h"

struct TScriptedEvent {
  uint8_t Action = 0;
  std::string Text;
};

struct TMemoryMapRun {
  uint32_t From = 0;
  uint32_t To = 0;
  uint8_t Setting = 0;
};

struct TMemoryMapWrite {
  uint32_t From = 0;
  uint32_t To = 0;
  uint8_t AreaMask = 0;
  uint8_t Bits = 0;
};

struct TBreakListCall {
  uint8_t Arm = 0;
  uint8_t Area = 0;
  std::vector<uint32_t> Addresses;
};

struct TMonitorBlock {
  uint32_t Address = 0;
  std::vector<uint8_t> Data;
};

struct TProtocolScript {
  // Poll answers in turn; STATUS_OK once they are used up.
  std::deque<uint16_t> PollResults;
  int PollCount = 0;
  std::string FirmwareVersion = "400";  // three characters

  // Where Reset, Go, GoTo and Step stop, in turn; the stop address becomes
  // the PC. Once they are used up GoTo stops where it was asked to, and the
  // others leave the PC and their out value as they are.
  std::deque<uint32_t> Stops;
  // "Reset", "Go", "GoTo 1234" (hex), "Step", in the order they came.
  std::vector<std::string> RunCalls;
  std::vector<TBreakListCall> BreakLists;

  // Optional feature tables; an empty one is reported absent.
  std::vector<uint8_t> HwLines;
  std::vector<uint8_t> CpuSettings;
  std::vector<uint8_t> Trace;
  std::vector<uint8_t> Areas;
  int CapabilityFills = 0;

  // What the Transfer operations read and write.
  std::vector<uint8_t> HwLineBitmap = std::vector<uint8_t>(256);
  std::vector<uint8_t> CpuSettingValues = std::vector<uint8_t>(256);
  std::vector<uint8_t> TraceConfig = std::vector<uint8_t>(256);

  // Frames beyond the end are not written.
  std::vector<TTraceFrame> TraceFrames;

  // Runs of the memory map; an address outside every run is not answered.
  std::vector<TMemoryMapRun> MemoryMap;
  std::vector<TMemoryMapWrite> MemoryMapWrites;

  // Target events by code; an unknown code gives an empty text.
  std::map<uint16_t, TScriptedEvent> Events;

  std::vector<TMonitorBlock> MonitorBlocks;
  bool MonitorEnded = false;

  std::vector<uint16_t> Log;
};

// The script the one TProtocol follows; assign {} to start afresh.
TProtocolScript& ProtocolScript();
