// Turns the sample program as SDCC built it (Intel HEX code and the .cdb debug
// file) into an IEEE-695 object file with the project's test writer, so that
// the debugger has a real Z80 program with modules, scopes, lines and types.
//
//   MakeDemoObject demo.ihx demo.cdb demo.abs [demo.hex]
//
// The optional fourth file is the Intel HEX image again with a symbol line for
// each function and global variable, for the "Intel HEX & SYM" format.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "IeeeWriter.h"

namespace {

struct TFunction {
  std::string Name;
  uint32_t Start = 0;
  uint32_t End = 0;
};

struct TVariable {
  std::string Scope;  // function name, or empty for a global
  std::string Name;
  std::string Type;   // SDCC type chain, such as "DA8d,SC:U"
  char Space = 0;     // 'R' register, 'B' stack, 'E' data memory, 'C' code
  int StackOffset = 0;
  std::string Registers;
};

struct TLine {
  uint32_t Address;
  uint32_t Line;
};

struct TMemberType {
  std::string Name;
  std::string Type;
  uint32_t Offset;
};

struct TDebugFile {
  std::string Module;
  std::string Source;
  std::vector<TFunction> Functions;
  std::vector<TVariable> Variables;
  std::map<std::string, uint32_t> Addresses;  // global name -> address
  std::vector<TLine> Lines;
  std::map<std::string, std::vector<TMemberType>> Structures;
};

uint32_t Hex(const std::string& text) { return static_cast<uint32_t>(std::stoul(text, nullptr, 16)); }

// "({2}SI:S),R,0,0,[e,d]" after the symbol's name part.
void ReadPlacement(const std::string& rest, TVariable& v) {
  std::size_t open = rest.find('}');
  std::size_t close = rest.find(')');
  v.Type = rest.substr(open + 1, close - open - 1);
  std::stringstream fields(rest.substr(close + 2));
  std::string space, onStack, offset;
  std::getline(fields, space, ',');
  std::getline(fields, onStack, ',');
  std::getline(fields, offset, ',');
  v.Space = space.empty() ? 0 : space[0];
  v.StackOffset = offset.empty() ? 0 : std::stoi(offset);
  std::size_t bracket = rest.find('[');
  if (bracket != std::string::npos) v.Registers = rest.substr(bracket + 1, rest.find(']') - bracket - 1);
}

std::vector<std::string> Split(const std::string& text, char by) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, by);) parts.push_back(part);
  return parts;
}

TDebugFile ReadDebugFile(const std::string& path) {
  TDebugFile debug;
  std::ifstream in(path);
  std::map<std::string, TFunction> functions;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("M:")) {
      debug.Module = line.substr(2);
    } else if (line.starts_with("S:")) {
      // S:G$counter$0_0$0({2}SI:S),E,0,0 or S:Ldemo.add$b$1_0$0({2}SI:S),R,0,0,[e,d]
      auto parts = Split(line.substr(2), '$');
      TVariable v;
      if (parts[0][0] == 'L') v.Scope = parts[0].substr(parts[0].find('.') + 1);
      v.Name = parts[1];
      ReadPlacement(line.substr(line.find('(')), v);
      if (v.Type.find("DF") == std::string::npos) debug.Variables.push_back(v);
    } else if (line.starts_with("T:")) {
      // T:Fdemo$point[({0}S:S$x$0_0$0({2}SI:S),Z,0,0)(...)]
      std::string name = Split(line.substr(2), '$')[1];
      name = name.substr(0, name.find('['));
      std::vector<TMemberType> members;
      for (std::size_t at = line.find("({"); at != std::string::npos; at = line.find(")({", at)) {
        if (line.compare(at, 2, ")(") == 0) ++at;
        uint32_t offset = static_cast<uint32_t>(std::stoul(line.substr(at + 2)));
        auto fields = Split(line.substr(at), '$');
        std::size_t typeOpen = line.find("({", at + 2);
        std::size_t typeStart = line.find('}', typeOpen) + 1;
        members.push_back({fields[1], line.substr(typeStart, line.find(')', typeStart) - typeStart), offset});
        at = line.find(')', typeStart);
      }
      debug.Structures[name] = members;
    } else if (line.starts_with("L:C$")) {
      // L:C$demo.c$14$1_0$2:20A
      auto parts = Split(line.substr(4), '$');
      debug.Source = parts[0];
      debug.Lines.push_back({Hex(line.substr(line.rfind(':') + 1)), static_cast<uint32_t>(std::stoul(parts[1]))});
    } else if (line.starts_with("L:G$") || line.starts_with("L:XG$")) {
      bool end = line[2] == 'X';
      std::string name = Split(line, '$')[1];
      uint32_t address = Hex(line.substr(line.rfind(':') + 1));
      if (line.find("$0_0$") != std::string::npos) {
        debug.Addresses[name] = address;  // a variable
      } else {
        TFunction& f = functions[name];
        f.Name = name;
        (end ? f.End : f.Start) = address;
      }
    }
  }
  for (auto& [name, f] : functions) debug.Functions.push_back(f);
  std::sort(debug.Functions.begin(), debug.Functions.end(),
            [](const TFunction& a, const TFunction& b) { return a.Start < b.Start; });
  std::stable_sort(debug.Lines.begin(), debug.Lines.end(),
                   [](const TLine& a, const TLine& b) { return a.Address < b.Address; });
  return debug;
}

