#include "BrenlowLibrary.h"

#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iomanip>
#include <sstream>

std::ostream& operator<<(std::ostream& out, const TReadRecord& record) {
  return out << "{result " << record.Result << ", type " << record.Type << ", area " << record.Area
             << ", address 0x" << std::hex << record.Address << std::dec << ", count " << record.Count
             << ", \"" << record.Text << "\"}";
}

std::vector<TReadRecord> TBrenlow::ReadAll(int format, const std::string& path, size_t limit) {
  std::vector<TReadRecord> records;
  EXPECT_EQ(SetFormat(format), 1);
  EXPECT_EQ(Open(path.c_str(), 0), 1) << path;
  // Guard bytes around the 256-byte text catch any write past it.
  char buffer[IMAGE_TEXT_SIZE + 64];
  std::memset(buffer, 0x5A, sizeof buffer);
  char* text = buffer + 32;
  while (records.size() < limit) {
    TImageRecord record{0xEEEE, 0, 0, 0, text};
    text[0] = '\0';
    int result = GetData(&record);
    if (result < 0)
      records.push_back({result, 0, 0, 0, 0, ""});
    else
      records.push_back({result, record.Type, record.Area, record.Address, record.Count,
                         std::string(text, strnlen(text, IMAGE_TEXT_SIZE))});
    if (result < 0 || record.Type == IR_END) break;
  }
  for (size_t i = 0; i < 32; ++i) {
    EXPECT_EQ(buffer[i], 0x5A) << "written before the text buffer";
    EXPECT_EQ(buffer[32 + IMAGE_TEXT_SIZE + i], 0x5A) << "written past the text buffer";
  }
  Close();
  return records;
}

void TBrenlow::WriteAll(int format, const std::string& path, std::vector<TImageRecord> records) {
  EXPECT_EQ(SetFormat(format), 1);
  EXPECT_EQ(Open(path.c_str(), 1), 1) << path;
  for (TImageRecord& record : records) EXPECT_GE(PutData(&record), 0);
  EXPECT_EQ(Close(), 1);
}

void BrenlowTest::SetUp() {
  ASSERT_TRUE(brenlow_.Bound()) << "Brenlow.so not found or incomplete in " << ProgramDirectory();
  std::string pattern = (std::filesystem::temp_directory_path() / "brenlow-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  folder_ = pattern;
}

void BrenlowTest::TearDown() {
  if (brenlow_.Bound()) brenlow_.Close();
  std::error_code error;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, error);
}

std::string BrenlowTest::Write(const std::string& name, const std::string& content) const {
  std::ofstream(Path(name), std::ios::binary) << content;
  return Path(name);
}

std::string BrenlowTest::Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TImageRecord DataRecord(uint32_t address, char* text, uint16_t type) {
  return TImageRecord{type, 0, address, static_cast<uint16_t>(std::strlen(text) / 2), text};
}
