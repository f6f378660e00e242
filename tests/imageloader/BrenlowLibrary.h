#pragma once
// Binds the built Brenlow.so as the program does and drives it record by record.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "ImageBinding.h"

// One record as GetData delivered it, with the call's result.
struct TReadRecord {
  int Result;
  int Type;
  int Area;
  uint32_t Address;
  int Count;
  std::string Text;
  bool operator==(const TReadRecord&) const = default;
};
std::ostream& operator<<(std::ostream& out, const TReadRecord& record);

class TBrenlow : public TImageBinding {
 public:
  TBrenlow() : bound_(Bind(IMAGE_ALL) == TBindResult::Bound) {}
  bool Bound() const { return bound_; }

  // Reads a whole file in a format the way the program loads an image: until a
  // result of -1 or a record of type 9 (both included), at most `limit` records.
  std::vector<TReadRecord> ReadAll(int format, const std::string& path, size_t limit = 100000);
  // Writes the records in a format (mode 1) and closes the file.
  void WriteAll(int format, const std::string& path, std::vector<TImageRecord> records);

 private:
  bool bound_;
};

// A fresh folder per test, removed afterwards.
class BrenlowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  std::string Write(const std::string& name, const std::string& content) const;
  static std::string Read(const std::string& path);

  TBrenlow brenlow_;
  std::filesystem::path folder_;
};

// A data record over a text the caller keeps alive.
TImageRecord DataRecord(uint32_t address, char* text, uint16_t type = IR_DATA);
