#pragma once
// A registry held in memory, in place of the program's own while it lives,
// so that window geometry written by one test never reaches another.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "SettingsRegistry.h"

class TMemoryRegistry : public TRegistryStore {
 public:
  TMemoryRegistry() { SetRegistry(this); }
  ~TMemoryRegistry() override { SetRegistry(nullptr); }
  TMemoryRegistry(const TMemoryRegistry&) = delete;
  TMemoryRegistry& operator=(const TMemoryRegistry&) = delete;

  bool ReadBinary(const std::string& key, const std::string& name, void* data, std::size_t size) override {
    auto value = Values.find(Path(key, name));
    if (value == Values.end() || value->second.size() != size) return false;
    std::memcpy(data, value->second.data(), size);
    return true;
  }
  bool WriteBinary(const std::string& key, const std::string& name, const void* data, std::size_t size) override {
    const auto* bytes = static_cast<const unsigned char*>(data);
    Values[Path(key, name)].assign(bytes, bytes + size);
    return true;
  }
  bool ValueExists(const std::string& key, const std::string& name) override {
    return Values.count(Path(key, name)) != 0;
  }

  // Value names match without regard to letter case.
  static std::string Path(const std::string& key, std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return key + "\\" + name;
  }

  std::map<std::string, std::vector<unsigned char>> Values;
};
