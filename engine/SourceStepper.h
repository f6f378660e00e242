#pragma once
// Run control at source level, for the source window: trace into and step
// over by source line, go, and the temporary line breakpoints that stepping
// arms on a function's statements. Each command that may post its stop
// returns true; false means it refused (at the exit procedure) and nothing
// happened.
#include <cstdint>

#include "ReaderTables.h"

class TSourceStepper {
 public:
  // Looks the main and exit procedures up once; a stepper made before any
  // object file was loaded starts by running to the main procedure.
  TSourceStepper();

  bool TraceInto();
  bool StepOver();
  bool Go();
  // Runs to the first code address of the 1-based line of the module, when
  // it has one.
  bool GoToCursor(uint16_t module, uint32_t line);

  // After a target reset: the temporary breakpoints go and the next step
  // runs to the main procedure first.
  void TargetReset();
  // Someone else stopped the target: no run to the main procedure any more.
  void Stopped() { FStartPending = 0; }
  // Removes the temporary breakpoints; unforced only once the PC has left
  // their function.
  void DisarmLineBreaks(bool forced);

  uint32_t MainAddress() const { return FMainAddress; }
  bool StartPending() const { return FStartPending != 0; }

  // How long the single-step loop may look for the next line.
  static constexpr uint32_t StepTimeout = 3000;
  // Addresses per WriteBreakList call.
  static constexpr uint16_t BreakBatch = 255;

 private:
  bool AtExit(uint32_t address) const { return address == FExitAddress; }
  // At the exit procedure a command shows the text and does nothing else.
  bool RefusedAtExit(const char* text) const;
  bool RanToMain(const TLineEntry* line);
  uint32_t RunTo(uint32_t address);
  uint32_t RunGo(uint8_t mode);
  void StepToNextLine();
  void ArmLineBreaks(uint32_t address);
  bool WriteLineBreaks(uint8_t arm);
  bool InArmedScope() const;

  uint8_t FStartPending = 0;
  uint8_t FLineBreaksArmed = 0;
  TScopeEntry* FArmedScope = nullptr;
  uint32_t FExitAddress = 0xFFFFFFFF;
  uint32_t FMainAddress = 0xFFFFFFFF;
};

// The PC as the source window compares it with line entries.
uint32_t SourcePC();
