#pragma once
// Sets the target's state the way a test needs it before it looks: the PC,
// a word of data memory, a recorded trace frame.
#include <cstdint>

#include "Configuration.h"
#include "Protocol.h"
#include "Tgtz80.h"

inline void SetPC(uint16_t pc) {
  TheCpu->GetPC();
  TheCpu->SetPC(pc);
  TheProtocol->WriteRegisters();
}

// Low byte first, in the DATA area.
inline void SetWord(uint32_t address, uint16_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  TheProtocol->WriteMemory(2, address, 2, bytes);
}

enum TCycle { Fetch, Read, Write };

inline TTraceFrame Frame(TCycle cycle, uint32_t address, uint8_t data) {
  TTraceFrame frame{};
  frame.Address = address;
  frame.Data = data;
  frame.Status0 = cycle == Write ? 0x63 : 0x65;
  frame.Status1 = cycle == Fetch ? 0x28 : 0x38;
  return frame;
}
