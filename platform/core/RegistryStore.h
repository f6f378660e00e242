#pragma once
#include <cstddef>
#include <string>

// In place of TRegistry under HKEY_LOCAL_MACHINE: binary values under a key
// path. Value names match without regard to letter case.
class TRegistryStore {
 public:
  virtual ~TRegistryStore() = default;
  // Reads exactly size bytes; false when the value is missing or has another size.
  virtual bool ReadBinary(const std::string& key, const std::string& name, void* data, std::size_t size) = 0;
  virtual bool WriteBinary(const std::string& key, const std::string& name, const void* data, std::size_t size) = 0;
  virtual bool ValueExists(const std::string& key, const std::string& name) = 0;
};
