#include "WatchPoint.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <strings.h>

#include "Configuration.h"
#include "Debug.h"
#include "Protocol.h"
#include "Symbols.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {

struct TWatchFormat {
  const char* Name;
  const char* Descriptor;
  uint8_t Size;
};

// The display formats of the "," suffix.
constexpr TWatchFormat WatchFormats[] = {
    {"C", "%1c", 1},  {"UC", "%1u", 1}, {"SC", "%1s", 1}, {"XC", "%1h", 1}, {"B", "%1h", 1},  {"L", "%4s", 4},
    {"UL", "%4u", 4}, {"SL", "%4s", 4}, {"I", "%2s", 2},  {"UI", "%2u", 2}, {"SI", "%2s", 2}, {"XI", "%2h", 2},
    {"W", "%2h", 2},  {"XL", "%4h", 4}, {"D", "%4h", 4},  {"F", "%4f", 4},
};

// Everything a watch reads fits here; sizes saturate at its length.
constexpr std::size_t MAX_WATCH_DATA = 255;

constexpr uint8_t KIND_STACK_LOCAL = 7;
constexpr uint8_t KIND_REGISTER = 8;
constexpr uint8_t KIND_FRAME_LOCAL = 32;
constexpr int16_t FRAME_BASE_IN_REGISTER = 255;

const TWatchFormat* FindWatchFormat(const char* name) {
  for (const TWatchFormat& format : WatchFormats)
    if (strcasecmp(format.Name, name) == 0) return &format;
  return nullptr;
}

uint32_t LittleEndianValue(const uint8_t* bytes, unsigned n) {
  uint32_t v = 0;
  for (unsigned i = n; i-- > 0;) v = (v << 8) | bytes[i];
  return v;
}

uint32_t BigEndianValue(const uint8_t* bytes, unsigned n) {
  uint32_t v = 0;
  for (unsigned i = 0; i < n; ++i) v = (v << 8) | bytes[i];
  return v;
}

// Reverses the order of an address of size bytes.
uint32_t SwapAddress(uint32_t address, unsigned size) {
  switch (size) {
    case 2: return Swap16(static_cast<uint16_t>(address));
    case 3: return Swap32(address << 8);
    case 4: return Swap32(address);
    default: return address;
  }
}

bool IsGlobal(const TSymbolRecord& s) { return s.ScopeLow == 0 && static_cast<uint32_t>(s.ScopeHigh) == 0xFFFFFFFF; }

bool HoldsAddress(uint32_t low, uint32_t high, uint32_t address) { return low <= address && address <= high; }

}  // namespace

// The row being written: never past its last byte, which stays for the NUL.
class TWatchPoint::TRow {
 public:
  TRow(char* out, std::size_t size) : Out(out), Size(size) {}

  void Put(const char* text) {
    while (*text && Pos + 1 < Size) Out[Pos++] = *text++;
  }
  void Restart() {
    std::memset(Out, ' ', Pos);
    Pos = 0;
  }
  void Value(const char* descriptor, const uint8_t* data, std::size_t length) {
    Pos += static_cast<std::size_t>(FormatValue(Out + Pos, Size - Pos, descriptor, data, length, TheDebug->GetByteOrder()));
  }
  void Finish() {
    if (Pos + 1 < Size) Out[Pos] = ' ';
    Out[Size - 1] = '\0';
  }

 private:
  char* Out;
  std::size_t Size;
  std::size_t Pos = 0;
};

TWatchPoint::TWatchPoint(const std::string& expression) : State(std::make_unique<TWatchState>()) {
  constexpr const char* blanks = " \t\r\n\f\v";
  const std::size_t first = expression.find_first_not_of(blanks);
  if (first == std::string::npos) return;
  const std::size_t length = expression.find_last_not_of(blanks) + 1 - first;
  expression.copy(Expression, std::min(length, WATCH_EXPRESSION_SIZE - 1), first);
}

