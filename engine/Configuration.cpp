#include "Configuration.h"

#include "Debug.h"
#include "Protocol.h"
#include "Symbols.h"
#include "Tgtz80.h"

TCpu* TheCpu = nullptr;
TProtocol* TheProtocol = nullptr;
TSymbols* TheSymbols = nullptr;
TDebug* TheDebug = nullptr;
TConfiguration* TheConfiguration = nullptr;

// TProtocol's constructor already uses TheCpu, so the CPU comes first.
TConfiguration::TConfiguration() {
  TheCpu = new TCpu;
  TheProtocol = new TProtocol;
  TheSymbols = new TSymbols;
  TheDebug = new TDebug;
  TheProtocol->ResetCapabilities();
}

TConfiguration::~TConfiguration() {
  delete TheDebug;
  delete TheSymbols;
  delete TheCpu;
  delete TheProtocol;
}
