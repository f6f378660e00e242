// Typed answers of any length and content through the argument, address and
// expression parsers and the value formatter. The first byte picks the
// default radix, the byte order and the argument format; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Configuration.h"
#include "MessageBox.h"
#include "Protocol.h"
#include "Symbols.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {
const char* const FORMATS[] = {"D",   "D,D", "A,W", "A,B", "A,D", "A,D,P", "A,A,D", "D,A,D",
                               "A,D,D", "P", "PW",  "PD",  "B",   "W",     "D.[H,L]", "S"};
constexpr char RADIXES[] = {'B', 'D', 'H', 'O'};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetMessageBoxHandler([](const char*, const char*, unsigned) { return IDOK; });
  TheCpu = new TCpu;
  TheProtocol = new TProtocol;
  TheSymbols = new TSymbols;
  for (const char* name : {"main", "_start", "count", "B", "H"}) {
    TSymbolRecord slot{};
    slot.Attributes = 1;
    slot.Value = 0x1234;
    std::snprintf(slot.Name, sizeof slot.Name, "%s", name);
    TheSymbols->Add(&slot);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  const char* typed = text.c_str();  // stops at the first NUL, as a typed answer does
  SetDefaultRadix(RADIXES[selector & 3]);
  TheCpu->LittleEndian = (selector >> 2) & 1;

  std::vector<uint8_t> record(160);
  ParseArgs(FORMATS[(selector >> 3) & 15], typed, record.data(), record.size());

  uint32_t value = 0;
  EvalString(typed, value);
  ParseNumber(typed, value);
  uint8_t area = 0;
  ParseAddress(typed, area, value, selector >> 7);

  // The same bytes as a display descriptor over themselves.
  char out[256];
  FormatValue(out, sizeof out, typed, data + 1, size - 1, selector & 1);
  return 0;
}
