#include "SourceGutter.h"

#include "Configuration.h"
#include "Debug.h"
#include "Protocol.h"
#include "SourceStepper.h"

namespace {

constexpr uint16_t NO_MODULE = 0xFFFF;

const TLineEntry* CodeOfLine(uint16_t module, uint32_t line) {
  if (module == NO_MODULE || line == 0) return nullptr;
  return TheDebug->FindLineByNumber(static_cast<int16_t>(module), line - 1);
}

}  // namespace

int32_t SourceExecutionLine(uint16_t module) {
  if (module == NO_MODULE) return -1;
  const uint32_t pc = SourcePC();
  const TLineEntry* entry = TheDebug->FindLineByAddress(pc);
  if (!entry || entry->Address != pc) return -1;
  const TScopeEntry* scope = TheDebug->GetCurrentScope();
  if (!scope || static_cast<uint16_t>(scope->ModuleNumber) != module) return -1;
  return SourceTextLine(entry->Line);
}

TLineGlyph SourceLineGlyph(uint16_t module, uint32_t line) {
  const TLineEntry* entry = CodeOfLine(module, line);
  if (!entry) return TLineGlyph::None;
  TBreakEntry state;
  TheProtocol->ReadBreak(entry->Area, entry->Address, state);
  if (state.State == BREAK_ENABLED) return TLineGlyph::Break;
  if (state.State == BREAK_DISABLED) return TLineGlyph::Disabled;
  return TLineGlyph::Code;
}

TToggleResult ToggleSourceBreak(uint16_t module, uint32_t line) {
  const TLineEntry* entry = CodeOfLine(module, line);
  if (!entry) return TToggleResult::NoCode;
  if (TheProtocol->WriteBreak(BREAK_TOGGLE, entry->Area, entry->Address) == NO_BREAK) return TToggleResult::TableFull;
  return TToggleResult::Toggled;
}
