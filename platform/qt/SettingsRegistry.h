#pragma once
#include <cstdint>
#include <string>

#include "RegistryStore.h"

class QWidget;

// The key under which the windows keep their geometry between runs.
inline constexpr const char* RegistryKey = "SOFTWARE\\Ostrel\\Corvane";

// The registry store of the program: binary values in the user's
// configuration folder (organisation "Ostrel", application "Corvane"), the
// key path kept as written, value names matched without regard to letter case.
class TSettingsRegistry : public TRegistryStore {
 public:
  bool ReadBinary(const std::string& key, const std::string& name, void* data, std::size_t size) override;
  bool WriteBinary(const std::string& key, const std::string& name, const void* data, std::size_t size) override;
  bool ValueExists(const std::string& key, const std::string& name) override;
};

// The store the windows use: the program's own, unless a test installed another.
TRegistryStore& Registry();
void SetRegistry(TRegistryStore* store);  // null: back to the program's own

// A window's stored placement: signed 32-bit left, top, width and height,
// little-endian, as one 16-byte value.
struct TWindowRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};
bool ReadWindowRect(const std::string& name, TWindowRect& rect);
bool WriteWindowRect(const std::string& name, const TWindowRect& rect);
// A window moved and sized as stored under name (left as it is without a
// stored placement), no larger than its screen, and brought onto a screen
// when that lies beyond every one; and its placement stored.
void RestoreWindowRect(const std::string& name, QWidget& window);
void StoreWindowRect(const std::string& name, const QWidget& window);
