#pragma once
// A TCpu with a symbol table of its own, and the opcode sweep shared by the
// disassembler and assembler tests.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Configuration.h"
#include "Symbols.h"
#include "Tgtz80.h"
#include "Utility.h"

using TCode = std::array<uint8_t, 4>;

class Z80CodeFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    PreviousSymbols = TheSymbols;
    TheSymbols = &Symbols;
    SetDefaultRadix('D');
  }
  void TearDown() override {
    TheSymbols = PreviousSymbols;
    SetDefaultRadix('D');
  }

  void AddSymbol(uint16_t area, uint32_t address, const std::string& name) {
    TSymbolRecord slot{};
    slot.Attributes = area;
    slot.Value = address;
    slot.ScopeHigh = -1;
    slot.NameLength = static_cast<uint8_t>(name.size());
    std::strncpy(slot.Name, name.c_str(), SYMBOL_MAX_NAME);
    Symbols.Add(&slot);
  }

  // The whole line as the code view shows it: 255 columns, trailing blanks cut.
  std::string Line(uint16_t area, uint32_t address, const TCode& code, uint16_t* length = nullptr) {
    char out[256];
    std::memset(out, ' ', sizeof out - 1);
    out[sizeof out - 1] = '\0';
    const uint16_t n = Cpu.Disassemble(area, address, code.data(), out, sizeof out, 0);
    if (length) *length = n;
    std::string line(out);
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
  }

  // Only the instruction column of a line in area 1.
  std::string Instruction(const TCode& code, uint32_t address = 0, uint16_t* length = nullptr) {
    const std::string line = Line(1, address, code, length);
    return line.size() > 31 ? line.substr(31) : std::string();
  }

  TCpu Cpu;
  TSymbols Symbols;

 private:
  TSymbols* PreviousSymbols = nullptr;
};

// Every opcode of every page (none, CB, ED, DD, FD, DD CB, FD CB), each with a
// few sets of operand bytes: small, negative displacement, largest, zero.
inline std::vector<TCode> AllOpcodes() {
  static constexpr uint8_t Fills[][3] = {{0x05, 0x12, 0x34}, {0x80, 0x00, 0xFF}, {0x7F, 0xFF, 0x01}, {0x00, 0x00, 0x00}};
  std::vector<TCode> all;
  for (const auto& f : Fills) {
    for (int b = 0; b < 256; ++b) {
      const auto op = static_cast<uint8_t>(b);
      if (op != 0xCB && op != 0xED && op != 0xDD && op != 0xFD) all.push_back({op, f[0], f[1], f[2]});
      all.push_back({0xCB, op, f[1], f[2]});
      all.push_back({0xED, op, f[1], f[2]});
      for (uint8_t prefix : {uint8_t{0xDD}, uint8_t{0xFD}}) {
        all.push_back({prefix, op, f[0], f[1]});
        all.push_back({prefix, 0xCB, f[0], op});
      }
    }
  }
  return all;
}

inline std::string Hex(const uint8_t* bytes, std::size_t n) {
  std::string s;
  char digits[4];
  for (std::size_t i = 0; i < n; ++i) {
    std::snprintf(digits, sizeof digits, i ? " %02X" : "%02X", bytes[i]);
    s += digits;
  }
  return s;
}

inline bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// The non-empty pieces of text between separator characters.
inline std::vector<std::string> Split(const std::string& text, const char* separators) {
  std::vector<std::string> pieces;
  std::size_t start = text.find_first_not_of(separators);
  while (start != std::string::npos) {
    const std::size_t end = text.find_first_of(separators, start);
    pieces.push_back(text.substr(start, end - start));
    start = end == std::string::npos ? end : text.find_first_not_of(separators, end);
  }
  return pieces;
}

// A line's mnemonic and its operands, the blanks between them left out.
inline std::string MnemonicOf(const std::string& line) { return line.substr(0, line.find(' ')); }
inline std::string OperandsOf(const std::string& line) {
  const std::size_t blank = line.find(' ');
  return blank == std::string::npos ? std::string() : line.substr(line.find_first_not_of(' ', blank));
}

// True when the named program can be run from the search path.
inline bool ToolExists(const std::string& name) {
  return std::system(("command -v " + name + " > /dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command and returns what it wrote to standard output and error.
inline std::string RunTool(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}
