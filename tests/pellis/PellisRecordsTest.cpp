#include <string>

#include "PellisTest.h"

namespace {


TEST_F(PellisTest, NamesTheEntryAndExitProceduresAndItsVersion) {
  EXPECT_STREQ(h.MainProcName(), "main");
  EXPECT_STREQ(h.ExitProcName(), "exit");
  EXPECT_STREQ(h.Version(), "Lumeric 4.00.00.a;Pellis (*.D?\?)|*.D?\?");
}

TEST_F(PellisTest, ModuleHeadersFillNumberedModuleEntries) {
  TIarObjectWriter file;
  file.ModuleHeader(0x5A, 0x12, "first", 1).ModuleHeader(0x03, 0x20, std::string(40, 'n'), 0).End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_MODULEFLAG, PR_MODULEFLAG, PR_END}));
  EXPECT_EQ(Value(results[0].Value), 0x5Au);
  EXPECT_EQ(Value(results[1].Value), 0x03u);

  const TModuleEntry& first = h.Module(0);
  EXPECT_STREQ(first.ModuleName, "first");
  EXPECT_STREQ(first.SourceFile, "");
  EXPECT_EQ(Value(first.ModuleNumber), 0);
  EXPECT_EQ(Value(first.Reserved163), 0u);
  EXPECT_EQ(Value(first.SourceBlockCount), 0);
  EXPECT_EQ(Value(first.FirstLinePtr), 0u);
  EXPECT_EQ(h.Module(1).ModuleName, std::string(32, 'n'));
  EXPECT_EQ(Value(h.Module(1).ModuleNumber), 1);
  EXPECT_EQ(h.Module(2).ModuleName[0], 0);
}

struct TAreaCase {
  uint8_t Segment;
  uint8_t Area;
};

class PellisAreaTest : public PellisTest, public ::testing::WithParamInterface<TAreaCase> {};

TEST_P(PellisAreaTest, SegmentByteSelectsTheAreaOfCodeAndLines) {
  TIarObjectWriter file;
  file.ModuleHeader(0, 0x10, "m").Segment(GetParam().Segment, 0x2000).Line(1, 0).Code({0xC9}).End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_MODULEFLAG, PR_CODE, PR_END}));
  EXPECT_EQ(results[1].Code.Area, GetParam().Area);
  EXPECT_EQ(h.Line(0).Area, GetParam().Area);
}

INSTANTIATE_TEST_SUITE_P(Segments, PellisAreaTest,
                         ::testing::Values(TAreaCase{0x21, 0x41}, TAreaCase{0x00, 0x81}, TAreaCase{0x1F, 0x81},
                                           TAreaCase{0x40, 0x40}, TAreaCase{0xFF, 0x5F}));

TEST_F(PellisTest, CodeBlocksFollowOneAnother) {
  std::vector<uint8_t> sixteen(16);
  for (int i = 0; i < 16; ++i) sixteen[i] = static_cast<uint8_t>(i);
  TIarObjectWriter file;
  file.Code({0xAA}).Segment(0x00, 0x1000).Code(sixteen).Code(sixteen).Code(std::vector<uint8_t>(255, 0xEE)).End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_CODE, PR_CODE, PR_CODE, PR_CODE, PR_END}));
  // Code before any segment record goes to program code at 0.
  EXPECT_EQ(results[0].Code.Area, 0x81);
  EXPECT_EQ(Value(results[0].Code.Address), 0u);
  EXPECT_EQ(Value(results[1].Code.Address), 0x1000u);
  EXPECT_EQ(Value(results[2].Code.Address), 0x1010u);
  EXPECT_EQ(Value(results[2].Code.Reserved), 0);
  EXPECT_EQ(Value(results[2].Code.Count), 16);
  EXPECT_EQ(results[2].CodeBytes, sixteen);
  EXPECT_EQ(Value(results[3].Code.Address), 0x1020u);
  EXPECT_EQ(Value(results[3].Code.Count), 255);
}

