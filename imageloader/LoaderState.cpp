#include "LoaderState.h"

void TLoaderState::ResetForFile(const std::string& path) {
  Path = path;
  Phase = 0;
  UpperAddress = 0;
  BinaryOffset = 0;
  InSection = false;
  Lines.Reset();
  LinePosition = 0;
  LinePending = false;
}

TLoaderState& State() {
  static TLoaderState state;
  return state;
}