// Code bytes by address from an Intel HEX file.
std::map<uint32_t, uint8_t> ReadHex(const std::string& path) {
  std::map<uint32_t, uint8_t> bytes;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (line.size() < 11 || line[0] != ':' || line.substr(7, 2) != "00") continue;
    uint32_t count = Hex(line.substr(1, 2));
    uint32_t address = Hex(line.substr(3, 4));
    for (uint32_t n = 0; n < count; ++n) bytes[address + n] = static_cast<uint8_t>(Hex(line.substr(9 + 2 * n, 2)));
  }
  return bytes;
}

// IEEE-695 type indexes for SDCC type chains; module types are written into
// the type block as they are first needed.
class TTypeTable {
 public:
  TTypeTable(TIeeeWriter& writer, const TDebugFile& debug) : Writer(writer), Debug(debug) {}

  uint32_t Index(const std::string& chain) {
    auto known = Known.find(chain);
    if (known != Known.end()) return known->second;
    uint32_t index = Make(chain);
    Known[chain] = index;
    return index;
  }

 private:
  uint32_t Make(const std::string& chain) {
    auto items = Split(chain, ',');
    std::string base = items.back();
    bool isUnsigned = base.ends_with(":U");
    base = base.substr(0, base.find(':'));
    uint32_t type = Basic(base, isUnsigned);
    for (auto item = items.rbegin() + 1; item != items.rend(); ++item) {
      if (item->starts_with("DA")) {
        uint32_t count = static_cast<uint32_t>(std::stoul(item->substr(2)));
        Writer.Array(Next, "", type, count - 1);
      } else {
        Writer.Pointer(Next, "", type);
      }
      type = Next++;
    }
    return type;
  }

  uint32_t Basic(const std::string& base, bool isUnsigned) {
    if (base == "SC") return isUnsigned ? 3 : 2;
    if (base == "SI") return isUnsigned ? 5 : 4;
    if (base == "SL") return isUnsigned ? 7 : 6;
    if (base == "SF") return 10;
    if (base.starts_with("ST")) {
      std::string name = base.substr(2);
      if (auto made = Structures.find(name); made != Structures.end()) return made->second;
      auto found = Debug.Structures.find(name);
      if (found == Debug.Structures.end()) return 0;
      std::vector<TIeeeWriter::TMember> members;
      uint32_t size = 0;
      for (const TMemberType& m : found->second) {
        uint32_t type = Index(m.Type);
        members.push_back({m.Name, type, m.Offset});
        size = std::max(size, m.Offset + Size(m.Type));
      }
      Writer.Struct(Next, name, size, members);
      Structures[name] = Next;
      return Next++;
    }
    return 1;  // void
  }

  static uint32_t Size(const std::string& chain) {
    if (chain.starts_with("DA")) return 0;
    if (chain.starts_with("D")) return 2;
    if (chain.starts_with("SC")) return 1;
    if (chain.starts_with("SL") || chain.starts_with("SF")) return 4;
    return 2;
  }

  TIeeeWriter& Writer;
  const TDebugFile& Debug;
  std::map<std::string, uint32_t> Known;
  std::map<std::string, uint32_t> Structures;
  uint32_t Next = 256;
};

