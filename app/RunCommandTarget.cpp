#include "RunCommandTarget.h"

bool DispatchRunCommand(TRunCommandTarget& target, const TMessage& message) {
  switch (message.Msg) {
    case UM_TRACEINTO: target.TraceInto(); return true;
    case UM_STEPOVER: target.StepOver(); return true;
    case UM_TOGGLEBREAK: target.ToggleBreak(); return true;
    case UM_GOTOCURSOR: target.GoToCursor(); return true;
    case UM_GO: target.Go(); return true;
    default: return false;
  }
}
