// Reads one input as an image in every format, with the part after "@@@@" as its
// companion symbol file, into a text buffer of exactly 256 bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "ImageRecord.h"

extern "C" {
int32_t SetFormat(int32_t number);
int32_t Open(const char* path, int32_t mode);
int32_t GetData(TImageRecord* record);
int32_t Close();
}

namespace {

// The folder lives in static storage so that the exit handler can still remove it.
char folder[] = "/tmp/fuzz-brenlow-XXXXXX";

std::string Folder() {
  static bool made = [] {
    if (mkdtemp(folder) == nullptr) std::abort();
    std::atexit([] { std::filesystem::remove_all(folder); });
    return true;
  }();
  return made ? folder : "";
}

void Save(const std::string& path, std::string_view content) {
  std::ofstream(path, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t split = input.find("@@@@");
  std::string_view image = input.substr(0, split);
  std::string_view companion = split == std::string_view::npos ? std::string_view() : input.substr(split + 4);
  std::string path = Folder() + "/image.hex";
  Save(path, image);
  for (const char* extension : {".M51", ".SYM", ".LST"}) Save(Folder() + "/image" + extension, companion);

  char* text = new char[IMAGE_TEXT_SIZE];
  for (int format = 1; format <= 8; ++format) {
    SetFormat(format);
    if (Open(path.c_str(), 0) != 1) std::abort();
    // Every record takes at least one byte of the files, so more records than
    // bytes means a reader that does not move on.
    size_t limit = size + 8;
    for (size_t records = 0;; ++records) {
      if (records > limit) std::abort();
      TImageRecord record{0, 0, 0, 0, text};
      int result = GetData(&record);
      if (result < 0 || record.Type == IR_END) break;
      if (result > 0 && std::strlen(text) >= IMAGE_TEXT_SIZE) std::abort();
    }
    Close();
  }
  delete[] text;
  return 0;
}
