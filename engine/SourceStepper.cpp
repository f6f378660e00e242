#include "SourceStepper.h"

#include <vector>

#include "Configuration.h"
#include "Debug.h"
#include "MessageBox.h"
#include "Protocol.h"
#include "Symbols.h"
#include "Tgtz80.h"
#include "TickCount.h"

namespace {

// Line kinds as the object file records them.
constexpr uint8_t KIND_NO_STOP_1 = 5;
constexpr uint8_t KIND_NO_STOP_2 = 6;
constexpr uint8_t KIND_STEP_ON_1 = 9;
constexpr uint8_t KIND_STEP_ON_2 = 13;

// Code is read and lines are armed in the code area, program-code flag set.
constexpr uint8_t CODE_AREA = 0x81;

bool IsStoppingPoint(uint8_t kind) { return kind != KIND_NO_STOP_1 && kind != KIND_NO_STOP_2; }
bool StepsOn(uint8_t kind) { return kind == KIND_STEP_ON_1 || kind == KIND_STEP_ON_2; }

uint32_t SymbolValue(const std::string& name) {
  const TSymbolRecord* symbol = TheSymbols->FindByName(name.c_str(), false);
  return symbol ? symbol->Value : 0xFFFFFFFF;
}

void Warning(const char* text) { MessageBox(text, "WARNING", MB_OK | MB_ICONWARNING); }

const char* const AtExitAddress = "Cannot execute command because the CPU reached EXIT address !";

}  // namespace

uint32_t SourcePC() { return TheCpu->CurrentBankAddress(0, TheCpu->GetPC()); }

TSourceStepper::TSourceStepper() {
  if (!TheDebug->GetLoadedFile(nullptr, nullptr, nullptr)) FStartPending = 1;
  FExitAddress = SymbolValue(TheDebug->ExitProcName);
  FMainAddress = SymbolValue(TheDebug->MainProcName);
}

bool TSourceStepper::TraceInto() {
  if (RefusedAtExit("Cannot execute command because the CPU reached EXIT label!")) return false;
  const uint32_t pc = SourcePC();
  const TLineEntry* line = TheDebug->FindLineByAddress(pc);
  if (RanToMain(line)) return true;
  if (line && line->LineKind == LINE_KIND_NONE) {
    uint32_t stop = pc;
    TheProtocol->Step(stop);
  } else {
    StepToNextLine();
  }
  return true;
}

bool TSourceStepper::StepOver() {
  if (RefusedAtExit(AtExitAddress)) return false;
  const uint32_t pc = SourcePC();
  const TLineEntry* line = TheDebug->FindLineByAddress(pc);
  const TScopeEntry* scope = TheDebug->GetCurrentScope();
  if (RanToMain(line)) return true;
  if (!line || StepsOn(line->LineKind)) {
    StepToNextLine();
    return true;
  }
  if (line->LineKind != LINE_KIND_NONE && scope && scope->EndAddress == line->Address) {
    // The function's last line returns to the caller: step out line by line.
    StepToNextLine();
    return true;
  }
  if (line->LineKind == LINE_KIND_NONE) {
    uint8_t code[8] = {};
    TheProtocol->ReadMemory(CODE_AREA, pc, TheCpu->MaxInstrSize, code);
    uint32_t target = 0;
    if (TheCpu->GetCallTarget(code, pc, target) == 2)
      RunTo(pc + 3);
    else
      StepToNextLine();
    return true;
  }
  line = TheDebug->FindLineByAddress(pc);
  const uint32_t lineNumber = line->Line;
  const TLineEntry* next = TheDebug->NextLine();
  const bool stepOn = next && StepsOn(next->LineKind) && next->Line == lineNumber;
  ArmLineBreaks(pc);
  RunGo(0);
  DisarmLineBreaks(false);
  if (stepOn) StepToNextLine();
  return true;
}

bool TSourceStepper::Go() {
  if (RefusedAtExit(AtExitAddress)) return false;
  DisarmLineBreaks(true);
  RunGo(1);
  FStartPending = 0;
  return true;
}

bool TSourceStepper::GoToCursor(uint16_t module, uint32_t line) {
  if (RefusedAtExit(AtExitAddress)) return false;
  const TLineEntry* entry =
      module == 0xFFFF || line == 0 ? nullptr : TheDebug->FindLineByNumber(static_cast<int16_t>(module), line - 1);
  if (entry) {
    const uint32_t address = entry->Address;
    // Stepping's breakpoints would stop the run before the line.
    DisarmLineBreaks(true);
    RunTo(address);
  }
  return true;
}

void TSourceStepper::TargetReset() {
  DisarmLineBreaks(true);
  FStartPending = 1;
}

