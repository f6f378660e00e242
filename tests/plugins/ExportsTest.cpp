// The program binds its plug-ins by entry name, so each library's dynamic
// symbol table holds its entries and nothing else: inline library code that a
// plug-in compiles in must not reach the program's or another plug-in's
// symbol lookup.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

// The names that a library defines in its dynamic symbol table.
std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
  std::set<std::string> names;
  FILE* nm = popen((NM " -D --defined-only --format=posix '" + path + "'").c_str(), "r");
  char name[4096];
  while (nm && std::fscanf(nm, "%4095s %*[^\n]", name) == 1) names.insert(name);
  if (nm) pclose(nm);
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
