#include "Tgtz80.h"

#include <cstdio>
#include <iterator>

#include "Configuration.h"
#include "Protocol.h"

uint8_t BankMode = 0xFF;
uint32_t BankWindowLow = 0;
uint32_t BankWindowHigh = 0;
uint32_t BankSize = 0;

namespace {
struct TRegisterLabel {
  const char* Label;
  int Digits;
};

// Register view order.
constexpr TRegisterLabel RegisterLabels[] = {
    {"AF      ", 4}, {"BC      ", 4}, {"DE      ", 4}, {"HL      ", 4}, {"AF'     ", 4},
    {"BC'     ", 4}, {"DE'     ", 4}, {"HL'     ", 4}, {"IX      ", 4}, {"IY      ", 4},
    {"I         ", 2}, {"SP      ", 4}, {"PC      ", 4}, {"BANK      ", 2},
};
constexpr uint16_t RegisterLineCount = sizeof RegisterLabels / sizeof RegisterLabels[0];

constexpr const char* FlagLabels[8] = {"C   ", "N   ", "P   ", "U2  ", "H   ", "U1  ", "Z   ", "S   "};

enum : uint16_t { REG_I = 10, REG_BANK = 13 };

uint16_t ByIndex(const TRegisterImage& r, uint16_t n) {
  switch (n) {
    case 0: return r.AF;
    case 1: return r.BC;
    case 2: return r.DE;
    case 3: return r.HL;
    case 4: return r.AF_;
    case 5: return r.BC_;
    case 6: return r.DE_;
    case 7: return r.HL_;
    case 8: return r.IX;
    case 9: return r.IY;
    case 10: return r.I;
    case 11: return r.SP;
    case 12: return r.PC;
    case 13: return r.BANK;
    default: return 0;
  }
}

uint16_t Swapped(uint16_t w) { return static_cast<uint16_t>((w << 8) | (w >> 8)); }
uint8_t High(uint16_t w) { return static_cast<uint8_t>(w >> 8); }
uint8_t Low(uint16_t w) { return static_cast<uint8_t>(w); }
}  // namespace

TCpu::TCpu() {
  static constexpr const char* names[] = {"UNTP", "CODE", "DATA", "CODE", "CODE", "CODE",
                                          "CODE", "CODE", "IO",   "AUTO", "CODE", "CODE"};
  for (std::size_t i = 0; i < std::size(names); ++i) AreaNames[i] = names[i];
}

void TCpu::SavePreviousRegisters() {
  PreviousRegisters = CurrentRegisters;
}

void TCpu::SwapRegisterImage() {
  TRegisterImage& r = CurrentRegisters;
  r.AF = Swapped(r.AF);
  r.BC = Swapped(r.BC);
  r.DE = Swapped(r.DE);
  r.HL = Swapped(r.HL);
  r.IX = Swapped(r.IX);
  r.IY = Swapped(r.IY);
  r.AF_ = Swapped(r.AF_);
  r.BC_ = Swapped(r.BC_);
  r.DE_ = Swapped(r.DE_);
  r.HL_ = Swapped(r.HL_);
  r.SP = Swapped(r.SP);
  r.PC = Swapped(r.PC);
}

uint16_t TCpu::GetPC() {
  TheProtocol->ReadRegisters();
  return CurrentRegisters.PC;
}

uint16_t TCpu::GetSP() {
  TheProtocol->ReadRegisters();
  return CurrentRegisters.SP;
}

void TCpu::GetRegisterLine(uint16_t n, std::string& out) {
  TheProtocol->ReadRegisters();
  out.clear();
  if (n >= RegisterLineCount) return;
  uint16_t value = RegisterByIndex(n);
  char line[32];
  std::snprintf(line, sizeof line, "%c%s%0*X", value == ByIndex(PreviousRegisters, n) ? '1' : '2',
                RegisterLabels[n].Label, RegisterLabels[n].Digits, value);
  out = line;
}

void TCpu::GetFlagLine(uint16_t n, std::string& out) {
  TheProtocol->ReadRegisters();
  if (n >= 8) {
    out = "1    ";
    return;
  }
  unsigned bit = (CurrentRegisters.AF >> n) & 1;
  unsigned previous = (PreviousRegisters.AF >> n) & 1;
  out.clear();
  out += bit == previous ? '1' : '2';
  out += FlagLabels[n];
  out += static_cast<char>('0' + bit);
}

