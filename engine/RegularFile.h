#pragma once
// Reading a file whole that the user names or the program looks for.
#include <cstddef>
#include <string>

// Larger than any C source or monitor code file can be.
inline constexpr std::size_t MAX_TEXT_FILE_SIZE = 64u << 20;

// The bytes of a regular file of at most `limit` bytes; false, with bytes
// unchanged, for a file that cannot be read. A named pipe, a device or a
// folder is refused before anything waits on it, and a file is read in
// bounded steps, since its size proves nothing (a /proc file of size 0 reads
// on for gigabytes).
bool ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes);
