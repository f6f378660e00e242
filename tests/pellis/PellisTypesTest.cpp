#include <cstring>
#include <string>

#include "PellisTest.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct TTypeCase {
  const char* Name;
  uint8_t Kind;
  Bytes Body;    // after index and kind, as the file holds it
  Bytes Stored;  // the record in the type buffer; empty when none is written
};

// Index 0x0102 throughout: stored little-endian as 02 01.
const TTypeCase TYPE_CASES[] = {
    {"Pointer", 15, {0, 7}, {2, 1, 15, 7, 0, 2, 0}},
    {"Array", 16, {0, 9, 0, 0, 0, 0x20, 0, 4}, {2, 1, 16, 9, 0, 0x20, 0, 0, 0, 4, 0, 0, 0}},
    {"LongArray", 41, {0, 9, 0, 0, 0, 0x20, 0, 1, 0, 0}, {2, 1, 16, 9, 0, 0x20, 0, 0, 0, 0, 0, 1, 0}},
    {"Structure", 17,
     {2, 's', 't', 0, 0, 0, 4, 0, 2, 0, 0, 0, 0, 1, 'a', 0, 6, 0, 0, 0, 2, 1, 'b', 0, 3},
     {2, 1, 17, 0, 4, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 1, 'a', 6, 0, 2, 0, 0, 0, 1, 'b', 3, 0}},
    {"Enumeration", 18,
     {1, 'e', 0, 0, 0, 2, 0, 2, 3, 'R', 'E', 'D', 0, 0, 4, 'B', 'L', 'U', 'E', 0, 1},
     {2, 1, 18, 2, 0, 0, 0, 2, 0, 0, 0, 3, 'R', 'E', 'D', 0, 0, 4, 'B', 'L', 'U', 'E', 1, 0}},
    {"Kind19", 19, {0xAB, 0xCD, 0, 5}, {2, 1, 19, 0xAB, 0xCD, 5, 0}},
    {"Function", 20, {0, 6, 0x11, 2, 0, 1, 0, 2}, {2, 1, 20, 6, 0, 0x11, 2, 0, 1, 0, 2}},
    {"Function35", 35, {0, 6, 0x11, 1, 2, 3, 4, 1, 0xAA, 0xBB}, {2, 1, 20, 6, 0, 0x11, 1, 0xAA, 0xBB}},
    {"Kind21", 21, {7, 0, 4}, {2, 1, 21, 7, 4, 0}},
    {"Kind23", 23, {0, 9}, {2, 1, 23, 9, 0}},
    {"Kind34", 34, {1, 9}, {2, 1, 34, 9, 1}},
    {"Kind36", 36, {0, 0, 1, 0, 0, 8}, {2, 1, 36, 0, 1, 0, 0, 8, 0}},
    {"Kind37", 37, {0, 9}, {2, 1, 37, 9, 0}},
    {"Kind40", 40, {0, 9}, {2, 1, 40, 9, 0}},
    {"Kind42", 42, {0xFF, 0, 5, 1, 2, 3, 4, 2, 'x', 'y'}, {2, 1, 42, 5, 0}},
    {"Kind43", 43, {0xFF, 0, 5, 1, 2, 3, 4, 0}, {2, 1, 43, 5, 0}},
    {"Kind44", 44,
     {0, 6, 3, 'c', 'o', 'l', 0xAB, 0xCD, 0, 2, 1, 'r', 0, 0, 0, 1, 1, 'g', 0, 0, 0, 2},
     {2, 1, 44, 6, 0, 3, 'c', 'o', 'l', 2, 0, 0, 0, 1, 'r', 1, 0, 0, 0, 1, 'g', 2, 0, 0, 0}},
    {"Kind49", 49, {0, 6, 1, 2, 3, 4}, {2, 1, 49, 6, 0}},
    {"Kind50", 50, {1, 2, 3, 4, 5, 6}, {}},
    {"Kind51", 51, {1, 2, 3, 4, 5, 6, 0xFF, 0xFF, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {}},
    {"Kind52", 52, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {}},
    {"Kind53", 53, {1, 2}, {}},
    {"Kind22", 22, {}, {}},
    {"Kind60", 60, {}, {}},
};

void PrintTo(const TTypeCase& c, std::ostream* out) { *out << c.Name; }

class PellisTypeTest : public PellisTest, public ::testing::WithParamInterface<TTypeCase> {};

TEST_P(PellisTypeTest, IsStoredByItsKind) {
  TIarObjectWriter file;
  file.TypeDefinition(0x0102, GetParam().Kind, GetParam().Body).Code({0x99}).End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_CODE, PR_END}));
  const Bytes& stored = GetParam().Stored;
  Bytes buffer(h.Types(), h.Types() + stored.size() + 2);
  Bytes expected = stored;
  expected.insert(expected.end(), {0, 0});
  EXPECT_EQ(buffer, expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PellisTypeTest, ::testing::ValuesIn(TYPE_CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

// The size of a record as the program's type walk passes over it.
std::size_t HostRecordSize(const uint8_t* record) {
  const uint8_t* p = record + 3;
  auto u32 = [](const uint8_t* at) { return uint32_t{at[0]} | at[1] << 8 | at[2] << 16 | uint32_t{at[3]} << 24; };
  switch (record[2]) {
    case 15: case 19: return 3 + 4;
    case 16: return 3 + 10;
    case 21: return 3 + 3;
    case 36: return 3 + 6;
    case 49: return 3 + 2;
    case 20: return 3 + 4 + 2 * p[3];
    case 17: {
      p += 1 + p[0] + 4;
      uint32_t count = u32(p);
      p += 4;
      for (uint32_t i = 0; i < count; ++i) p += 4 + 1 + p[4] + 2;
      return static_cast<std::size_t>(p - record);
    }
    case 18: {
      uint32_t count = u32(p + 4);
      p += 8;
      for (uint32_t i = 0; i < count; ++i) p += 1 + p[0] + 2;
      return static_cast<std::size_t>(p - record);
    }
    case 44: {
      p += 2 + 1 + p[2];
      uint32_t count = u32(p);
      p += 4;
      for (uint32_t i = 0; i < count; ++i) p += 1 + p[0] + 4;
      return static_cast<std::size_t>(p - record);
    }
    default:
      return record[2] >= 23 && record[2] <= 43 ? 3 + 2 : 3;
  }
}

TEST_F(PellisTest, TypeRecordsFollowOneAnotherAsTheProgramWalksThem) {
  TIarObjectWriter file;
  uint16_t index = 1;
  for (const TTypeCase& c : TYPE_CASES) file.TypeDefinition(index++, c.Kind, c.Body);
  file.End();
  ASSERT_EQ(h.Run(file).back().Kind, PR_END);

  std::vector<int> found;
  const uint8_t* record = h.Types();
  for (int16_t stored; std::memcpy(&stored, record, 2), stored != 0; record += HostRecordSize(record))
    found.push_back(stored);
  std::vector<int> written;
  index = 1;
  for (const TTypeCase& c : TYPE_CASES) {
    if (!c.Stored.empty()) written.push_back(index);
    ++index;
  }
  EXPECT_EQ(found, written);
}

}  // namespace