// IEEE-695 register numbers of SDCC's register names.
uint32_t RegisterNumber(const std::string& registers) {
  static const std::map<std::string, uint32_t> numbers = {
      {"b", 1},    {"c", 2},    {"d", 3},    {"e", 4},    {"h", 5},     {"l", 6},     {"a", 8},
      {"c,b", 19}, {"e,d", 20}, {"l,h", 21}, {"ixl,ixh", 22}, {"iyl,iyh", 23}};
  auto found = numbers.find(registers);
  return found == numbers.end() ? 0 : found->second;
}

// The image's data records, then " name address" lines, then the end record.
bool WriteHexWithSymbols(const std::string& image, const TDebugFile& debug, const std::string& path) {
  std::ifstream in(image);
  std::ofstream out(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 9 && line.substr(7, 2) == "01") continue;
    out << line << '\n';
  }
  char symbol[300];
  for (const TFunction& f : debug.Functions) {
    std::snprintf(symbol, sizeof symbol, " _%s %04X\n", f.Name.c_str(), static_cast<unsigned>(f.Start));
    out << symbol;
  }
  for (const auto& [name, address] : debug.Addresses) {
    std::snprintf(symbol, sizeof symbol, " _%s %04X\n", name.c_str(), static_cast<unsigned>(address));
    out << symbol;
  }
  out << ":00000001FF\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: %s program.ihx program.cdb program.abs [program.hex]\n", argv[0]);
    return 2;
  }
  TDebugFile debug = ReadDebugFile(argv[2]);
  std::map<uint32_t, uint8_t> code = ReadHex(argv[1]);
  if (debug.Module.empty() || code.empty()) {
    std::fprintf(stderr, "%s: no module or no code\n", argv[0]);
    return 1;
  }

  TIeeeWriter w;
  w.ModuleBegin("Z80", debug.Module).AddressDescription(8, 1);
  uint32_t publicIndex = 1;
  for (const TFunction& f : debug.Functions) w.PublicName(publicIndex++, "_" + f.Name, f.Start);
  for (const auto& [name, address] : debug.Addresses) w.PublicName(publicIndex++, "_" + name, address);

  w.ModuleTypes(debug.Module);
  TTypeTable types(w, debug);
  std::map<const TVariable*, uint32_t> variableTypes;
  for (const TVariable& v : debug.Variables) variableTypes[&v] = types.Index(v.Type);
  w.BlockEnd();

  w.Module(debug.Module);
  for (const TVariable& v : debug.Variables)
    if (v.Scope.empty() && debug.Addresses.count(v.Name)) w.Static(v.Name, variableTypes[&v], debug.Addresses[v.Name]);
  w.SourceFile(debug.Source);
  for (std::size_t n = 0; n < debug.Functions.size(); ++n) {
    // A function's lines run up to the next function; SDCC leaves out the end
    // address of some functions.
    const TFunction& f = debug.Functions[n];
    uint32_t limit = n + 1 < debug.Functions.size() ? debug.Functions[n + 1].Start : UINT32_MAX;
    uint32_t end = f.End;
    w.Function(f.Name, f.Start);
    for (const TVariable& v : debug.Variables) {
      if (v.Scope != f.Name) continue;
      if (v.Space == 'B')
        w.Automatic(v.Name, variableTypes[&v], static_cast<uint32_t>(v.StackOffset));
      else if (v.Space == 'R')
        w.RegisterVariable(v.Name, variableTypes[&v], RegisterNumber(v.Registers));
    }
    for (const TLine& line : debug.Lines) {
      if (line.Address < f.Start || line.Address >= limit) continue;
      w.Line(line.Line, 0, line.Address);
      end = std::max(end, line.Address);
    }
    w.FunctionEnd(end);
  }
  w.BlockEnd().BlockEnd();

  // Code in records of up to 64 bytes, a load address before every gap.
  w.SectionBegin(1);
  std::optional<uint32_t> next;
  std::vector<uint8_t> run;
  auto flush = [&] {
    if (!run.empty()) w.Data(run);
    run.clear();
  };
  for (const auto& [address, byte] : code) {
    if (address != next) {
      flush();
      w.LoadAddress(address);
    }
    run.push_back(byte);
    if (run.size() == 64) flush();
    next = address + 1;
  }
  flush();
  w.ModuleEnd();

  if (!w.SaveTo(argv[3])) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
    return 1;
  }
  if (argc == 5 && !WriteHexWithSymbols(argv[1], debug, argv[4])) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[4]);
    return 1;
  }
  return 0;
}
