#pragma once
// One type definition of the object file, turned into the type record that
// the program's type buffer holds (little-endian, by the stored kind).
#include <cstdint>
#include <vector>

class TObjectFile;

// Reads the definition after its tag. The result is empty for kinds that
// leave no record. A record that grows beyond the type buffer throws
// TRecordFault before it takes more memory.
std::vector<uint8_t> ReadTypeDefinition(TObjectFile& file);
