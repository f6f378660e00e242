// The reader plug-in over files it must refuse: every one ends with the error
// record (never with a clean end), and nothing is written past a table.
#include <gtest/gtest.h>

#include <cstring>

#include "MardynHarness.h"
#include "PackedValue.h"

namespace {

using Body = std::vector<uint8_t>;

Body Bytes(std::initializer_list<int> values) {
  Body bytes;
  for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
  return bytes;
}

Body Cut(Body bytes, std::size_t drop) {
  bytes.resize(bytes.size() - drop);
  return bytes;
}

class MardynFaults : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(reader.Bound()) << "Mardyn.so not found or incomplete"; }
  TMardynHarness reader;
};

TEST_F(MardynFaults, UnknownFirstRecordDumpsTheFirst32Bytes) {
  Body file;
  for (int n = 0; n < 40; ++n) file.push_back(static_cast<uint8_t>(0x10 + n));
  auto results = reader.ParseBytes(file);
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_ERROR}));
  EXPECT_EQ(results[0].Text,
            "Unimplemented block at [0]\n\nDump:\n"
            "101112131415161718191A1B1C1D1E1F\n"
            "202122232425262728292A2B2C2D2E2F");
}

TEST_F(MardynFaults, BytesPastTheEndDumpAsEndOfFile) {
  TIeeeWriter w;
  w.ModuleBegin("Z80", "m");
  std::size_t at = w.Position();
  w.Byte(0xED).Byte(0x05).Byte(0xAB);
  auto results = reader.ParseBytes(w.Bytes());
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_ERROR}));
  std::string expected = "Unimplemented block at [" + std::to_string(at) + "]\n\nDump:\nED05AB";
  for (int n = 3; n < 32; ++n) expected += std::string(n == 16 ? "\n" : "") + "FFFFFFFF";
  EXPECT_EQ(results[0].Text, expected);
}

TEST_F(MardynFaults, AfterTheEndOrAnErrorParseKeepsSayingEnd) {
  reader.ParseBytes(Wrapped({}));
  EXPECT_EQ(reader.ParseOnce()->Kind, PR_END);
  EXPECT_EQ(reader.ParseOnce()->Kind, PR_END);
}

TEST_F(MardynFaults, UnreadableFileIsAnErrorNamingIt) {
  std::string path = "/nonexistent/folder/prog.abs";
  auto results = reader.ParseFile(path);
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_ERROR}));
  EXPECT_EQ(results[0].Text, "Cannot open file \"" + path + "\"");
  EXPECT_EQ(reader.ParseOnce()->Kind, PR_END);
}

struct TFaultCase {
  const char* Name;
  Body File;
};

std::ostream& operator<<(std::ostream& out, const TFaultCase& c) { return out << c.Name; }

Body NestedNumbers(int depth) {
  Body b = {0xE5};
  for (int n = 0; n < depth; ++n) b.push_back(0x89);
  b.push_back(0x01);
  for (int n = 0; n < depth; ++n) b.insert(b.end(), {0x01, 0x00});
  return b;
}

Body NestedAttributes(int depth) {
  TIeeeWriter w;
  w.Attribute(0, 0, 62).Number(0).Number(1).Name("x");
  for (int n = 1; n < depth; ++n) w.Word(0xF1CE).Number(0).Number(0).Number(62).Number(0).Number(1).Name("x");
  w.Word(0xE2CE).Expression(1);
  return w.Bytes();
}

