// Cross-check of the disassembler against binutils' Z80 objdump on every opcode
// of every page. Runs only where z80-unknown-coff-objdump is installed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "Z80CodeFixture.h"

namespace {

constexpr const char* OBJDUMP = "z80-unknown-coff-objdump";

struct TObjdumpLine {
  int Length = 0;
  std::string Text;
};

// objdump's lines by address: "   1c:\t18 fe       \tjr 0x001c".
std::map<uint32_t, TObjdumpLine> ReadObjdump(const std::string& output) {
  std::map<uint32_t, TObjdumpLine> lines;
  std::istringstream in(output);
  std::string text;
  while (std::getline(in, text)) {
    const std::size_t colon = text.find(":\t");
    const std::size_t tab = colon == std::string::npos ? colon : text.find('\t', colon + 2);
    if (tab == std::string::npos) continue;
    char* end = nullptr;
    const unsigned long address = std::strtoul(text.c_str(), &end, 16);
    if (end != text.c_str() + colon) continue;
    TObjdumpLine& entry = lines[static_cast<uint32_t>(address)];
    entry.Length = static_cast<int>(Split(text.substr(colon + 2, tab - colon - 2), " ").size());
    entry.Text = text.substr(tab + 1);
  }
  return lines;
}

// objdump's text in our notation: upper case, words as "1234h", bytes as "FF".
std::string InOurNotation(const std::string& text) {
  std::string ours;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "0x") == 0) {
      std::size_t digits = 0;
      while (IsHexDigit(text[i + 2 + digits])) ++digits;
      for (std::size_t k = 0; k < digits; ++k) ours += static_cast<char>(std::toupper(text[i + 2 + k]));
      if (digits == 4) ours += 'h';
      i += 1 + digits;
      continue;
    }
    ours += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
  }
  return ours;
}

// Our text with the mnemonic column closed up, and with the two forms that
// differ only in notation: the accumulator operand that SUB, AND, XOR, OR and
// CP show with an immediate byte, and relative targets, which stay unwrapped
// here and wrap at 64 KB there.
std::string Comparable(const std::string& line) {
  const std::string mnemonic = MnemonicOf(line);
  std::string operands = OperandsOf(line);
  if (std::set<std::string>{"SUB", "AND", "XOR", "OR", "CP"}.contains(mnemonic) && operands.starts_with("A,")) {
    operands.erase(0, 2);
  }
  const std::size_t h = operands.find('h');
  std::size_t first = h;
  while (first > 0 && first != std::string::npos && IsHexDigit(operands[first - 1])) --first;
  if (h != std::string::npos && h - first > 4) {
    char wrapped[8];
    std::snprintf(wrapped, sizeof wrapped, "%04X",
                  static_cast<unsigned>(std::stoul(operands.substr(first, h - first), nullptr, 16) & 0xFFFF));
    operands.replace(first, h - first, wrapped);
  }
  return operands.empty() ? mnemonic : mnemonic + " " + operands;
}

// Where our texts knowingly differ from the published instruction set.
bool IsOwnForm(const TCode& code) {
  const bool indexed = code[0] == 0xDD || code[0] == 0xFD;
  if (code[0] == 0xED && code[1] == 0x70) return true;  // IN (HL),(C)
  // Every ED 46 form names a mode, the undocumented mirrors included.
  if (code[0] == 0xED && (code[1] & 0xC7) == 0x46) return true;
  // An index prefix turns HL into IX or IY in any instruction, so EX DE,HL and
  // the ED page's HL forms take the index register too.
  return indexed && (code[1] == 0xEB || code[1] == 0xED);
}

using DisassemblerObjdump = Z80CodeFixture;

TEST_F(DisassemblerObjdump, AgreesOnEveryOpcode) {
  if (!ToolExists(OBJDUMP)) GTEST_SKIP() << OBJDUMP << " is not installed";

  // Each instruction gets eight bytes, the four given and four NOPs, so that
  // objdump is back in step at the next one whatever length it decodes.
  const std::vector<TCode> all = AllOpcodes();
  std::vector<char> image(all.size() * 8, 0);
  for (std::size_t k = 0; k < all.size(); ++k) std::memcpy(image.data() + 8 * k, all[k].data(), 4);
  const auto path = std::filesystem::temp_directory_path() / ("tarvik-objdump-" + std::to_string(getpid()) + ".bin");
  std::ofstream(path, std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
  const auto lines = ReadObjdump(RunTool(std::string(OBJDUMP) + " -D -z -b binary -m z80 " + path.string()));
  std::filesystem::remove(path);
  ASSERT_GE(lines.size(), all.size());

  int compared = 0;
  for (std::size_t k = 0; k < all.size(); ++k) {
    const TCode& code = all[k];
    const uint32_t address = static_cast<uint32_t>(8 * k);
    uint16_t length = 0;
    const std::string ours = Instruction(code, address, &length);
    // Undocumented instructions are shown as data bytes.
    if (ours.starts_with("DEFB") || IsOwnForm(code)) continue;
    const auto theirs = lines.find(address);
    ASSERT_NE(theirs, lines.end()) << Hex(code.data(), 4);
    EXPECT_EQ(Comparable(ours), InOurNotation(theirs->second.Text)) << Hex(code.data(), 4);
    EXPECT_EQ(length, theirs->second.Length) << Hex(code.data(), 4);
    ++compared;
  }
  // Everything documented is compared: far more than the unprefixed page.
  EXPECT_GT(compared, 4 * 600);
}

}  // namespace
