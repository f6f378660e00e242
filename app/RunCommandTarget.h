#pragma once
#include "MessageBus.h"

// A window that carries out the stepping and breakpoint commands of the Run
// and Breakpoints menus: the CPU window at instruction level, the source
// window at source level. The main window sends each command as its message
// (UM_TRACEINTO, UM_STEPOVER, UM_TOGGLEBREAK, UM_GOTOCURSOR, UM_GO) to the CPU
// window when it takes them, otherwise to the source window; the window's
// Dispatch hands the message on with DispatchRunCommand.
class TRunCommandTarget {
 public:
  virtual ~TRunCommandTarget() = default;

  // Whether the commands go here before they go to the source window: the
  // CPU window only while it is the active child window.
  virtual bool TakesRunCommands() const = 0;

  virtual void TraceInto() = 0;
  virtual void StepOver() = 0;
  virtual void ToggleBreak() = 0;
  virtual void GoToCursor() = 0;
  virtual void Go() = 0;
};

// Runs the command that message names; false for any other message.
bool DispatchRunCommand(TRunCommandTarget& target, const TMessage& message);