std::vector<TFaultCase> FaultCases() {
  TIeeeWriter function;
  function.Module("m").Function("f", 0x10);
  Body inFunction = function.Bytes();
  auto after = [&](const Body& prefix, Body tail) {
    Body b = prefix;
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
  };
  std::vector<TFaultCase> cases = {
      {"empty file", {}},
      {"no module end", Cut(Wrapped({}), 1)},
      {"module begin cut in its name", Bytes({0xE0, 0x03, 'Z', '8'})},
      {"number cut short", Wrapped(Bytes({0xE5, 0x84, 0x01, 0x02}))},
      {"number nested too deep", Wrapped(NestedNumbers(17))},
      {"attributes nested too deep", Wrapped(NestedAttributes(17))},
      {"data past the end", Cut(Wrapped(Bytes({0xED, 0x10, 1, 2, 3})), 1)},
      {"data length past the end", Cut(Wrapped(Bytes({0xED, 0x82, 0xFF, 0xFF, 1})), 1)},
      {"repeat without data", Wrapped(Bytes({0xF7, 0x02, 0xE1}))},
      {"repeat above 65280 bytes", Wrapped(Bytes({0xF7, 0x82, 0x01, 0x00, 0xED, 0x82, 0x01, 0x00}))},
      {"repeat whose product wraps", Wrapped(Bytes({0xF7, 0x83, 0x01, 0x00, 0x00, 0xED, 0x83, 0x01, 0x00, 0x00}))},
      {"zero repeat of a block too big", Wrapped(Bytes({0xF7, 0x00, 0xED, 0x83, 0x01, 0x00, 0x00}))},
      {"jump to the external part backwards", Wrapped(Bytes({0xE2, 0xD7, 0x03, 0x00}))},
      {"part number above 7", Wrapped(Bytes({0xE2, 0xD7, 0x08, 0x00}))},
      {"environment part past the end", Wrapped(Bytes({0xE2, 0xD7, 0x01, 0x82, 0x10, 0x00}))},
      {"skipped block of size 0", Wrapped(Bytes({0xF8, 0x0A, 0x00}))},
      {"skipped block ending inside its header", Wrapped(Bytes({0xF8, 0x0B, 0x02}))},
      {"unknown block type", Wrapped(Bytes({0xF8, 0x07, 0x00}))},
      {"unknown assignment", Wrapped(Bytes({0xE2, 0xC1}))},
      {"public name without attributes", Wrapped(Bytes({0xE8, 0x01, 0x01, 'a', 0xE2, 0xC9}))},
      {"public name of unknown kind", Wrapped(Bytes({0xE8, 0x01, 0x01, 'a', 0xF1, 0xC9, 0x01, 0x02, 0x00, 0xE2, 0xC9, 0x01, 0x05}))},
      {"public name without value", Wrapped(Bytes({0xE8, 0x01, 0x01, 'a', 0xF1, 0xC9, 0x01, 0x00, 0x00, 0xE1}))},
      {"variable without attribute", after(inFunction, Bytes({0xF0, 0x00, 0x01, 'v', 0xE1}))},
      {"unknown attribute", Wrapped(Bytes({0xF1, 0xCE, 0x00, 0x00, 0x09}))},
      {"static without value", Wrapped(Bytes({0xF1, 0xCE, 0x00, 0x00, 0x08, 0xE1}))},
      {"bad expression", Wrapped(Bytes({0xF1, 0xCE, 0x00, 0x00, 0x03, 0xE2, 0xCE, 0x00, 0xA0}))},
      {"line without address", after(inFunction, Bytes({0xF1, 0xCE, 0x00, 0x00, 0x07, 0x05, 0x00, 0xE1}))},
      {"attribute 63 with a second number", Wrapped(Bytes({0xF1, 0xCE, 0x00, 0x00, 63, 0x00, 0x01}))},
      {"type member list running off the end", Cut(Wrapped(Bytes({0xF8, 0x01, 0x00, 0x00, 0xF0, 0x81, 0x00, 0x01, 's',
                                                                  0xF2, 0x81, 0x00, 0xCE, 0x00, 'S', 0x04, 0x01, 'x'})), 1)},
      {"block end cut short", Cut(after(inFunction, Bytes({0xF9, 0x10})), 1)},
      {"record outside the known ones", Wrapped(Bytes({0xE3}))},
      {"record above the known ones", Wrapped(Bytes({0xFA}))},
  };
  // A file that jumps to the external part past its end.
  cases.push_back({"jump past the end", Wrapped(Bytes({0xE2, 0xD7, 0x03, 0x84, 0x00, 0x01, 0x00, 0x00}))});
  return cases;
}

class MardynFaultCases : public MardynFaults, public ::testing::WithParamInterface<TFaultCase> {};

TEST_P(MardynFaultCases, EndWithTheErrorRecord) {
  auto results = reader.ParseBytes(GetParam().File);
  ASSERT_FALSE(results.empty());
  EXPECT_EQ(Value(results.back().Kind), PR_ERROR);
  EXPECT_TRUE(results.back().Text.starts_with("Unimplemented block at ["));
  for (const TParsed& p : results) EXPECT_NE(Value(p.Kind), PR_END);
  EXPECT_EQ(reader.ParseOnce()->Kind, PR_END);
}

