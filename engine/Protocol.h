#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

#include "BreakTable.h"
#include "MemoryImage.h"
#include "RegisterImage.h"

struct TTraceFrame;

// Every target operation returns this status on success (-128 as int16_t).
constexpr uint16_t STATUS_OK = 0xFF80;

#pragma pack(push, 1)
// What the target offers beyond memory, registers and run control. Each
// offset counts from Data; NO_TABLE marks a feature the target lacks.
struct TCapabilities {
  uint8_t Valid;  // 0: filled afresh before it is handed out
  uint16_t Reserved;
  uint16_t HwLinesOffset;
  uint16_t CpuSettingsOffset;
  uint16_t TraceOffset;
  uint16_t AreasOffset;
  uint8_t Data[1024];
};
#pragma pack(pop)

static_assert(sizeof(TCapabilities) == 1035);
static_assert(offsetof(TCapabilities, Valid) == 0);
static_assert(offsetof(TCapabilities, Reserved) == 1);
static_assert(offsetof(TCapabilities, HwLinesOffset) == 3);
static_assert(offsetof(TCapabilities, CpuSettingsOffset) == 5);
static_assert(offsetof(TCapabilities, TraceOffset) == 7);
static_assert(offsetof(TCapabilities, AreasOffset) == 9);
static_assert(offsetof(TCapabilities, Data) == 11);

constexpr uint16_t NO_TABLE = 0xFFFF;

// Target event actions that GetWarning reports.
enum : uint8_t {
  EVENT_RESET = 2,
  EVENT_REFRESH = 3,
  EVENT_REFRESH_ALL = 4,
  EVENT_RELOAD_MONITOR = 5,
  EVENT_STOPPED = 6,
};

// A memory operation as it went to the target: the destination of a copy,
// the first address of the others, and the bytes it covers.
enum class TTransferKind : uint8_t { Read, Write, ReadHex, WriteHex, Fill, Copy };
struct TMemoryTransfer {
  TTransferKind Kind;
  uint8_t Area;
  uint32_t Address;
  uint32_t Count;
};

// Tests watch the memory traffic of every back end through this hook;
// without one nothing is recorded. Returns the recorder it replaces.
using TTransferRecorder = std::function<void(const TMemoryTransfer&)>;
TTransferRecorder SetTransferRecorder(TTransferRecorder recorder);

// The one object through which the program reads and changes the target.
// Which back end stands behind it is chosen when the program is built: the
// demonstration target keeps memory and registers inside the program and
// runs nothing. Every operation returns STATUS_OK on success; the breakpoint
// operations return a table index or NO_BREAK.
class TProtocol {
 public:
  TProtocol();
  ~TProtocol();
  TProtocol(const TProtocol&) = delete;
  TProtocol& operator=(const TProtocol&) = delete;

  // ---- Memory: the area is ignored; transfers wrap from 0xFFFF to 0 ----
  uint16_t ReadMemory(uint8_t area, uint32_t address, uint8_t count, uint8_t* buffer);
  uint16_t ReadMemoryWrapped(uint8_t area, uint32_t address, uint8_t count, uint8_t* buffer);
  uint16_t WriteMemory(uint8_t area, uint32_t address, uint8_t count, const uint8_t* buffer);
  // 2 x count upper-case hex digits, no terminator.
  uint16_t ReadMemoryHex(uint8_t area, uint32_t address, uint8_t count, char* text);
  // count pairs of hex digits, one byte each.
  uint16_t WriteMemoryHex(uint8_t area, uint32_t address, uint8_t count, const char* text);
  // Repeats the pattern over count bytes; an empty pattern writes nothing.
  uint16_t FillBlock(uint8_t area, uint32_t address, uint32_t count, uint8_t patternLength, const uint8_t* pattern);
  // Byte by byte from the lowest address up (an overlapping upward copy smears).
  uint16_t CopyBlock(uint8_t sourceArea, uint32_t sourceAddress, uint8_t destArea, uint32_t destAddress,
                     uint32_t count);

  // ---- Breakpoints -----------------------------------------------------
  // mode is a TBreakMode; above 4 it only looks the address up.
  uint16_t WriteBreak(uint8_t mode, uint8_t area, uint32_t address);
  uint16_t ReadBreak(uint8_t area, uint32_t address, TBreakEntry& out);
  // Arms (1) or disarms (0) temporary breakpoints at a list of addresses.
  uint16_t WriteBreakList(uint16_t count, uint8_t arm, uint8_t area, const uint32_t* addresses);
  void ClearAllBreaks();

  // ---- Registers and run control ---------------------------------------
  // Reads into TheCpu's image unless it is valid already.
  uint16_t ReadRegisters();
  uint16_t WriteRegisters();
  uint16_t Reset(uint32_t& pc);
  // address: in, where to stop; out, where the target stopped.
  uint16_t GoTo(uint32_t& address);
  uint16_t Go(uint32_t& pc, uint8_t mode);
  uint16_t Step(uint32_t& pc);

  // ---- Target description and optional features -----------------------
  // Three characters, no terminator.
  uint16_t GetFirmwareVersion(char* version);
  uint16_t GetCapabilities(TCapabilities*& out);
  uint16_t ResetCapabilities();
  // direction 0 reads, 1 writes.
  uint16_t TransferHwLines(uint8_t direction, uint8_t lineCount, uint8_t* bitmap);
  uint16_t TransferCpuSettings(uint8_t direction, uint8_t valueCount, uint8_t* values);
  uint16_t TransferTraceConfig(uint8_t direction, uint8_t byteCount, uint8_t* buffer);
  uint16_t ReadTraceFrame(int32_t frameNumber, TTraceFrame& out);
  uint16_t ReadMemoryMap(uint32_t from, uint8_t areaMask, uint32_t& to, uint8_t& setting);
  uint16_t WriteMemoryMap(uint32_t from, uint32_t to, uint8_t areaMask, uint8_t bits);

  // ---- Connection, events, monitor and log -----------------------------
  uint16_t Poll(uint16_t mode);
  uint16_t ResetState();
  uint16_t InvalidateCache();
  // Decodes a target event into an action and a terminated warning text of
  // at most textSize - 1 characters; the action stays as the caller set it
  // when the event asks for none.
  uint16_t GetWarning(uint16_t event, uint8_t& action, char* text, std::size_t textSize);
  // The call with address 0, length 0 and no data ends the download.
  uint16_t WriteMonitor(uint32_t address, uint16_t length, const uint8_t* data);
  uint16_t GetLogCount();
  // High byte the direction, low byte the character.
  uint16_t GetLogEntry(uint16_t index);

 private:
  // Every back end keeps this state; the operations that use it alike are in
  // ProtocolTarget.cpp.
  TBreakTable Breaks;
  TCapabilities Capabilities{};
  TMemoryImage Memory;
  // The target's copy of the registers, every word high byte first.
  TRegisterImage RegisterStore{};
};