TEST_F(PellisTest, TargetInfoDeliversFourBytesAndDeclaresRecordLengths) {
  TIarObjectWriter file;
  file.TargetInfo(6, 3, 2, {{200, 253}, {201, 254}, {202, 255}, {203, 5}, {204, 0}})
      .Byte(200).Byte(3).Raw({1, 2, 3})
      .Byte(201).Be16(2).Raw({1, 2})
      .Byte(202).Be32(1).Raw({9})
      .Byte(203).Zeros(5)
      .Byte(204)
      .Code({0x76})
      .End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_TARGETINFO, PR_CODE, PR_END}));
  EXPECT_EQ(results[0].Target, (std::array<uint8_t, 4>{1, 6, 3, 2}));
  EXPECT_EQ(results[1].CodeBytes, std::vector<uint8_t>{0x76});
}

// Records that are read and passed over; each is followed by a code record
// that must come out whole.
struct TSkippedRecord {
  const char* Name;
  std::vector<uint8_t> Bytes;
};

void PrintTo(const TSkippedRecord& r, std::ostream* out) { *out << r.Name; }

class PellisSkippedRecordTest : public PellisTest, public ::testing::WithParamInterface<TSkippedRecord> {};

TEST_P(PellisSkippedRecordTest, IsPassedOverByItsLayout) {
  TIarObjectWriter file;
  file.Raw(GetParam().Bytes).Code({0x12, 0x34}).End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_CODE, PR_END}));
  EXPECT_EQ(results[0].CodeBytes, (std::vector<uint8_t>{0x12, 0x34}));
}

