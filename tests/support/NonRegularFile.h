#pragma once
// A path that names no regular file: a named pipe, a folder, or a link to
// /dev/null. The pipe's writer opens and closes it as soon as a reader opens
// it, so that a reader that would wait in its open for good reads an empty
// file instead, and its test fails rather than hangs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
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

// A named pipe that nobody reads. A writer that waits in its open is let
// through by a reader that comes after two seconds, so that its test fails
// rather than hangs.
class TPipeNobodyReads {
 public:
  explicit TPipeNobodyReads(std::string path) : Path(std::move(path)) {
    mkfifo(Path.c_str(), 0600);
    Watch = std::thread([this] {
      std::unique_lock lock(Mutex);
      if (!Stopped.wait_for(lock, std::chrono::seconds(2), [this] { return Finished; }))
        Reader = open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    });
  }
  ~TPipeNobodyReads() {
    Stop();
    if (Reader >= 0) close(Reader);
  }
  // Whether a writer waited for a reader.
  bool WriterWaited() {
    Stop();
    return Reader >= 0;
  }
  const std::string Path;

 private:
  void Stop() {
    if (!Watch.joinable()) return;
    {
      std::lock_guard lock(Mutex);
      Finished = true;
    }
    Stopped.notify_one();
    Watch.join();
  }
  std::mutex Mutex;
  std::condition_variable Stopped;
  bool Finished = false;
  int Reader = -1;
  std::thread Watch;
};
