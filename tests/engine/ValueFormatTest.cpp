#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Utility.h"

namespace {

static_assert(Swap16(0x1234) == 0x3412);
static_assert(Swap32(0x12345678) == 0x78563412);

constexpr uint8_t LITTLE = 1;
constexpr uint8_t BIG = 0;

std::string Format(const char* descriptor, const std::vector<uint8_t>& data, uint8_t order = LITTLE,
                   size_t capacity = 256) {
  std::vector<char> out(capacity + 1, '#');
  const int n = FormatValue(out.data(), capacity, descriptor, data.data(), data.size(), order);
  EXPECT_EQ(out[capacity], '#') << descriptor;  // nothing beyond the capacity
  std::string text(out.data());
  EXPECT_EQ(static_cast<size_t>(n), text.size()) << descriptor;
  return text;
}

struct FormatCase {
  const char* descriptor;
  std::vector<uint8_t> data;
  uint8_t order;
  const char* text;
};

TEST(FormatValueTest, Items) {
  const FormatCase cases[] = {
      {"%1h", {0x0A}, LITTLE, "0x0A"},
      {"%2h", {0x34, 0x12}, LITTLE, "0x1234"},
      {"%2h", {0x34, 0x12}, BIG, "0x3412"},
      {"%3h", {0x01, 0x02, 0x03}, LITTLE, "0x030201"},
      {"%3h", {0x01, 0x02, 0x03}, BIG, "0x010203"},
      {"%4h", {0x78, 0x56, 0x34, 0x12}, LITTLE, "0x12345678"},
      {"%4h", {0x78, 0x56, 0x34, 0x12}, BIG, "0x78563412"},
      {"%8h", {1, 2, 3, 4, 5, 6, 7, 8}, LITTLE, ""},
      {"%1s", {0x41}, LITTLE, "'A'"},
      {"%2s", {0xFF, 0xFF}, LITTLE, "-1"},
      {"%2s", {0x80, 0x00}, BIG, "-32768"},
      {"%3s", {0xFF, 0xFF, 0xFF}, LITTLE, "16777215"},
      {"%4s", {0xFF, 0xFF, 0xFF, 0xFF}, LITTLE, "-1"},
      {"%1u", {0x7E}, LITTLE, "'~'"},
      {"%2u", {0xFF, 0xFF}, LITTLE, "65535"},
      {"%4u", {0xFF, 0xFF, 0xFF, 0xFF}, LITTLE, "4294967295"},
      {"%2c", {0x41, 0x00}, LITTLE, "A"},
      {"%2c", {0x41, 0x01}, LITTLE, "\\d321"},
      {"%1c", {0x5C}, LITTLE, "'\\\\'"},
      {"%1c", {0x00}, LITTLE, "'\\d0'"},
      {"%1c", {0x1F}, LITTLE, "'\\d31'"},
      {"%1c", {0x7F}, LITTLE, "'\\d127'"},
      {"%1c", {0xE9}, LITTLE, "'\\d233'"},
      {"%4f", {0x00, 0x00, 0xC0, 0x3F}, LITTLE, "1.500000"},
      {"%4f", {0x3F, 0xC0, 0x00, 0x00}, BIG, "1.500000"},
      {"%4l", {0x00, 0x00, 0x20, 0xC1}, LITTLE, "-10.000000"},
      {"%8d", {0, 0, 0, 0, 0, 0, 0xF4, 0x3F}, LITTLE, "1.250000"},
      {"%8d", {0x3F, 0xF4, 0, 0, 0, 0, 0, 0}, BIG, "1.250000"},
      {"%8D", {0, 0, 0, 0, 0, 0, 0xF4, 0x3F}, LITTLE, "1.250000"},
      {"%1?%1u", {0x00, 0x41}, LITTLE, "'A'"},
      {"%2?", {1, 2}, LITTLE, ""},
      {"%1x%1u", {1, 0x42}, LITTLE, ",'B'"},
      {"%2d", {1, 2}, LITTLE, ""},
      {"%8s", {1, 2, 3, 4, 5, 6, 7, 8}, LITTLE, ""},
      {"%9h%1h", {7}, LITTLE, ",0x07"},
      {"n=%2u;", {5, 0}, LITTLE, "n=5,;"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.descriptor, c.data, c.order), c.text) << c.descriptor;
}

TEST(FormatValueTest, StructuresAndArrays) {
  const FormatCase cases[] = {
      {"{%2s%1c}", {0xFF, 0xFF, 0x41}, LITTLE, "{-1,'A'}"},
      {"[%1c%1c%1c]", {0x48, 0x69, 0x00}, LITTLE, "\"Hi\\d0\""},
      {"[%1c%1c]", {'a', '\\'}, LITTLE, "\"a\\\\\""},
      {"[%2s%2s]", {1, 0, 2, 0}, LITTLE, "1,2"},
      {"[%2s%2s]", {0, 1, 0, 2}, BIG, "1,2"},
      {"{%2u[%1c%1c]%1h}", {7, 0, 'o', 'k', 9}, LITTLE, "{7,\"ok\",0x09}"},
      {"{%2u[%1c%1c]}", {7, 0, 'o', 'k'}, LITTLE, "{7,\"ok\"}"},
      {"[[%1c%1c][%1c%1c]]", {'a', 'b', 'c', 'd'}, LITTLE, "\"ab\",\"cd\","},
      {"[{%1u}{%1u}]", {'a', 'b'}, LITTLE, "{'a'}{'b'}"},
      {"{%1c%1?%2u}", {'x', 0xEE, 3, 0}, LITTLE, "{'x',3}"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.descriptor, c.data, c.order), c.text) << c.descriptor;
}

TEST(FormatValueTest, StopsBeforeAnItemBeyondTheData) {
  EXPECT_EQ(Format("%1h%2h", {1}), "0x01,");
  EXPECT_EQ(Format("{%2u%2u}", {1, 0, 2}), "{1,");
  EXPECT_EQ(Format("%8d", {1, 2, 3}), "");
  EXPECT_EQ(Format("%4u", {}), "");
  EXPECT_EQ(Format("%", {1}), "");
  EXPECT_EQ(Format("ab%1", {1}), "ab");
  char out[8] = "xxxxxxx";
  EXPECT_EQ(FormatValue(out, sizeof out, "%1h", nullptr, 4, LITTLE), 0);
  EXPECT_STREQ(out, "");
}

TEST(FormatValueTest, OutputIsCutAtItsCapacity) {
  EXPECT_EQ(Format("%4u", {0xFF, 0xFF, 0xFF, 0xFF}, LITTLE, 5), "4294");
  EXPECT_EQ(Format("{%1c}", {0}, LITTLE, 4), "{'\\");
  EXPECT_EQ(Format("%8d", {0, 0, 0, 0, 0, 0, 0xF0, 0x7F}, LITTLE, 6), "inf");
  EXPECT_EQ(Format("%8D", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xEF, 0x7F}, LITTLE, 400).size(), 316u);
  EXPECT_EQ(Format("abc", {}, LITTLE, 1), "");
  // A long descriptor over a short buffer: every byte formatted, output bounded.
  std::string descriptor;
  for (int i = 0; i < 40; ++i) descriptor += "%8D";
  std::vector<uint8_t> data(40 * 8, 0xFF);
  for (size_t i = 6; i < data.size(); i += 8) data[i] = 0xEF, data[i + 1] = 0x7F;
  EXPECT_EQ(Format(descriptor.c_str(), data, LITTLE, 1024).size(), 1023u);
  char zero[1] = {'#'};
  EXPECT_EQ(FormatValue(zero, 0, "%1h", data.data(), 1, LITTLE), 0);
  EXPECT_EQ(zero[0], '#');
}

