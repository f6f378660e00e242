#pragma once
#include <cstddef>
#include <string>

// The one image or companion file the library has open, over POSIX descriptors.
class TImageFile {
 public:
  TImageFile() = default;
  ~TImageFile() { Close(); }
  TImageFile(const TImageFile&) = delete;
  TImageFile& operator=(const TImageFile&) = delete;

  // Mode 0 opens an existing regular file for reading (a named pipe, a device
  // or a folder is no image); any other mode creates or empties the file for
  // writing (a named pipe that nobody reads cannot be).
  bool Open(const std::string& path, int mode);
  // False when the system reports that the file's last bytes did not reach it.
  bool Close();
  bool IsOpen() const { return fd_ >= 0; }
  int Mode() const { return mode_; }

  // Up to `size` bytes: fewer only at the end of the file; 0 at its end, -1 on an error.
  long Read(void* buffer, size_t size);
  // Writes all of the bytes: their number, or -1 when the write fails or is short.
  int Write(const char* data, size_t size);

 private:
  int fd_ = -1;
  int mode_ = 0;
};
