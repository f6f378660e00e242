#pragma once

class TCpu;
class TProtocol;
class TSymbols;
class TDebug;

// Creates the four engine objects at start-up and deletes them at the end.
class TConfiguration {
 public:
  TConfiguration();
  ~TConfiguration();
  TConfiguration(const TConfiguration&) = delete;
  TConfiguration& operator=(const TConfiguration&) = delete;
};

// Set only by TConfiguration; they keep their values after it is deleted.
extern TCpu* TheCpu;
extern TProtocol* TheProtocol;
extern TSymbols* TheSymbols;
extern TDebug* TheDebug;

// The holder, set by the entry point.
extern TConfiguration* TheConfiguration;
