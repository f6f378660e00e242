#include <cstring>
#include <functional>

#include "Utility.h"

namespace {
uint16_t Word(const uint8_t* b) { return static_cast<uint16_t>(b[0] | (b[1] << 8)); }

uint32_t Dword(const uint8_t* b) { return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24); }
}  // namespace

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

bool TByteStream::Available(size_t n) {
  if (static_cast<size_t>(End - Pos) >= n) return true;
  Pos = End;
  FExhausted = true;
  return false;
}

void TByteStream::Skip(uint16_t n) {
  if (Available(n)) Pos += n;
}

void TByteStream::Read(void* out, uint16_t n) {
  if (!Available(n)) {
    std::memset(out, 0, n);
    return;
  }
  std::memcpy(out, Pos, n);
  Pos += n;
}

void TByteStream::ReadByte(uint8_t& out) { Read(&out, 1); }

void TByteStream::ReadWord(uint16_t& out) {
  uint8_t b[2];
  Read(b, 2);
  out = Word(b);
}

void TByteStream::ReadDword(uint32_t& out) {
  uint8_t b[4];
  Read(b, 4);
  out = Dword(b);
}

uint16_t TByteStream::PeekWord() {
  // A peek that fits never moves the cursor, even on a stream marked exhausted
  // earlier and set back with SetPos.
  return Available(2) ? Word(Pos) : 0;
}

uint32_t TByteStream::PeekDword() {
  return Available(4) ? Dword(Pos) : 0;
}
