#include "RunCommandTarget.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<TRunCommandTarget*>& Targets() {
  static std::vector<TRunCommandTarget*> targets;
  return targets;
}

}  // namespace

TRunCommandTarget::TRunCommandTarget() { Targets().push_back(this); }

TRunCommandTarget::~TRunCommandTarget() { std::erase(Targets(), this); }

TRunCommandTarget* RunCommandTarget() {
  for (bool instructionLevel : {true, false})
    for (TRunCommandTarget* target : Targets())
      if (target->InstructionLevel() == instructionLevel && target->TakesRunCommands()) return target;
  return nullptr;
}

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
