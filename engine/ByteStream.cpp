#include <functional>

#include "Utility.h"

TByteStream::TByteStream(const uint8_t* start, const uint8_t* end) : Start(start), End(end), Pos(start) {}

void TByteStream::SetPos(const uint8_t* pos) {
  // Compared as addresses, since pos may lie outside the buffer.
  if (std::less<const uint8_t*>()(pos, Start) || std::less<const uint8_t*>()(End, pos)) {
    Pos = End;
    FExhausted = true;
    return;
  }
  Pos = pos;
}
