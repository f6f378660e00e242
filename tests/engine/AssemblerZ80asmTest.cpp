// Cross-check of the assembler against z80asm: every operand row of the
// instruction table with sample operands, and every line the disassembler
// writes, assembled by both; the lines both accept must give the same bytes.
// Runs only where z80asm is installed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "MessageBoxRecorder.h"
#include "Tgtz80AsmTable.h"
#include "Z80CodeFixture.h"

namespace {

constexpr uint32_t BASE = 0x1000;
constexpr uint32_t STRIDE = 4;  // room for the longest instruction

std::string HexNumber(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0%Xh", static_cast<unsigned>(value));
  return text;
}

// Operand texts that fit a row kind; relative jumps get targets at both ends
// of their reach from the line's address.
std::vector<std::string> Samples(const std::string& mnemonic, int8_t kind, uint32_t address) {
  static constexpr const char* Names[] = {"",   "B",  "C",  "D",  "E",  "H",    "L",    "(HL)", "A",    "", "",   "AF",
                                          "BC", "DE", "HL", "SP", "IX", "IY",   "AF'",  "NZ",   "Z",    "NC", "C",  "PO",
                                          "PE", "P",  "M",  "(C)", "(SP)", "I", "R",    "(IX)", "(IY)", "(BC)", "(DE)"};
  switch (kind) {
    case K_NONE:
      return {""};
    case K_IXD:
      return {"(IX+5)", "(IX-128)", "(IX+127)", "(IX+0)"};
    case K_IYD:
      return {"(IY-1)", "(IY+100)"};
    case K_N:
      if (mnemonic == "BIT" || mnemonic == "RES" || mnemonic == "SET") return {"0", "7", "5"};
      if (mnemonic == "IM") return {"0", "1", "2"};
      if (mnemonic == "RST") return {"0", "8", "38h"};
      return {"5", "255", "0A5h"};
    case K_NN:
      if (mnemonic == "JR" || mnemonic == "DJNZ") {
        return {HexNumber(address + 2 - 128), HexNumber(address + 2 + 127), HexNumber(address)};
      }
      return {"1234h", "0", "65535"};
    case K_MN:
      return {"(12h)", "(255)"};
    case K_MNN:
      return {"(1234h)", "(0FFFEh)", "(5)"};
    default:
      return {Names[kind]};
  }
}

struct TLine {
  uint32_t Address;
  std::string Text;
  std::string Bytes;  // ours
};

class AssemblerZ80asm : public Z80CodeFixture {
 protected:
  // Adds the line when our assembler takes it.
  void Offer(const std::string& text) {
    const uint32_t address = BASE + STRIDE * static_cast<uint32_t>(Candidates);
    ++Candidates;
    std::string source = text;
    uint8_t out[4] = {};
    const uint16_t n = Cpu.Assemble(address, source.data(), out);
    if (n > 0) Lines.push_back({address, text, Hex(out, n)});
  }

