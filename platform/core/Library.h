#pragma once
#include <string>

// A shared library bound at run time by file name, in place of
// LoadLibraryA/GetProcAddress/FreeLibrary.
class TLibrary {
 public:
  TLibrary() = default;
  ~TLibrary();
  TLibrary(const TLibrary&) = delete;
  TLibrary& operator=(const TLibrary&) = delete;

  // Loads the library; a file name without a folder is looked for in the
  // program's own folder. False when it cannot be loaded (see Error()).
  bool Load(const std::string& fileName);
  void Free();
  bool Loaded() const { return handle_ != nullptr; }

  // The address of an exported entry, or null.
  void* Entry(const char* name) const;
  template <typename F>
  F Entry(const char* name) const {
    return reinterpret_cast<F>(Entry(name));
  }

  const std::string& Error() const { return error_; }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

// How binding a plug-in's entries by name ended.
enum class TBindResult { Bound, NotFound, Unusable };

// Tells the user why a plug-in cannot be used ("Cannot find library "NAME"" or
// "Cannot use library "NAME"", caption "Error"); true when it was bound.
bool ReportBinding(TBindResult result, const std::string& fileName);

// The folder of the running program (where the plug-ins stand), without a trailing '/'.
// TARVIK_BIN_DIR overrides it, so that tests find the built plug-ins.
std::string ProgramDirectory();
