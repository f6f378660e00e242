#include "Library.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

#include "MessageBox.h"

TLibrary::~TLibrary() { Free(); }

bool TLibrary::Load(const std::string& fileName) {
  Free();
  std::string path = fileName;
  if (fileName.find('/') == std::string::npos) path = ProgramDirectory() + "/" + fileName;
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* why = dlerror();
    error_ = why ? why : "cannot load " + path;
    return false;
  }
  error_.clear();
  return true;
}

void TLibrary::Free() {
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
}

void* TLibrary::Entry(const char* name) const {
  return handle_ ? dlsym(handle_, name) : nullptr;
}

std::string ProgramDirectory() {
  if (const char* dir = std::getenv("TARVIK_BIN_DIR"); dir && *dir) return dir;
  std::error_code error;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return ".";
  return exe.parent_path().string();
}

bool ReportBinding(TBindResult result, const std::string& fileName) {
  if (result == TBindResult::Bound) return true;
  const char* what = result == TBindResult::NotFound ? "Cannot find library \"" : "Cannot use library \"";
  MessageBox((what + fileName + "\"").c_str(), "Error", MB_ICONSTOP);
  return false;
}
