#include "ImageFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

bool TImageFile::Open(const std::string& path, int mode) {
  Close();
  int flags = mode == 0 ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
  do {
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  } while (fd_ < 0 && errno == EINTR);
  mode_ = mode;
  return fd_ >= 0;
}

bool TImageFile::Close() {
  if (fd_ < 0) return true;
  // Linux frees the descriptor even when close is interrupted, so that is no failure.
  const bool closed = ::close(fd_) == 0 || errno == EINTR;
  fd_ = -1;
  return closed;
}

long TImageFile::Read(void* buffer, size_t size) {
  if (fd_ < 0) return -1;
  size_t done = 0;
  while (done < size) {
    ssize_t got = ::read(fd_, static_cast<char*>(buffer) + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<long>(done);
}

int TImageFile::Write(const char* data, size_t size) {
  if (fd_ < 0) return -1;
  size_t done = 0;
  while (done < size) {
    ssize_t put = ::write(fd_, data + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return -1;
    done += static_cast<size_t>(put);
  }
  return static_cast<int>(done);
}
