#include "Companion.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>

#include "ImageRecord.h"
#include "LoaderState.h"

namespace fs = std::filesystem;

std::string CompanionPath(const std::string& imagePath, const std::string& extension) {
  fs::path image(imagePath);
  fs::path folder = image.parent_path();
  std::string stem = image.filename().stem().string();
  fs::path wanted = folder / (stem + extension);
  std::error_code error;
  if (fs::is_regular_file(wanted, error)) return wanted.string();

  // Any other spelling of the extension, the first in name order.
  std::string found;
  std::string prefix = stem + ".";
  fs::directory_iterator entries(folder.empty() ? fs::path(".") : folder, error);
  for (fs::directory_iterator end; !error && entries != end; entries.increment(error)) {
    std::string name = entries->path().filename().string();
    if (name.size() != stem.size() + extension.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (strcasecmp(name.c_str() + stem.size(), extension.c_str()) != 0) continue;
    if (!entries->is_regular_file(error)) continue;
    if (found.empty() || name < found) found = name;
  }
  return found.empty() ? wanted.string() : (folder / found).string();
}

namespace {

bool OpenCompanion(const char* extension) {
  TLoaderState& state = State();
  state.Phase = 1;
  state.UpperAddress = 0;
  state.BinaryOffset = 0;
  state.InSection = false;
  state.LinePending = false;
  state.LinePosition = 0;
  state.File.Close();
  state.Lines.Reset();
  return state.File.Open(CompanionPath(state.Path, extension), 0);
}

}  // namespace

int ReadImageThenCompanion(TImageRecord& record, TRecordReader image, const char* extension,
                           TRecordReader companion) {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return -1;
  if (state.Phase == 0) {
    int result = image(record);
    if (result != 0 || record.Type != IR_END) return result;
    if (!OpenCompanion(extension)) return 0;
  }
  return companion(record);
}
