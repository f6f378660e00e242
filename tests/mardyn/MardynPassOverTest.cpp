// Records, attributes and type letters that the reader reads without keeping
// anything: each must consume exactly its own bytes, so that the record behind
// it (a static symbol, or a pointer type) still arrives intact.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "MardynHarness.h"
#include "PackedValue.h"

namespace {

struct TPassOverCase {
  const char* Name;
  std::function<void(TIeeeWriter&)> Write;  // written inside module "m"
  std::vector<int> Kinds;                   // up to the static symbol that follows
  uint32_t LastValue = 0;                   // of the last PR_VALUE, when there is one
};

std::ostream& operator<<(std::ostream& out, const TPassOverCase& c) { return out << c.Name; }

std::vector<TPassOverCase> PassOverCases() {
  return {
      {"section begin", [](TIeeeWriter& w) { w.Byte(0xE5).Number(0x1234); }, {}},
      {"external reference", [](TIeeeWriter& w) { w.ExternalReference(3, "ext"); }, {}},
      {"address description without a third byte",
       [](TIeeeWriter& w) { w.Byte(0xEC).Number(8).Number(1); }, {}},
      {"address description with 0xCD", [](TIeeeWriter& w) { w.Byte(0xEC).Number(8).Number(1).Byte(0xCD); }, {}},
      {"global assignment", [](TIeeeWriter& w) { w.Byte(0xE2).Byte(0xC7).Byte(1).Number(0x100).Byte(2); }, {}},
      {"name assignment gives no value", [](TIeeeWriter& w) { w.Byte(0xE2).Byte(0xCE).Expression(0x55); }, {}},
      {"unused part offsets", [](TIeeeWriter& w) {
         for (uint8_t part : {0, 2, 4, 5, 6, 7}) w.Byte(0xE2).Byte(0xD7).Byte(part).Number(0x7FFF);
       }, {}},
      {"attribute record of another kind", [](TIeeeWriter& w) { w.Byte(0xF1).Byte(0x00); }, {}},
      {"public attribute with a fourth number",
       [](TIeeeWriter& w) { w.Byte(0xF1).Byte(0xC9).Number(1).Number(2).Number(3).Number(4).Word(0xE2C9).Expression(9); },
       {}},
      {"public attribute without a fourth number",
       [](TIeeeWriter& w) { w.Byte(0xF1).Byte(0xC9).Number(1).Number(0).Number(3).Word(0xE2C9).Expression(9); }, {}},
      {"public name read but not handed over", [](TIeeeWriter& w) { w.PublicName(1, "local", 0x40, 3); }, {}},
      {"public name with a number after its kind", [](TIeeeWriter& w) {
         w.Byte(0xE8).Number(1).Name("p").Word(0xF1C9).Number(1).Number(15).Number(0).Number(2);
         w.Word(0xE2C9).Number(1).Number(0x300);
       }, {PR_SYMBOLS}},
      {"attribute 4", [](TIeeeWriter& w) { w.Attribute(0, 0, 4); }, {}},
      {"attribute 10 with a number behind",
       [](TIeeeWriter& w) { w.VariableName(0, "r").Attribute(0, 4, 10).Number(1).Number(7); }, {PR_SYMBOLS}},
      {"attribute 10 alone", [](TIeeeWriter& w) { w.VariableName(0, "r").Attribute(0, 4, 10).Number(1); },
       {PR_SYMBOLS}},
      {"attribute 16 with a number and a name",
       [](TIeeeWriter& w) { w.Attribute(0, 0, 16).Number(0).Byte(1).Number(0x300).Name("file.c"); }, {}},
      {"attribute 16 with 0x80 and a long name",
       [](TIeeeWriter& w) { w.Attribute(0, 0, 16).Number(0).Byte(1).Byte(0x80).Name(std::string(200, 'n')); }, {}},
      {"attribute 16 without a name", [](TIeeeWriter& w) { w.Attribute(0, 0, 16).Number(0).Byte(1).Number(5); }, {}},
      {"attribute 16 alone", [](TIeeeWriter& w) { w.Attribute(0, 0, 16).Number(0); }, {}},
      {"attribute 19 with a number before its items", [](TIeeeWriter& w) {
         w.Attribute(0, 0, 19).Number(1).Number(3).Word(0xE2CE).Expression(0x42);
       }, {PR_VALUE}, 0x42},
      {"attribute 62 whose last item has no result", [](TIeeeWriter& w) {
         w.Attribute(0, 0, 62).Number(0).Number(2).Name("x").Word(0xE2CE).Expression(9);
         w.Word(0xF1CE).Number(0).Number(0).Number(4);
       }, {}},
      {"attribute 62 without a name",
       [](TIeeeWriter& w) { w.Attribute(0, 0, 62).Number(0).Number(1).Word(0xE2CE).Expression(0x31); }, {PR_VALUE},
       0x31},
      {"attribute 63", [](TIeeeWriter& w) { w.Attribute(0, 0, 63).Number(5).Number(0); }, {}},
      {"attribute 64 in a module", [](TIeeeWriter& w) {
         w.Attribute(0, 0, 64).Byte('2').Number(2).Name("cfg");
         w.Word(0xE2CE).Number(1).Number(2);
         w.Word(0xF1CE).Number(3).Word(0x0041).Name("opt");
       }, {}},
      {"attribute 64 in a function", [](TIeeeWriter& w) {
         w.Function("f", 0x10);
         w.Attribute(0, 0, 64).Number(0).Number(2).Name("cfg");
         w.Word(0xE2CE).Expression(1).Word(0xE2CE).Expression(0x99);
       }, {PR_VALUE}, 0x99},
      {"attribute 65", [](TIeeeWriter& w) { w.Attribute(0, 0, 65).Name("comment"); }, {}},
      {"variable name in a source file block", [](TIeeeWriter& w) {
         w.SourceFile("a.c").VariableName(0, "plain").BlockEnd();
       }, {}},
  };
}

class MardynPassOver : public ::testing::TestWithParam<TPassOverCase> {
 protected:
  void SetUp() override { ASSERT_TRUE(reader.Bound()) << "Mardyn.so not found or incomplete"; }
  TMardynHarness reader;
};

TEST_P(MardynPassOver, LeavesTheNextRecordIntact) {
  TIeeeWriter w;
  w.Module("m");
  GetParam().Write(w);
  w.Static("after", 4, 0x1234);
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  std::vector<int> expected = GetParam().Kinds;
  expected.insert(expected.end(), {PR_SYMBOLS, PR_END});
  ASSERT_EQ(Kinds(results), expected) << (results.empty() ? "" : results.back().Text);
  const TSymbolSlot& last = results[results.size() - 2].Symbol;
  EXPECT_STREQ(last.Name, "after");
  EXPECT_EQ(Value(last.Value), 0x1234u);
  for (const TParsed& p : results) {
    if (p.Kind == PR_VALUE) {
      EXPECT_EQ(p.Value, GetParam().LastValue);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Records, MardynPassOver, ::testing::ValuesIn(PassOverCases()), [](const auto& info) {
  std::string name = info.param.Name;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
});

// Type letters that write no record, each followed by a pointer type that must
// still arrive as the first record of the buffer.
struct TLetterCase {
  const char* Name;
  std::function<void(TIeeeWriter&)> Write;  // the letter and its fields
};

std::ostream& operator<<(std::ostream& out, const TLetterCase& c) { return out << c.Name; }

class MardynSilentLetters : public ::testing::TestWithParam<TLetterCase> {
 protected:
  void SetUp() override { ASSERT_TRUE(reader.Bound()) << "Mardyn.so not found or incomplete"; }
  TMardynHarness reader;
};

TEST_P(MardynSilentLetters, WriteNothingAndKeepTheirPlace) {
  TIeeeWriter w;
  w.ModuleTypes("t");
  w.VariableName(256, "quiet").Byte(0xF2).Number(256).Byte(0xCE).Number(256);
  GetParam().Write(w);
  w.Pointer(257, "p", 4);
  w.BlockEnd();
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_END})) << (results.empty() ? "" : results.back().Text);
  const uint8_t expected[] = {0x01, 0x01, 15, 6, 0, 2, 0, 0, 0};
  EXPECT_EQ(std::memcmp(reader.Types(), expected, sizeof expected), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, MardynSilentLetters,
    ::testing::Values(
        TLetterCase{"enumeration_with_leading_zero",
                    [](TIeeeWriter& w) { w.Byte('N').Byte(0).Number(3).Name("a").Number(0).Name("b").Number(1); }},
        TLetterCase{"enumeration", [](TIeeeWriter& w) { w.Byte('N').Name("a").Number(0); }},
        TLetterCase{"g_with_three_numbers", [](TIeeeWriter& w) { w.Byte('g').Number(1).Number(2).Number(3); }},
        TLetterCase{"g_with_two_numbers", [](TIeeeWriter& w) { w.Byte('g').Number(1).Number(2); }},
        TLetterCase{"n", [](TIeeeWriter& w) { w.Byte('n').Number(1).Number(2).Number(3); }},
        TLetterCase{"x_with_parameters", [](TIeeeWriter& w) {
                      w.Byte('x').Number(0).Number(1).Number(2).Number(3).Number(2).Number(4).Number(6);
                      w.Number(1).Number(9);
                    }},
        TLetterCase{"x_with_level_0", [](TIeeeWriter& w) {
                      w.Byte('x').Number(0).Number(1).Number(2).Number(3).Number(0).Number(0);
                    }},
        TLetterCase{"x_with_unknown_parameters", [](TIeeeWriter& w) {
                      w.Byte('x').Number(0).Number(1).Number(2).Number(3).Number(0xFFFFFFFF).Byte(0);
                    }},
        TLetterCase{"other_letter", [](TIeeeWriter& w) { w.Byte('Q'); }}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
