// Watch expressions of any length and content over symbols of every kind and
// types that nest, refer to themselves and outgrow a watch's 255 bytes: a row
// never runs past its buffer and a watch never reads past its data.
//
// Input: the PC (2 bytes), the layout byte of the two-part pointer type, then
// the expression.
#include <cstdint>
#include <cstring>
#include <string>

#include "Configuration.h"
#include "DebugTableBuilder.h"
#include "Protocol.h"
#include "WatchPoint.h"

namespace {

enum : uint16_t { T_PAIR = 100, T_CHARS, T_PTR, T_DOUBLES, T_FAR, T_SELF, T_PAIR_PTR, T_WIDE_PTR };

// Where the two-part pointer type keeps its layout byte.
std::size_t FarLayout = 0;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TheConfiguration = new TConfiguration;
  TTypeWriter t(TheDebug->Tables().Types);
  t.Structure(T_PAIR, 3, {{0, "a", 6}, {2, "b", 2}});
  t.Array(T_CHARS, 2, 10, 10);
  t.Record(T_PTR, 15).Word(6).Word(2);
  t.Array(T_DOUBLES, 10, 320, 40);
  FarLayout = t.pos + 3;
  t.Record(T_FAR, 97).Byte(0x51).Byte(2).Word(T_PAIR);
  t.Structure(T_SELF, 2, {{0, "s", T_SELF}, {1, "p", T_PAIR_PTR}});
  t.Record(T_PAIR_PTR, 15).Word(T_PAIR).Word(2);
  t.Record(T_WIDE_PTR, 15).Word(4).Word(4);
  for (const TSymbolEntry& g : {TSymbolEntry{"x", 0, 2, 0x1234, 6}, {"s", 0, 2, 0xFFFE, T_PAIR},
                                 {"str", 0, 2, 0x10, T_CHARS}, {"p", 0, 2, 0x20, T_PTR}, {"d", 0, 0, 0xFF00, T_DOUBLES},
                                 {"fp", 0, 2, 0x30, T_FAR}, {"me", 0, 31, 0x40, T_SELF}, {"pp", 0, 2, 0x50, T_PAIR_PTR},
                                 {"r", 8, 0, 3, T_PAIR_PTR}, {"wp", 0, 0x41, 0x60, T_WIDE_PTR}, {"u", 0, 2, 0x70, 0}})
    AddSymbol(g);
  for (uint32_t i = 0; i < 8; ++i) {
    AddSymbol({"x", 7, 9, i, T_PAIR, 0x100 * i, 0x100 * i + 0x7F});
    AddSymbol({"l", 32, 9, i, T_PTR, 0x100 * i, 0x100 * i + 0xFF, 255, 8});
  }
  for (uint32_t a = 0; a < 0x10000; a += 7) {
    const uint8_t b = static_cast<uint8_t>(a * 31);
    TheProtocol->WriteMemory(2, a, 1, &b);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  TheCpu->GetPC();
  TheCpu->SetPC(static_cast<uint16_t>(data[0] | data[1] << 8));
  TheProtocol->WriteRegisters();
  TheDebug->Tables().Types[FarLayout] = data[2];
  const std::string expression(reinterpret_cast<const char*>(data + 3), size - 3);

  TWatchPoint watch(expression);
  for (std::size_t capacity : {std::size_t{1024}, std::size_t{1024}, std::size_t{7}}) {
    std::string row(capacity, ' ');
    watch.Evaluate(TheCpu->GetPC(), row.data(), 1, row.size());
    if (row.back() != '\0') __builtin_trap();
  }
  return 0;
}
