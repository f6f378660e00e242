#pragma once
// Points the program's folder (where it finds its plug-ins and monitor files)
// elsewhere for one test.
#include <cstdlib>
#include <string>

class ProgramFolder {
 public:
  explicit ProgramFolder(const std::string& folder) {
    const char* old = std::getenv("TARVIK_BIN_DIR");
    previous = old ? old : "";
    setenv("TARVIK_BIN_DIR", folder.c_str(), 1);
  }
  ~ProgramFolder() { setenv("TARVIK_BIN_DIR", previous.c_str(), 1); }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

 private:
  std::string previous;
};