void TWatchPoint::Evaluate(uint32_t pc, char* out, uint8_t withName, std::size_t size) {
  if (!out || size == 0) return;
  TRow row(out, size);
  TWatchState& w = *State;
  if (withName == 1) {
    row.Put(Expression);
    row.Put(": ");
  }
  const char* rest = Expression;
  if (*rest == '&') w.Flags |= WATCH_ADDRESS_OF;
  if (*rest == '*') w.Flags |= WATCH_DEREFERENCE;

  const bool inLocalScope = HoldsAddress(w.ScopeLow, w.ScopeHigh, pc) && !(w.ScopeLow == 0 && w.ScopeHigh == 0xFFFFFFFF);
  if (!(w.Flags & WATCH_ABSOLUTE) && !inLocalScope) {
    const bool resolved = *rest == '@' ? ResolveAbsolute(row, withName, rest) : ResolveSymbol(row, pc, rest);
    if (!resolved) {
      row.Finish();
      return;
    }
    ApplyIndex(rest);
    ApplySuffix(rest);
  }
  if (w.Format.empty()) {
    row.Put("Syntax error");
    row.Finish();
    return;
  }

  uint32_t address = VariableAddress();
  uint16_t area = w.Area;
  if (w.Flags & WATCH_ADDRESS_OF) {
    std::string name;
    TheCpu->GetAreaName(area, name);
    const uint16_t index = area & AREA_MASK;
    row.Put(index == 0 || index > 8 ? "UNTYPED:" : (name + ":").c_str());
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", static_cast<unsigned long>(address + w.Offset));
    row.Put(text);
    row.Finish();
    return;
  }

  uint8_t data[MAX_WATCH_DATA] = {};
  std::size_t length = w.Size;
  bool fromRegister = w.Kind == KIND_REGISTER;
  if (w.TypeClass() == TYPE_CLASS_SCALAR) {
    ReadPointer(area, address);
    if (w.Flags & WATCH_DEREFERENCE) {
      // What a register variable points to lies in memory.
      fromRegister = false;
    } else {
      length = std::min<std::size_t>(length, sizeof address);
      for (std::size_t i = 0; i < length; ++i) data[i] = static_cast<uint8_t>(address >> (8 * i));
      row.Value(w.Format.c_str(), data, length);
      row.Finish();
      return;
    }
  }
  address += w.Offset;
  if (fromRegister)
    TheCpu->GetRegister(address, w.Size, data);
  else
    TheProtocol->ReadMemory(static_cast<uint8_t>(area), address, w.Size, data);
  row.Value(w.Format.c_str(), data, length);
  row.Finish();
}

bool TWatchPoint::ResolveAbsolute(TRow& row, uint8_t withName, const char*& rest) {
  TWatchState& w = *State;
  if (!std::strchr(Expression, ',')) {
    const std::size_t length = std::strlen(Expression);
    if (length + 2 >= WATCH_EXPRESSION_SIZE) {
      row.Put("Syntax error");
      return false;
    }
    std::memcpy(Expression + length, ",b", 3);
  }
  const char* comma = std::strchr(Expression, ',');
  const std::string addressText(static_cast<const char*>(Expression) + 1, comma);
  uint8_t area = 0;
  uint32_t address = 0;
  const int result = ParseAddress(addressText.c_str(), area, address, 0);
  if (result != 0) {
    row.Put(result == -2 ? "Symbol not found" : "Syntax error");
    return false;
  }
  w.Flags = WATCH_ABSOLUTE;
  // Once resolved the address stays; its first row carries the completed text.
  row.Restart();
  if (withName == 1) {
    row.Put(Expression);
    row.Put(" ");
  }
  std::string name;
  TheCpu->GetAreaName(area, name);
  w.Kind = name == "AUTO" ? KIND_STACK_LOCAL : 0;
  w.Area = area;
  w.Value = address;
  w.ScopeLow = 0;
  w.ScopeHigh = 0xFFFFFFFF;
  rest = comma;
  return true;
}

bool TWatchPoint::ResolveSymbol(TRow& row, uint32_t pc, const char*& rest) {
  TWatchState& w = *State;
  const char* name = *rest == '&' || *rest == '*' ? rest + 1 : rest;
  const std::size_t nameLength = std::strcspn(name, ".[,");
  const std::string key(name, nameLength);
  const TSymbolRecord* found = nullptr;
  for (const TSymbolRecord* s = TheSymbols->FindByName(key.c_str(), false);
       s && s->NameLength == nameLength && strncasecmp(s->Name, name, nameLength) == 0; s = TheSymbols->NextByName()) {
    if (IsGlobal(*s)) {
      found = s;
    } else if (HoldsAddress(s->ScopeLow, static_cast<uint32_t>(s->ScopeHigh), pc)) {
      found = s;
      break;
    }
  }
  if (!found) {
    row.Put("Variable not found");
    return false;
  }

  w.Kind = found->Kind;
  w.Area = found->Attributes;
  w.Value = found->Value;
  w.FrameArea = found->FrameArea;
  w.FrameBase = static_cast<uint32_t>(found->FrameBase);
  w.ScopeLow = found->ScopeLow;
  w.ScopeHigh = static_cast<uint32_t>(found->ScopeHigh);
  w.TargetType = 0;
  w.Size = 0;
  w.Index = 0;
  w.Offset = 0;
  w.SizeCode = 0;
  w.Format.clear();
  // A same-named variable of another function may have another type.
  w.SetTypeClass(0);
  // A stored record ends with its name.
  w.Symbol = TSymbolRecord{};
  std::memcpy(&w.Symbol, found, SYMBOL_HEADER_SIZE + found->NameLength);

  std::string_view path(name + nameLength);
  const uint32_t size = TheDebug->MakeTypeFormat(static_cast<uint16_t>(found->TypeIndex), w, nullptr, path);
  w.SizeCode = static_cast<uint8_t>(std::min<uint32_t>(size, 255));
  if (w.Flags & WATCH_DEREFERENCE) {
    const bool pointer = w.TypeClass() == TYPE_CLASS_SCALAR;
    w.Format.clear();
    if (pointer) {
      w.Size = 0;
      TheDebug->MakeTypeFormat(w.TargetType, w, nullptr, path);
      w.SetTypeClass(TYPE_CLASS_SCALAR);
    }
  }
  rest = path.data();
  return true;
}