uint16_t TCpu::SetRegister(uint16_t n, uint32_t value) {
  uint16_t word = static_cast<uint16_t>(value);
  if ((n == REG_I || n == REG_BANK) && word > 0xFF) return 1;
  TRegisterImage& r = CurrentRegisters;
  switch (n) {
    case 0: r.AF = word; break;
    case 1: r.BC = word; break;
    case 2: r.DE = word; break;
    case 3: r.HL = word; break;
    case 4: r.AF_ = word; break;
    case 5: r.BC_ = word; break;
    case 6: r.DE_ = word; break;
    case 7: r.HL_ = word; break;
    case 8: r.IX = word; break;
    case 9: r.IY = word; break;
    case 10: r.I = static_cast<uint8_t>(word); break;
    case 11: r.SP = word; break;
    case 12: r.PC = word; break;
    case 13: r.BANK = static_cast<uint8_t>(word); break;
    default: break;
  }
  return 0;
}

uint16_t TCpu::ToggleFlag(uint16_t n) {
  if (n < 8) CurrentRegisters.AF = static_cast<uint16_t>(CurrentRegisters.AF ^ (1u << n));
  return 0;
}

void TCpu::GetRegister(uint32_t code, uint16_t size, uint8_t* out) const {
  uint32_t value = 0;
  if (code & 0x100)
    value = RegisterByNumber(static_cast<uint8_t>(code));
  else if (code < RegisterLineCount)
    value = RegisterByIndex(static_cast<uint16_t>(code));
  if (size > 3) size = 4;
  for (uint16_t i = 0; i < size; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint16_t TCpu::RegisterByIndex(uint16_t n) const { return ByIndex(CurrentRegisters, n); }

uint32_t TCpu::RegisterByNumber(uint8_t number) const {
  const TRegisterImage& r = CurrentRegisters;
  switch (number) {
    case 1: return High(r.BC);
    case 2: return Low(r.BC);
    case 3: return High(r.DE);
    case 4: return Low(r.DE);
    case 5: return High(r.HL);
    case 6: return Low(r.HL);
    case 7: return High(r.AF);
    case 8: return Low(r.AF);
    case 10: return r.BC;
    case 11: return r.DE;
    case 12: return r.HL;
    case 13: return High(r.BC_);
    case 14: return Low(r.BC_);
    case 15: return High(r.DE_);
    case 16: return Low(r.DE_);
    case 17: return High(r.HL_);
    case 18: return Low(r.HL_);
    case 19: return High(r.AF_);
    case 20: return Low(r.AF_);
    case 21: return r.AF_;
    case 22: return r.BC_;
    case 23: return r.DE_;
    case 24: return r.HL_;
    case 25: return r.I;
    case 27: return r.IX;
    case 28: return r.IY;
    case 35: return High(r.IX);
    case 36: return Low(r.IX);
    case 37: return High(r.IY);
    case 38: return Low(r.IY);
    default: return 0;
  }
}

void TCpu::GetSpecialRegisterLine(uint16_t, std::string& out) const { out.clear(); }

void TCpu::GetSpecialRegister(uint16_t, uint16_t, uint8_t*) const {}

uint16_t TCpu::SetSpecialRegister(uint16_t, uint32_t) { return 0; }

void TCpu::GetAreaName(uint16_t area, std::string& out) const { out = AreaNames[area & AREA_MASK]; }

uint32_t TCpu::MaskAddress(uint16_t area, uint32_t address) const {
  return (area & (AREA_BANKED | AREA_PROGRAM)) ? address & 0xFFFFFF : address & 0xFFFF;
}

uint32_t TCpu::LinearAddress(uint32_t address) const {
  if (BankMode == 0xFF) return address;
  uint32_t low = address & 0xFFFF;
  if (low < BankWindowLow || low > BankWindowHigh) return address;
  return low + BankSize * ((address >> 16) & 0xFFFF);
}

uint32_t TCpu::CurrentBankAddress(uint16_t area, uint32_t address) {
  uint32_t a = MaskAddress(area, address);
  if (BankMode == 0xFF || a < BankWindowLow || a > BankWindowHigh) return a;
  TheProtocol->ReadRegisters();
  return a + (static_cast<uint32_t>(CurrentRegisters.BANK) << 16);
}

uint16_t TCpu::GetPointerTypeName(uint8_t typeCode, std::string& text) const {
  switch (typeCode) {
    case 23: text += "DATA Pointer 16 bits "; break;
    case 31: text += "CODE Pointer 16/24 bits "; break;
    default: text += "Unimplemented type "; break;
  }
  return 14;
}
