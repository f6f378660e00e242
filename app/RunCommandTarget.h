#pragma once
#include "MessageBus.h"

// A window that carries out the stepping and breakpoint commands of the Run
// and Breakpoints menus: the CPU window at instruction level, the source
// window at source level. The main window's commands reach the one that
// RunCommandTarget() names; a window that also answers the messages
// UM_TRACEINTO, UM_STEPOVER, UM_TOGGLEBREAK, UM_GOTOCURSOR and UM_GO hands
// them on with DispatchRunCommand.
class TRunCommandTarget {
 public:
  TRunCommandTarget();
  virtual ~TRunCommandTarget();
  TRunCommandTarget(const TRunCommandTarget&) = delete;
  TRunCommandTarget& operator=(const TRunCommandTarget&) = delete;

  // Instruction level (the CPU window) comes before source level, the rest.
  virtual bool InstructionLevel() const { return false; }
  // Whether the commands may go here now: the CPU window only while it is
  // the active child window.
  virtual bool TakesRunCommands() const = 0;

  virtual void TraceInto() = 0;
  virtual void StepOver() = 0;
  virtual void ToggleBreak() = 0;
  virtual void GoToCursor() = 0;
  virtual void Go() = 0;
};

// The window the commands go to: an instruction-level window that takes them,
// otherwise a source-level one that does, otherwise none.
TRunCommandTarget* RunCommandTarget();

// Runs the command that message names; false for any other message.
bool DispatchRunCommand(TRunCommandTarget& target, const TMessage& message);
