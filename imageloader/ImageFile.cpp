#include "ImageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

bool TImageFile::Open(const std::string& path, int mode) {
  Close();
  // A named pipe would hold a blocking open until its other end comes, before
  // any abort key is looked at; on a regular file O_NONBLOCK changes nothing.
  int flags = mode == 0 ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
  do {
    fd_ = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  } while (fd_ < 0 && errno == EINTR);
  struct stat info;
  if (fd_ >= 0 && mode == 0 && (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) Close();
  // A pipe that somebody reads is written as a file is, once open.
  if (fd_ >= 0 && mode != 0 && fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_NONBLOCK) != 0) Close();
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