TEST(ByteStreamTest, ReadsLittleEndianAndStopsAtItsEnd) {
  const uint8_t bytes[] = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xAA};
  TByteStream s(bytes, bytes + sizeof bytes);
  uint8_t b = 0;
  uint16_t w = 0;
  uint32_t d = 0;
  s.ReadByte(b);
  EXPECT_EQ(b, 0x01);
  EXPECT_EQ(s.PeekWord(), 0x1234);
  EXPECT_EQ(s.GetPos(), bytes + 1);
  s.ReadWord(w);
  EXPECT_EQ(w, 0x1234);
  EXPECT_EQ(s.PeekDword(), 0x12345678u);
  s.ReadDword(d);
  EXPECT_EQ(d, 0x12345678u);
  EXPECT_FALSE(s.Exhausted());
  EXPECT_EQ(s.PeekWord(), 0);  // one byte left
  EXPECT_TRUE(s.Exhausted());
  EXPECT_EQ(s.GetPos(), bytes + sizeof bytes);

  TByteStream t(bytes, bytes + sizeof bytes);
  t.Skip(7);
  uint8_t copy[4] = {9, 9, 9, 9};
  t.Read(copy, 4);
  EXPECT_EQ(std::vector<uint8_t>(copy, copy + 4), (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_TRUE(t.Exhausted());
  t.ReadDword(d);
  EXPECT_EQ(d, 0u);

  TByteStream u(bytes, bytes + sizeof bytes);
  u.SetPos(bytes + 3);
  u.ReadWord(w);
  EXPECT_EQ(w, 0x5678);
  u.Skip(60000);
  EXPECT_TRUE(u.Exhausted());
  // Set back inside the buffer, an exhausted stream still peeks without moving.
  u.SetPos(bytes + 1);
  EXPECT_EQ(u.PeekWord(), 0x1234);
  EXPECT_EQ(u.PeekDword(), 0x56781234u);
  EXPECT_EQ(u.GetPos(), bytes + 1);
  TByteStream v(bytes, bytes + 4);
  v.SetPos(bytes + 6);
  EXPECT_TRUE(v.Exhausted());
  EXPECT_EQ(v.GetPos(), bytes + 4);
}

}  // namespace
