#pragma once
// A target that tests drive: link tarvik_scripted_engine instead of
// tarvik_engine and set ProtocolScript() before the engine objects are made.
// Memory, registers and breakpoints are the engine's own, as for the
// demonstration target.
//
// What a window test usually needs:
//   ProtocolScript() = {};                         // a fresh script per test
//   ProtocolScript().Stops = {0x0103, {0x0200, {{"SP", 0xFFF0}}}};
//   ProtocolScript().RefusedMonitorBlock = 1;     // the second block fails
//   ProtocolScript().TicksPerStep = 600;          // with UseTestClock(true)
//   ProtocolScript().EndlessTraceFrames = true;   // every frame number answers
//   ... run the code under test ...
//   ProtocolScript().Transfers                    // every memory transfer, in turn
//   ProtocolScript().TraceCommands                // every trace command written
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Protocol.h"
#include "Tgtz80.h"

struct TScriptedEvent {
  uint8_t Action = 0;
  std::string Text;
};

// Where a run command stops and what the target's registers hold then.
// Registers are named as the register view names them ("AF", "BC", "DE",
// "HL", "IX", "IY", "AF'", "BC'", "DE'", "HL'", "I", "SP", "BANK"); the PC is
// the stop address. An unknown name throws std::out_of_range at the stop.
struct TScriptedStop {
  TScriptedStop(uint32_t address) : Address(address) {}
  TScriptedStop(uint32_t address, std::map<std::string, uint16_t> registers)
      : Address(address), Registers(std::move(registers)) {}
  uint32_t Address;
  std::map<std::string, uint16_t> Registers;
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
  std::deque<TScriptedStop> Stops;
  // Each Step moves the test clock on by this many milliseconds.
  uint32_t TicksPerStep = 0;
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
  // Reading the trace configuration hands these bytes out; writing one
  // leaves them as they are and logs the command in TraceCommands.
  std::vector<uint8_t> TraceConfig = std::vector<uint8_t>(256);
  std::vector<std::vector<uint8_t>> TraceCommands;

  // Frames beyond the end are not written, unless the frames are endless:
  // then every frame number answers, frame n with TraceFrames[n modulo their
  // count] (negative n too), or with an all-zero frame when there are none.
  std::vector<TTraceFrame> TraceFrames;
  bool EndlessTraceFrames = false;

  // Runs of the memory map; an address outside every run is not answered. A
  // run answers for its first address even when it ends below it.
  std::vector<TMemoryMapRun> MemoryMap;
  std::vector<TMemoryMapWrite> MemoryMapWrites;

  // Target events by code; an unknown code gives an empty text.
  std::map<uint16_t, TScriptedEvent> Events;

  // Every block offered, the refused one too; the block with this index
  // (counting from 0) fails with a status other than STATUS_OK.
  std::vector<TMonitorBlock> MonitorBlocks;
  int RefusedMonitorBlock = -1;
  bool MonitorEnded = false;

  // Every memory transfer through the engine, in the order they came.
  std::vector<TMemoryTransfer> Transfers;

  std::vector<uint16_t> Log;
};

// The script the one TProtocol follows; assign {} to start afresh.
TProtocolScript& ProtocolScript();
