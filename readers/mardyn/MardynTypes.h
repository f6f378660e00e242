#pragma once
// Type definitions of the module and global type blocks: rebasing of the
// file's type indexes, the map of type references, and the records written
// into the program's type buffer.
#include <cstdint>
#include <unordered_map>

class TIeeeInput;
class TMardynTables;

class TMardynTypes {
 public:
  void Reset() { *this = TMardynTypes{}; }

  // A module type block begins: its indexes continue behind those given so far.
  void BeginModuleTypes();

  // A type reference n as records give it, mapped to the index the program uses.
  uint16_t Map(uint32_t n) const;

  // Reads one TY record (after the NN that names it) and writes its record.
  void ReadDefinition(TIeeeInput& input, TMardynTables& tables);

 private:
  uint16_t Rebase(uint32_t n) const { return static_cast<uint16_t>(base_ + (n - 256)); }
  uint32_t SizeOf(uint16_t index) const;

  uint16_t highest_ = 256;
  uint16_t base_ = 0;
  bool anyGiven_ = false;
  // Byte sizes of the records written so far, for the sizes of arrays over them.
  std::unordered_map<uint16_t, uint32_t> sizes_;
};