INSTANTIATE_TEST_SUITE_P(Malformed, MardynFaultCases, ::testing::ValuesIn(FaultCases()),
                         [](const auto& info) {
                           std::string name = info.param.Name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

TEST_F(MardynFaults, ErrorPointsAtTheRecordThatFailed) {
  TIeeeWriter w;
  w.ModuleBegin("Z80", "m").Data(Bytes({1, 2}));
  std::size_t at = w.Position();
  w.Byte(0xF8).Byte(0x09);
  auto results = reader.ParseBytes(w.Bytes());
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_CODE, PR_ERROR}));
  EXPECT_TRUE(results[1].Text.starts_with("Unimplemented block at [" + std::to_string(at) + "]\n\nDump:\nF809FFFFFFFF"));
}

// A table that would overflow ends the parse at the record that needed the
// room, with every entry before it and its end marker in place.
TEST_F(MardynFaults, FullModuleTableStopsAtTheFirstModuleThatDoesNotFit) {
  TIeeeWriter w;
  for (std::size_t n = 0; n <= MODULE_TABLE_ENTRIES; ++n) w.Module("m" + std::to_string(n)).BlockEnd();
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_ERROR}));
  EXPECT_STREQ(reader.Module(MODULE_TABLE_ENTRIES - 1).ModuleName, "m367");
  EXPECT_EQ(reader.ModuleBytes()[MODULE_TABLE_ENTRIES * sizeof(TModuleEntry)], 0);
}

TEST_F(MardynFaults, FullScopeTableStopsAtTheFirstScopeThatDoesNotFit) {
  TIeeeWriter w;
  w.Module("m");
  for (std::size_t n = 0; n <= SCOPE_TABLE_ENTRIES; ++n) w.Function("f", static_cast<uint32_t>(n)).FunctionEnd(0);
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_ERROR}));
  EXPECT_EQ(Value(reader.Scope(SCOPE_TABLE_ENTRIES - 1).StartAddress), SCOPE_TABLE_ENTRIES - 1);
  int16_t marker;
  std::memcpy(&marker, reader.ScopeBytes() + SCOPE_TABLE_ENTRIES * sizeof(TScopeEntry), sizeof marker);
  EXPECT_EQ(marker, SCOPE_END_MODULE);
}

TEST_F(MardynFaults, FullLineTableStopsAtTheFirstLineThatDoesNotFit) {
  TIeeeWriter w;
  w.Module("m").Function("f", 0);
  for (uint32_t n = 0; n <= LINE_TABLE_ENTRIES; ++n) w.Line(n + 1, 0, n);
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_ERROR}));
  EXPECT_EQ(reader.LineCount(), LINE_TABLE_ENTRIES);
  EXPECT_EQ(Value(reader.Line(LINE_TABLE_ENTRIES - 1).Line), LINE_TABLE_ENTRIES);
}

TEST_F(MardynFaults, FullTypeBufferStopsAtTheFirstRecordThatDoesNotFit) {
  // Structures with one 100-character member: 119 bytes each.
  constexpr std::size_t kRecord = 3 + 1 + 4 + 4 + (4 + 1 + 100 + 2);
  TIeeeWriter w;
  w.ModuleTypes("t");
  std::size_t records = TYPE_BUFFER_SIZE / kRecord + 1;
  for (std::size_t n = 0; n < records; ++n)
    w.Struct(static_cast<uint32_t>(256 + n), "s", 2, {{std::string(100, 'm'), 4, 0}});
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_ERROR}));
  std::size_t fitted = (TYPE_BUFFER_SIZE - 2) / kRecord;
  int16_t end;
  std::memcpy(&end, reader.Types() + fitted * kRecord, sizeof end);
  EXPECT_EQ(end, 0);
  int16_t last;
  std::memcpy(&last, reader.Types() + (fitted - 1) * kRecord, sizeof last);
  EXPECT_EQ(last, static_cast<int16_t>(256 + fitted - 1));
}

}  // namespace
