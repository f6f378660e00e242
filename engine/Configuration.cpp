#include "Configuration.h"

#include "Protocol.h"
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
  TheProtocol->ResetCapabilities();
}

TConfiguration::~TConfiguration() {
  delete TheCpu;
  delete TheProtocol;
}
