// The program binds its plug-ins by entry name, so each library's dynamic
// symbol table holds its entries and nothing else: inline library code that a
// plug-in compiles in must not reach the program's or another plug-in's
// symbol lookup.
#include <elf.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// The global and weak names that a 64-bit ELF library defines in its dynamic
// symbol table, as `nm -D --defined-only` lists them.
std::set<std::string> DefinedDynamicSymbols(const char* path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<char> image{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::set<std::string> names;
  if (image.size() < sizeof(Elf64_Ehdr)) return names;
  const auto& header = *reinterpret_cast<const Elf64_Ehdr*>(image.data());
  const auto* sections = reinterpret_cast<const Elf64_Shdr*>(image.data() + header.e_shoff);
  for (int i = 0; i < header.e_shnum; ++i) {
    if (sections[i].sh_type != SHT_DYNSYM) continue;
    const char* strings = image.data() + sections[sections[i].sh_link].sh_offset;
    const auto* symbols = reinterpret_cast<const Elf64_Sym*>(image.data() + sections[i].sh_offset);
    for (std::size_t k = 1; k < sections[i].sh_size / sizeof(Elf64_Sym); ++k)
      if (symbols[k].st_shndx != SHN_UNDEF && ELF64_ST_BIND(symbols[k].st_info) != STB_LOCAL)
        names.insert(strings + symbols[k].st_name);
  }
  return names;
}

struct TPlugin {
  const char* Path;
  std::set<std::string> Entries;
};

TEST(PluginExports, EachLibraryExportsExactlyItsEntries) {
  const std::set<std::string> reader = {"Open", "Parse", "Close", "GetMainProcName", "GetExitProcName", "Version"};
  const TPlugin plugins[] = {
      {BRENLOW_PATH, {"Version", "FindFormat", "GetFormat", "SetFormat", "Open", "GetData", "PutData", "Close"}},
      {MARDYN_PATH, reader},
      {PELLIS_PATH, reader},
  };
  for (const TPlugin& plugin : plugins) {
    SCOPED_TRACE(plugin.Path);
    EXPECT_EQ(DefinedDynamicSymbols(plugin.Path), plugin.Entries);
  }
}

}  // namespace
