#pragma once
// A path that names no regular file, made for one test: a named pipe, a
// folder, or a link to a device (/dev/null).
//
// The pipe's other end is opened for writing, and closed at once, as soon as
// anyone opens the pipe to read: a reader that would wait in its open for a
// writer reads an empty file instead, so a test of it fails rather than hangs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

class TNonRegularFile {
 public:
  TNonRegularFile(const std::string& kind, std::string path) : Path(std::move(path)) {
    if (kind == "folder") {
      std::filesystem::create_directory(Path);
    } else if (kind == "device") {
      std::filesystem::create_symlink("/dev/null", Path);
    } else if (mkfifo(Path.c_str(), 0600) == 0) {
      Writer = std::thread([this] {
        const int fd = ::open(Path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd >= 0) ::close(fd);
      });
    }
  }
  ~TNonRegularFile() {
    if (!Writer.joinable()) return;
    // A reader of our own releases the writer that nobody came for.
    const int fd = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    Writer.join();
    if (fd >= 0) ::close(fd);
  }
  TNonRegularFile(const TNonRegularFile&) = delete;
  TNonRegularFile& operator=(const TNonRegularFile&) = delete;

  const std::string Path;

 private:
  std::thread Writer;
};

inline const char* const NonRegularKinds[] = {"pipe", "folder", "device"};