INSTANTIATE_TEST_SUITE_P(
    Tags, PellisSkippedRecordTest,
    ::testing::Values(TSkippedRecord{"t61", {61, 1, 2, 3, 4, 5, 6, 7, 8}},
                      TSkippedRecord{"t63", {63, 57, 57}},
                      TSkippedRecord{"t73", {73}},
                      TSkippedRecord{"t77", {77, 57, 57, 57}},
                      TSkippedRecord{"t78", {78, 2, 'a', 'b', 0, 3, 57, 57, 57}},
                      TSkippedRecord{"t79", {79, 57, 57}},
                      TSkippedRecord{"t82", {82, 57}},
                      TSkippedRecord{"t83", {83, 57, 57}},
                      TSkippedRecord{"t84", {84, 57, 57, 1, 'x'}},
                      TSkippedRecord{"t165", {165, 1, 2, 3, 4, 5, 6}},
                      TSkippedRecord{"t168", {168, 0, 2,                                  // two items
                                              1, 2, 3, 4, 5, 6, 7, 1, 'a', 8, 9, 0, 1,     // one 13-byte element
                                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                              1, 2, 3, 4, 5, 6, 7, 0, 8, 9, 0, 0}},
                      TSkippedRecord{"t192", {192, 1, 2, 3, 4, 0, 1,                     // one item
                                              1, 2, 3, 4, 5, 2, 'a', 'b', 0, 2,        // two 8-byte elements
                                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(PellisTest, LinesBuildScopesAndKindFourteenStartsANewOne) {
  TIarObjectWriter file;
  file.ModuleHeader(0, 0x12, "m").Segment(0x00, 0x100)
      .Line(10, 1).Code({1, 2, 3})
      .Line(11, 2).Code({4, 5})
      .Line(12, 14).Code({6})
      .Line(13, 3)
      .EndScope()
      .Line(20, 5)
      .End();
  auto results = h.Run(file);
  ASSERT_EQ(results.back().Kind, PR_END);

  struct TScope {
    uint32_t Start, End, First, Last, FirstEntry;
  };
  const TScope scopes[] = {{0x100, 0x103, 10, 11, 0}, {0x105, 0x106, 12, 13, 2}, {0x106, 0x106, 20, 20, 4}};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Value(h.Scope(i).ModuleNumber), 0);
    EXPECT_EQ(Value(h.Scope(i).StartAddress), scopes[i].Start);
    EXPECT_EQ(Value(h.Scope(i).EndAddress), scopes[i].End);
    EXPECT_EQ(Value(h.Scope(i).FirstLine), scopes[i].First);
    EXPECT_EQ(Value(h.Scope(i).LastLine), scopes[i].Last);
    EXPECT_EQ(Value(h.Scope(i).FirstLineEntry), scopes[i].FirstEntry);
  }
  EXPECT_EQ(Value(h.Scope(3).ModuleNumber), SCOPE_END_MODULE);

  const TLineEntry lines[] = {
      {0x81, 0x100, 10, 1}, {0x81, 0x103, 11, 2}, {0x81, 0x105, 12, 14}, {0x81, 0x106, 13, 3}, {0x81, 0x106, 20, 5}};
  for (std::size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(h.Line(i).Area, lines[i].Area);
    EXPECT_EQ(Value(h.Line(i).Address), Value(lines[i].Address));
    EXPECT_EQ(Value(h.Line(i).Line), Value(lines[i].Line));
    EXPECT_EQ(h.Line(i).LineKind, lines[i].LineKind);
  }
  // The program's zero fill shows where the lines end.
  EXPECT_EQ(h.Line(5).Area, 0);
}

TEST_F(PellisTest, ModuleWithoutLineKindsGetsKindFFAndKeepsItsScope) {
  TIarObjectWriter file;
  file.ModuleHeader(0, 0x20, "m").Segment(0x00, 0x100).Line(1, 3).Code({0}).Line(2, 14).End();
  auto results = h.Run(file);
  ASSERT_EQ(results.back().Kind, PR_END);
  EXPECT_EQ(h.Line(0).LineKind, 0xFF);
  EXPECT_EQ(h.Line(1).LineKind, 0xFF);
  EXPECT_EQ(Value(h.Scope(0).LastLine), 2u);
  EXPECT_EQ(Value(h.Scope(1).ModuleNumber), SCOPE_END_MODULE);
}

TEST_F(PellisTest, ScopesCarryTheirModuleNumberAcrossModules) {
  TIarObjectWriter file;
  file.ModuleHeader(0, 0x10, "a").Line(1, 0).EndScope().ModuleHeader(0, 0x10, "b").Line(7, 0).End();
  h.Run(file);
  EXPECT_EQ(Value(h.Scope(0).ModuleNumber), 0);
  EXPECT_EQ(Value(h.Scope(1).ModuleNumber), 1);
  EXPECT_EQ(Value(h.Scope(1).FirstLineEntry), 1u);
}

TEST_F(PellisTest, SourceFileRecordDescribesTheLastModule) {
  TIarObjectWriter file;
  file.ModuleHeader(0, 0x10, "a").Line(1, 0)
      .SourceFile("main.c", {"abc", "de"})
      .SourceName("other.c")
      .ModuleHeader(0, 0x10, "b")
      .SourceName(std::string(200, 's'))
      .ModuleHeader(0, 0x10, "c")
      .SourceFile(std::string(140, 'f'))
      .End();
  auto results = h.Run(file);
  ASSERT_EQ(results.back().Kind, PR_END);
  EXPECT_STREQ(h.Module(0).SourceFile, "main.c");
  EXPECT_EQ(Value(h.Module(0).SourceBlockCount), 2);
  EXPECT_EQ(Value(h.Module(0).FirstLinePtr), 1u);
  EXPECT_EQ(h.Module(1).SourceFile, std::string(127, 's'));
  EXPECT_EQ(h.Module(2).SourceFile, std::string(127, 'f'));
}

TEST_F(PellisTest, SourceAndLineRecordsBeforeAnyModuleAreReadAndDropped) {
  TIarObjectWriter file;
  file.SourceFile("lost.c", {"x"}).SourceName("lost.c").Line(5, 14).Code({1}).ModuleHeader(0, 0x10, "m").Line(6, 0)
      .End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_CODE, PR_MODULEFLAG, PR_END}));
  EXPECT_STREQ(h.Module(0).SourceFile, "");
  EXPECT_EQ(Value(h.Scope(0).ModuleNumber), 0);
  EXPECT_EQ(Value(h.Scope(0).FirstLine), 6u);
  EXPECT_EQ(Value(h.Line(0).Line), 6u);
  EXPECT_EQ(Value(h.Scope(1).ModuleNumber), SCOPE_END_MODULE);
  EXPECT_TRUE(h.GuardsIntact());
}

}  // namespace