void TWatchPoint::ApplyIndex(const char*& rest) {
  if (*rest != '[') return;
  TWatchState& w = *State;
  const char* close = std::strchr(rest, ']');
  if (close && w.TypeClass() == TYPE_CLASS_SCALAR && !(w.Flags & WATCH_DEREFERENCE)) {
    const std::string text(rest + 1, close);
    const char radix = GetDefaultRadix();
    SetDefaultRadix('D');
    uint16_t index = 0;
    const int result = EvalWord(text.c_str(), index);
    SetDefaultRadix(radix);
    if (result == 0) {
      w.Flags |= WATCH_INDEXED;
      w.Index = index;
      rest = close + 1;
      return;
    }
  }
  w.Format.clear();
}

void TWatchPoint::ApplySuffix(const char* rest) {
  if (*rest != ',') return;
  TWatchState& w = *State;
  w.Format.clear();
  w.Size = 0;
  const char* p = rest + 1;
  uint32_t count = 0;
  for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
    count = std::min<uint32_t>(count * 10 + static_cast<uint32_t>(*p - '0'), MAX_WATCH_DATA + 1);
  if (count == 0) count = 1;
  const TWatchFormat* format = FindWatchFormat(p);
  // More bytes than a watch reads is no format either.
  if (!format || count * format->Size > MAX_WATCH_DATA) return;
  std::string descriptor;
  for (uint32_t i = 0; i < count; ++i) descriptor += format->Descriptor;
  // Several characters show as one text.
  w.Format = count > 1 && (*p == 'C' || *p == 'c') ? "[" + descriptor + "]" : descriptor;
  w.Size = static_cast<uint8_t>(count * format->Size);
}

uint32_t TWatchPoint::VariableAddress() const {
  const TWatchState& w = *State;
  switch (w.Kind) {
    case KIND_STACK_LOCAL:
      return TheCpu->GetSP() + w.Value;
    case KIND_FRAME_LOCAL: {
      uint8_t base[2] = {};
      if (w.FrameArea == FRAME_BASE_IN_REGISTER)
        TheCpu->GetRegister(w.FrameBase, sizeof base, base);
      else
        TheProtocol->ReadMemory(static_cast<uint8_t>(w.FrameArea), w.FrameBase, sizeof base, base);
      const uint32_t value = (TheCpu->LittleEndian & 1) ? LittleEndianValue(base, 2) : BigEndianValue(base, 2);
      return value + w.Value;
    }
    default:
      return w.Value;
  }
}

// Turns the address of a pointer variable into the pointer's value (and, for
// a pointer stored in two parts, the area it points into).
void TWatchPoint::ReadPointer(uint16_t& area, uint32_t& address) const {
  const TWatchState& w = *State;
  if (w.Flags & WATCH_ADDRESS_OF) return;
  const bool dereference = (w.Flags & WATCH_DEREFERENCE) != 0;
  if (w.Kind == WATCH_KIND_TWO_PART_POINTER) {
    const unsigned firstSize = (w.PointerCode >> 3) & 7;
    const unsigned secondSize = w.PointerCode & 7;
    const auto part = [&](unsigned size, uint32_t at) -> uint32_t {
      if (size == 0) return static_cast<uint16_t>(w.FrameArea);
      uint8_t bytes[8] = {};
      TheProtocol->ReadMemory(static_cast<uint8_t>(w.Area), at, static_cast<uint8_t>(size), bytes);
      return (w.PointerCode & 0x80) ? LittleEndianValue(bytes, std::min(size, 4u)) : BigEndianValue(bytes, size);
    };
    const uint32_t first = part(firstSize, w.Value);
    const uint32_t second = part(secondSize, w.Value + firstSize);
    const bool addressFirst = (w.PointerCode & 0x40) != 0;
    area = TheDebug->MapArea(static_cast<uint8_t>(addressFirst ? second : first));
    address = addressFirst ? first : second;
    if (!dereference) address = SwapAddress(address, addressFirst ? firstSize : secondSize);
    return;
  }
  uint8_t bytes[4] = {};
  if (w.Kind == KIND_REGISTER)
    TheCpu->GetRegister(address, sizeof bytes, bytes);
  else
    TheProtocol->ReadMemory(static_cast<uint8_t>(area), address, sizeof bytes, bytes);
  address = LittleEndianValue(bytes, 4);
  if (!(TheCpu->LittleEndian & 1) && dereference) address = SwapAddress(address, w.SizeCode);
}
