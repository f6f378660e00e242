#pragma once
// Files that the user names or the program looks for, opened so that a named
// pipe with nobody at its other end never holds the program.
#include <cstddef>
#include <cstdio>
#include <string>

// Larger than any C source or monitor code file can be.
inline constexpr std::size_t MAX_TEXT_FILE_SIZE = 64u << 20;

// The bytes of a regular file of at most `limit` bytes; false, with bytes
// unchanged, for a file that cannot be read. A named pipe, a device or a
// folder is refused before anything waits on it, and a file is read in
// bounded steps, since its size proves nothing (a /proc file of size 0 reads
// on for gigabytes).
bool ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes);

// The file created or emptied for writing, as fopen's "wb" would; null when
// it cannot be, a named pipe that nobody reads among them.
std::FILE* CreateUserFile(const std::string& path);
