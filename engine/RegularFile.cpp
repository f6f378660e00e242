#include "RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace {

constexpr std::size_t ReadStep = 64 * 1024;

}  // namespace

bool ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes) {
  // Without O_NONBLOCK the open of a named pipe waits for a writer for good;
  // on a regular file the flag changes nothing.
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  struct stat info;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<uintmax_t>(info.st_size) <= limit;
  std::string read;
  while (ok) {
    const std::size_t done = read.size();
    read.resize(done + std::min(ReadStep, limit + 1 - done));
    const ssize_t got = ::read(fd, read.data() + done, read.size() - done);
    read.resize(done + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    ok = read.size() <= limit;
  }
  ::close(fd);
  if (ok) bytes = std::move(read);
  return ok;
}

std::FILE* CreateUserFile(const std::string& path) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return nullptr;
  // Once open, a pipe that somebody reads is written as a file is.
  std::FILE* file = fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0 ? fdopen(fd, "wb") : nullptr;
  if (!file) ::close(fd);
  return file;
}
