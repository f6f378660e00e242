#pragma once
// While it lives, no file of this process grows past a number of bytes, as on
// a disk that fills: the write that crosses it is cut short and the next one
// fails (EFBIG, the signal it would raise being ignored). No rights needed.
#include <sys/resource.h>

#include <csignal>

class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &Previous);
    PreviousSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = Previous;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &Previous);
    std::signal(SIGXFSZ, PreviousSignal);
  }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  rlimit Previous{};
  void (*PreviousSignal)(int) = SIG_DFL;
};