bool TSourceStepper::RefusedAtExit(const char* text) const {
  if (!AtExit(SourcePC())) return false;
  Warning(text);
  return true;
}

// The first step after a reset starts the program at its main procedure,
// unless the object file recorded no line kinds there.
bool TSourceStepper::RanToMain(const TLineEntry* line) {
  if (FStartPending == 0) return false;
  FStartPending = 0;
  if (line && line->LineKind == LINE_KIND_NONE) return false;
  const TSymbolRecord* main = TheSymbols->FindByName(TheDebug->MainProcName.c_str(), false);
  if (main)
    RunTo(main->Value);
  else
    Warning("'main' function not found!\nCannot execute startup automatically.");
  return true;
}

uint32_t TSourceStepper::RunTo(uint32_t address) {
  uint32_t stop = address;
  TheProtocol->GoTo(stop);
  if (AtExit(TheCpu->CurrentBankAddress(0, stop))) Warning("The CPU reached EXIT address !");
  return stop;
}

uint32_t TSourceStepper::RunGo(uint8_t mode) {
  uint32_t stop = SourcePC();
  TheProtocol->Go(stop, mode);
  if (AtExit(TheCpu->CurrentBankAddress(0, stop))) Warning("The CPU reached EXIT address !");
  return stop;
}

void TSourceStepper::StepToNextLine() {
  uint32_t pc = SourcePC();
  const uint32_t start = pc;
  int calls = 0;
  const uint32_t deadline = GetTickCount() + StepTimeout;
  for (;;) {
    uint8_t code[6] = {};
    TheProtocol->ReadMemory(CODE_AREA, pc, sizeof code, code);
    uint32_t target = 0;
    const bool linelessCall = TheCpu->GetCallTarget(code, pc, target) == 2 && !TheDebug->FindLineByAddress(target);
    // A target that hands back no address has not moved.
    uint32_t stop = pc;
    bool lastRound = false;
    if (linelessCall && calls == 5) {
      // Five calls without lines deep: let the target run back to a statement.
      if (TheDebug->FindScopeByAddress(start)) {
        ArmLineBreaks(start);
        stop = RunGo(0);
        lastRound = !TheDebug->FindLineByAddress(TheCpu->CurrentBankAddress(0, stop));
      }
      calls = 6;
    } else {
      TheProtocol->Step(stop);
      if (linelessCall && calls < 5) ++calls;
    }
    pc = TheCpu->CurrentBankAddress(0, stop);
    const TLineEntry* line = TheDebug->FindLineByAddress(pc);
    if (lastRound || (line && IsStoppingPoint(line->LineKind)) || (!line && AtExit(pc))) break;
    if (static_cast<int32_t>(GetTickCount() - deadline) > 0) break;
  }
}

bool TSourceStepper::InArmedScope() const {
  const uint32_t pc = SourcePC();
  return FArmedScope && FArmedScope->StartAddress <= pc && pc <= FArmedScope->EndAddress;
}

void TSourceStepper::ArmLineBreaks(uint32_t address) {
  if (FLineBreaksArmed == 1) {
    if (InArmedScope()) return;
    DisarmLineBreaks(false);
  }
  FArmedScope = TheDebug->FindScopeByAddress(address);
  if (FArmedScope && WriteLineBreaks(1)) FLineBreaksArmed = 1;
}

void TSourceStepper::DisarmLineBreaks(bool forced) {
  if (FLineBreaksArmed == 0) return;
  if (!forced && InArmedScope()) return;
  WriteLineBreaks(0);
  FLineBreaksArmed = 0;
}

// Every statement of the armed scope after its entry point, up to the entry
// at its end address or the end of the line table, whichever comes first.
bool TSourceStepper::WriteLineBreaks(uint8_t arm) {
  const TLineEntry* entry = TheDebug->FindLineByAddress(FArmedScope->StartAddress);
  if (!entry) return false;
  const uint8_t area = entry->Area;
  const uint32_t end = FArmedScope->EndAddress;
  std::vector<uint32_t> batch;
  batch.reserve(BreakBatch);
  auto send = [&] {
    if (batch.empty()) return;
    TheProtocol->WriteBreakList(static_cast<uint16_t>(batch.size()), arm, area, batch.data());
    batch.clear();
  };
  for (const TLineEntry* line = TheDebug->NextLine(); line; line = TheDebug->NextLine()) {
    const uint32_t address = line->Address;  // packed: copied, never bound
    if (IsStoppingPoint(line->LineKind)) batch.push_back(address);
    if (batch.size() == BreakBatch) send();
    if (address == end) break;
  }
  send();
  return true;
}
