// Typed assembler lines of any length and content, and any code bytes through
// the disassembler into buffers of any size. The first byte picks the default
// radix and the line buffer's size; the rest is the typed line, and its first
// four bytes are also disassembled.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "Configuration.h"
#include "MessageBox.h"
#include "Symbols.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {
constexpr char RADIXES[] = {'B', 'D', 'H', 'O'};

// Disassembles code into a buffer of exactly size bytes, as a caller prepares it.
void DisassembleInto(const uint8_t* code, std::size_t size) {
  auto bytes = std::make_unique<uint8_t[]>(4);
  std::memcpy(bytes.get(), code, 4);
  auto line = std::make_unique<char[]>(size);
  std::memset(line.get(), ' ', size - 1);
  line[size - 1] = '\0';
  TheCpu->Disassemble(0x81, 0xFFFE, bytes.get(), line.get(), size, code[0] & 1);
  if (std::strlen(line.get()) != size - 1) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetMessageBoxHandler([](const char*, const char*, unsigned) { return IDOK; });
  TheCpu = new TCpu;
  TheSymbols = new TSymbols;
  // Labels of every length at the addresses small operands point to.
  for (uint32_t address = 0; address < 0x300; ++address) {
    TSymbolRecord slot{};
    slot.Attributes = 1;
    slot.Value = address;
    std::memset(slot.Name, 'a' + address % 26, address % 256);
    TheSymbols->Add(&slot);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  SetDefaultRadix(RADIXES[selector & 3]);

  auto out = std::make_unique<uint8_t[]>(4);
  const uint16_t length = TheCpu->Assemble(0x1000, text.data(), out.get());
  if (length > 4) __builtin_trap();
  const std::size_t lineSize = 1 + (selector >> 2) * 5;
  if (length > 0) DisassembleInto(out.get(), lineSize);

  uint8_t code[4] = {};
  std::memcpy(code, data + 1, std::min<std::size_t>(4, size - 1));
  DisassembleInto(code, lineSize);
  return 0;
}
