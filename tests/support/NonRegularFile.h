#pragma once
// A path that names no regular file: a named pipe, a folder, or a link to
// /dev/null. Nobody is at the pipe's other end; an open that would wait for
// one for good is let through from two seconds on (a reader is held open, and
// a writer opened and closed again and again, so a reader reads an empty
// file), so that its test fails rather than hangs.
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
      Watch = std::thread([this] {
        std::unique_lock lock(Mutex);
        if (Stopped.wait_for(lock, std::chrono::seconds(2), [this] { return Finished; })) return;
        Reader = open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        do
          close(open(Path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        while (!Stopped.wait_for(lock, std::chrono::milliseconds(100), [this] { return Finished; }));
      });
  }
  ~TNonRegularFile() {
    Waited();
    if (Reader >= 0) close(Reader);
  }
  // Whether an open of the pipe waited for its other end.
  bool Waited() {
    if (Watch.joinable()) {
      {
        std::lock_guard lock(Mutex);
        Finished = true;
      }
      Stopped.notify_one();
      Watch.join();
    }
    return Reader >= 0;
  }
  const std::string Path;

 private:
  std::mutex Mutex;
  std::condition_variable Stopped;
  bool Finished = false;
  int Reader = -1;
  std::thread Watch;
};

inline const char* const NonRegularKinds[] = {"pipe", "folder", "device"};