  int Candidates = 0;
  std::vector<TLine> Lines;
};

// z80asm's listing: "1000 dd 7e 05\t\t LD A,(IX+5)", errors as "file:7: error: ...".
struct TListing {
  std::map<uint32_t, std::string> Bytes;
  std::set<int> ErrorLines;
  std::set<std::string> Unresolved;  // numbers it could not read, reported without their line
  bool Failed = false;
};

TListing RunZ80asm(const std::vector<TLine>& lines, const std::filesystem::path& source) {
  {
    std::ofstream out(source);
    for (const TLine& line : lines) out << " org " << HexNumber(line.Address) << "\n " << line.Text << "\n";
  }
  const auto binary = source.string() + ".bin";
  const std::string output = RunTool("z80asm -l -o " + binary + " " + source.string());
  std::filesystem::remove(binary);

  TListing listing;
  constexpr std::string_view unresolved = "unable to resolve reference:";
  std::istringstream in(output);
  std::string text;
  while (std::getline(in, text)) {
    const std::size_t error = text.find(": error");
    const std::size_t file = text.find(".asm:");
    if (error != std::string::npos && file != std::string::npos) {
      listing.Failed = true;
      listing.ErrorLines.insert(std::atoi(text.c_str() + file + 5));
      const std::size_t reference = text.find(unresolved);
      if (reference != std::string::npos) {
        const std::vector<std::string> token = Split(text.substr(reference + unresolved.size()), " \t");
        if (!token.empty()) listing.Unresolved.insert(token[0]);
      }
      continue;
    }
    // "1000 dd 7e 05\t\t LD A,(IX+5)": an address and the bytes before the tab.
    const std::size_t tab = text.find('\t');
    if (tab == std::string::npos || tab < 7 || text[4] != ' ') continue;
    const std::vector<std::string> fields = Split(text.substr(0, tab), " ");
    if (fields[0].size() != 4 || !std::all_of(fields[0].begin(), fields[0].end(), IsHexDigit)) continue;
    std::string hex;
    for (std::size_t i = 1; i < fields.size(); ++i) hex += (i > 1 ? " " : "") + fields[i];
    for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    listing.Bytes[static_cast<uint32_t>(std::stoul(fields[0], nullptr, 16))] = hex;
  }
  return listing;
}

// True when one of the operand tokens of text is in the set.
bool Mentions(const std::string& text, const std::set<std::string>& tokens) {
  for (const std::string& token : Split(text, " ,()+-")) {
    if (tokens.contains(token)) return true;
  }
  return false;
}

TEST_F(AssemblerZ80asm, AgreesOnEveryLineBothAccept) {
  if (!ToolExists("z80asm")) GTEST_SKIP() << "z80asm is not installed";
  TMessageBoxRecorder boxes;

  std::string mnemonic;
  for (std::size_t i = 0; i < AsmTableSize; ++i) {
    const TAsmRow& row = AsmTable[i];
    if (row.Mnemonic != nullptr) {
      mnemonic = row.Mnemonic;
      if (row.Opcode[0] != 0xFF) Offer(mnemonic);
      continue;
    }
    const uint32_t address = BASE + STRIDE * static_cast<uint32_t>(Candidates);
    for (const std::string& a : Samples(mnemonic, row.Kind1, address)) {
      for (const std::string& b : Samples(mnemonic, row.Kind2, address)) {
        Offer(mnemonic + (a.empty() ? "" : " " + a) + (b.empty() ? "" : "," + b));
      }
    }
  }
  const std::size_t fromTable = Lines.size();
  for (const TCode& code : AllOpcodes()) {
    const uint32_t address = BASE + STRIDE * static_cast<uint32_t>(Candidates);
    Offer(Instruction(code, address));
  }
  ASSERT_LT(STRIDE * Candidates, 0x10000 - BASE);

  // The first run names the lines z80asm refuses; the second must be clean.
  const auto source = std::filesystem::temp_directory_path() / ("tarvik-z80asm-" + std::to_string(getpid()) + ".asm");
  const TListing first = RunZ80asm(Lines, source);
  std::vector<TLine> both;
  for (std::size_t k = 0; k < Lines.size(); ++k) {
    if (!first.ErrorLines.contains(static_cast<int>(2 * k + 2)) && !Mentions(Lines[k].Text, first.Unresolved)) {
      both.push_back(Lines[k]);
    }
  }
  const TListing second = RunZ80asm(both, source);
  std::filesystem::remove(source);
  ASSERT_FALSE(second.Failed);

  for (const TLine& line : both) {
    const auto theirs = second.Bytes.find(line.Address);
    ASSERT_NE(theirs, second.Bytes.end()) << line.Text;
    EXPECT_EQ(line.Bytes, theirs->second) << line.Text;
  }
  // Nearly every table line and most of the disassembler's are compared.
  EXPECT_GT(fromTable, 800u);
  EXPECT_GT(both.size(), fromTable + 2000) << both.size();
}

}  // namespace
