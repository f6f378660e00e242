#pragma once
// A path that names no regular file: a named pipe, a folder, or a link to
// /dev/null. The pipe's writer opens and closes it as soon as a reader opens
// it, so that a reader that would wait in its open for good reads an empty
// file instead, and its test fails rather than hangs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

class TNonRegularFile {
 public:
  TNonRegularFile(const std::string& kind, std::string path) : Path(std::move(path)) {
    if (kind == "folder") std::filesystem::create_directory(Path);
    if (kind == "device") std::filesystem::create_symlink("/dev/null", Path);
    if (kind == "pipe" && mkfifo(Path.c_str(), 0600) == 0)
      Writer = std::thread([this] { close(open(Path.c_str(), O_WRONLY | O_CLOEXEC)); });
  }
  ~TNonRegularFile() {
    if (!Writer.joinable()) return;
    const int reader = open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);  // for a writer nobody came for
    Writer.join();
    close(reader);
  }
  const std::string Path;

 private:
  std::thread Writer;
};

inline const char* const NonRegularKinds[] = {"pipe", "folder", "device"};
