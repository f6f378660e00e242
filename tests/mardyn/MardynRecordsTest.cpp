// The reader plug-in over well-formed files: the exact sequence of Parse
// results, and what lands in the four tables.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "MardynHarness.h"
#include "PackedValue.h"

namespace {

constexpr uint8_t kCode = 0x81;

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> bytes;
  for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
  return bytes;
}

// A whole file in the layout a linker writes: header with part offsets, the
// environment part, a section part that the jump to the external part passes
// over, names, types, a module with two functions, and the data part.
std::vector<uint8_t> DemoFile(uint32_t toolNumber = 117) {
  TIeeeWriter w;
  w.ModuleBegin("Z80", "demo").AddressDescription(8, 1);
  std::size_t environment = w.PartOffset(1);
  w.PartOffset(2);
  std::size_t external = w.PartOffset(3);
  w.PartOffset(4);
  w.PatchPartOffset(environment, static_cast<uint32_t>(w.Position()));
  w.Environment(toolNumber);
  w.Byte(0x00).Byte(0x00);  // section part: the reader never gets here
  w.PatchPartOffset(external, static_cast<uint32_t>(w.Position()));

  w.PublicName(1, "_main", 0x0100);
  w.PublicName(2, "_helper", 0x0120, 3);

  w.ModuleTypes("demo");
  w.Array(256, "buf", 4, 9);
  w.Pointer(257, "pbuf", 256);
  w.Struct(258, "point", 4, {{"x", 4, 0}, {"y", 4, 2}});
  w.Typedef(259, "point_t", 258);
  w.Union(260, "u", 2, {{"a", 2, 0}, {"b", 4, 0}});
  w.Enumeration(261, "color", {"red", "green"});
  w.BlockEnd();

  w.Module("demo");
  w.Static("counter", 4, 0x8000);
  w.External("putchar", 1);
  w.SourceFile("demo.c");
  w.Function("_main", 0x0100);
  w.Automatic("i", 4, 0xFFFE);
  w.RegisterVariable("p", 257, 22);
  w.Line(5, 1, 0x0103).Line(6, 1, 0x0108).Line(6, 9, 0x010A);
  w.FunctionEnd(0x0110);
  w.Function("_helper", 0x0120);
  w.Line(10, 1, 0x0120).Line(12, 1, 0x0125).Line(8, 1, 0x0127);
  w.FunctionEnd(0x012F);
  w.BlockEnd().BlockEnd();

  w.SectionBegin(1).LoadAddress(0x0100);
  w.Attribute(0, 0, 3).Word(0xE2CE).Expression(0x1234);
  w.Data(Bytes({0x31, 0x00, 0x90, 0xCD, 0x20, 0x01, 0x21, 0x00, 0x80, 0x34, 0x18, 0xF8, 0x00, 0x00, 0x00, 0x00}));
  w.Data(Bytes({0xC3, 0x00, 0x01, 0x00, 0x00}));
  w.Repeat(3, Bytes({0xAA, 0x55}));
  w.ModuleEnd();
  return w.Bytes();
}

class MardynRecords : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(reader.Bound()) << "Mardyn.so not found or incomplete"; }
  TMardynHarness reader;
};

TEST_F(MardynRecords, ExportsNameTheProceduresAndTheFilter) {
  EXPECT_EQ(reader.MainProcName(), "_main");
  EXPECT_EQ(reader.VersionText(), "Lumeric 4.00.00.a;Mardyn (*.ABS)|*.ABS");
}

TEST_F(MardynRecords, DemoFileGivesItsResultsInFileOrder) {
  auto results = reader.ParseBytes(DemoFile());
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_SYMBOLS, PR_SYMBOLS, PR_EXTERN, PR_SYMBOLS, PR_SYMBOLS, PR_VALUE,
                                              PR_CODE, PR_CODE, PR_CODE, PR_END}));

  const TSymbolSlot& main = results[0].Symbol;
  EXPECT_STREQ(main.Name, "_main");
  EXPECT_EQ(Value(main.NameLength), 5);
  EXPECT_EQ(Value(main.Kind), 0);
  EXPECT_EQ(Value(main.Attributes), 1);
  EXPECT_EQ(Value(main.Value), 0x0100u);
  EXPECT_EQ(Value(main.TypeIndex), 14);
  EXPECT_EQ(Value(main.ScopeLow), 0u);
  EXPECT_EQ(Value(main.ScopeHigh), -1);
  EXPECT_TRUE(results[0].EndSlotFollows);

  const TSymbolSlot& counter = results[1].Symbol;
  EXPECT_STREQ(counter.Name, "counter");
  EXPECT_EQ(Value(counter.Kind), 0);
  EXPECT_EQ(Value(counter.Attributes), 2);
  EXPECT_EQ(Value(counter.Value), 0x8000u);
  EXPECT_EQ(Value(counter.TypeIndex), 6);
  EXPECT_EQ(Value(counter.ScopeLow), 0u);
  EXPECT_EQ(Value(counter.ScopeHigh), -1);

  const TSymbolSlot& putchar = results[2].Symbol;
  EXPECT_STREQ(putchar.Name, "putchar");
  EXPECT_EQ(Value(putchar.NameLength), 7);
  EXPECT_EQ(Value(putchar.Attributes), 0);
  EXPECT_EQ(Value(putchar.Value), 0u);
  EXPECT_EQ(Value(putchar.TypeIndex), 12);
  EXPECT_EQ(Value(putchar.ScopeHigh), -1);

  const TSymbolSlot& i = results[3].Symbol;
  EXPECT_STREQ(i.Name, "i");
  EXPECT_EQ(Value(i.Kind), 32);
  EXPECT_EQ(Value(i.Attributes), 2);
  EXPECT_EQ(Value(i.Value), 0xFFFEu);
  EXPECT_EQ(Value(i.FrameArea), 255);
  EXPECT_EQ(Value(i.FrameBase), 11);
  EXPECT_EQ(Value(i.ScopeLow), 1u);  // the first scope
  EXPECT_EQ(Value(i.ScopeHigh), 0);

  const TSymbolSlot& p = results[4].Symbol;
  EXPECT_STREQ(p.Name, "p");
  EXPECT_EQ(Value(p.Kind), 8);
  EXPECT_EQ(Value(p.Value), 0x100u + 27);  // register 22 is IX
  EXPECT_EQ(Value(p.TypeIndex), 257);
  EXPECT_EQ(Value(p.ScopeLow), 1u);

  EXPECT_EQ(Value(results[5].Value), 0x1234u);

  EXPECT_EQ(Value(results[6].Area), kCode);
  EXPECT_EQ(Value(results[6].Address), 0x0100u);
  EXPECT_EQ(results[6].Code.size(), 16u);
  EXPECT_EQ(Value(results[7].Address), 0x0110u);
  EXPECT_EQ(results[7].Code, Bytes({0xC3, 0x00, 0x01, 0x00, 0x00}));
  EXPECT_EQ(Value(results[8].Address), 0x0115u);
  EXPECT_EQ(results[8].Code, Bytes({0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}));

  EXPECT_EQ(reader.ExitProcName(), "exit");
}

TEST_F(MardynRecords, DemoFileFillsTheModuleAndScopeTables) {
  reader.ParseBytes(DemoFile());
  const TModuleEntry& module = reader.Module(0);
  EXPECT_STREQ(module.ModuleName, "demo");
  EXPECT_STREQ(module.SourceFile, "demo.c");
  EXPECT_EQ(Value(module.ModuleNumber), 0);
  EXPECT_EQ(Value(module.SourceBlockCount), 0);
  EXPECT_EQ(Value(module.Reserved169), 0u);
  EXPECT_EQ(Value(module.FirstLinePtr), 0u);
  EXPECT_EQ(Value(module.Reserved177), 0);
  EXPECT_EQ(Value(module.Reserved163), 0xA5A5A5A5u);  // never written
  EXPECT_EQ(reader.ModuleBytes()[sizeof(TModuleEntry)], 0);

  struct {
    uint32_t start, end, first, last, firstEntry;
  } expected[] = {{0x0100, 0x0108, 4, 6, 0}, {0x0120, 0x0125, 10, 12, 3}};
  for (int n = 0; n < 2; ++n) {
    SCOPED_TRACE(n);
    const TScopeEntry& scope = reader.Scope(n);
    EXPECT_EQ(Value(scope.ModuleNumber), 0);
    EXPECT_EQ(Value(scope.StartAddress), expected[n].start);
    EXPECT_EQ(Value(scope.EndAddress), expected[n].end);
    EXPECT_EQ(Value(scope.FirstLine), expected[n].first);
    EXPECT_EQ(Value(scope.LastLine), expected[n].last);
    EXPECT_EQ(Value(scope.FirstLineEntry), expected[n].firstEntry);
  }
  EXPECT_EQ(Value(reader.Scope(2).ModuleNumber), SCOPE_END_MODULE);
}

TEST_F(MardynRecords, LinesOfAFunctionStartAtItsStartAndNeverGoBack) {
  reader.ParseBytes(DemoFile());
  struct {
    uint32_t address, line;
  } expected[] = {{0x0100, 4}, {0x0103, 5}, {0x0108, 6}, {0x0120, 10}, {0x0125, 12}};
  ASSERT_EQ(reader.LineCount(), std::size(expected));
  for (std::size_t n = 0; n < std::size(expected); ++n) {
    SCOPED_TRACE(n);
    const TLineEntry& line = reader.Line(static_cast<int>(n));
    EXPECT_EQ(Value(line.Area), kCode);
    EXPECT_EQ(Value(line.Address), expected[n].address);
    EXPECT_EQ(Value(line.Line), expected[n].line);
    EXPECT_EQ(Value(line.LineKind), 0);
  }
}

TEST_F(MardynRecords, TypeRecordsHaveTheLayoutTheProgramReads) {
  reader.ParseBytes(DemoFile());
  std::vector<uint8_t> expected = Bytes({
      0x00, 0x01, 16, 6, 0, 20, 0, 0, 0, 10, 0, 0, 0,         // int[10]: element, size, count
      0x01, 0x01, 15, 0x00, 0x01, 2, 0,                       // near pointer to 256
      0x02, 0x01, 17, 0, 4, 0, 0, 0, 2, 0, 0, 0,              // struct of 4 bytes, 2 members
      0, 0, 0, 0, 1, 'x', 6, 0, 2, 0, 0, 0, 1, 'y', 6, 0,     //   x at 0, y at 2
      0x03, 0x01, 21, 0, 0x02, 0x01,                          // typedef of 258
      0x04, 0x01, 18, 2, 0, 0, 0, 2, 0, 0, 0,                 // union of 2 bytes, 2 members
      1, 'a', 2, 0, 1, 'b', 6, 0,                             //   a char, b int
      0, 0});                                                 // end of the buffer
  EXPECT_EQ(std::vector<uint8_t>(reader.Types(), reader.Types() + expected.size()), expected);
}

TEST_F(MardynRecords, ExitNameDependsOnTheToolNumberAndOpenForgetsIt) {
  reader.ParseBytes(DemoFile(117));
  EXPECT_EQ(reader.ExitProcName(), "exit");
  reader.ParseBytes(DemoFile(3));
  EXPECT_EQ(reader.ExitProcName(), "_exit");
  reader.ParseBytes(DemoFile(117));
  reader.ParseBytes(Wrapped({}));
  EXPECT_EQ(reader.ExitProcName(), "_exit");
}

TEST_F(MardynRecords, OpenStartsTheLoadAddressAndModuleCountAgain) {
  reader.ParseBytes(DemoFile());
  TIeeeWriter w;
  w.Module("again").Raw(Bytes({0xF9})).Data(Bytes({1, 2}));
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_CODE, PR_END}));
  EXPECT_EQ(Value(results[0].Address), 0u);
  EXPECT_EQ(Value(reader.Module(0).ModuleNumber), 0);
  EXPECT_STREQ(reader.Module(0).ModuleName, "again");
}

TEST_F(MardynRecords, LowerCaseProcessorNameHasNoFrameRegister) {
  TIeeeWriter w;
  w.Module("m").Function("f", 0).Automatic("a", 4, 2);
  auto results = reader.ParseBytes(Wrapped(w.Bytes(), "z80"));
  ASSERT_EQ(Value(results[0].Kind), PR_SYMBOLS);
  EXPECT_EQ(Value(results[0].Symbol.FrameArea), 0);
  EXPECT_EQ(Value(results[0].Symbol.FrameBase), 0);
}

TEST_F(MardynRecords, RepeatedDataIsOneBlockAndMovesTheLoadAddress) {
  TIeeeWriter w;
  w.LoadAddress(0x4000).Repeat(3, Bytes({0x12, 0x34})).Repeat(0, Bytes({0x77}));
  w.Repeat(0, std::vector<uint8_t>(70000, 0x55)).Data(Bytes({0x99}));
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_CODE, PR_CODE, PR_CODE, PR_CODE, PR_END}))
      << results.back().Text;
  EXPECT_EQ(Value(results[0].Address), 0x4000u);
  EXPECT_EQ(results[0].Code, Bytes({0x12, 0x34, 0x12, 0x34, 0x12, 0x34}));
  // A repeat count of 0 delivers nothing, however many bytes it repeats.
  for (int i : {1, 2}) {
    EXPECT_EQ(Value(results[i].Address), 0x4006u);
    EXPECT_TRUE(results[i].Code.empty());
  }
  EXPECT_EQ(Value(results[3].Address), 0x4006u);
  EXPECT_EQ(results[3].Code, Bytes({0x99}));
}

// A repeat count near 2^32 of no bytes delivers an empty block at once; a file
// of such records must not keep the program busy for as long as it likes.
TEST_F(MardynRecords, RepeatingNothingTakesNoTime) {
  const std::vector<uint8_t> found = Bytes({0xF7, 0x87, 0xED, 0x01, 0x2F, 0x76, 0x03, 0xF7, 0x5F, 0xED, 0x00});
  std::vector<uint8_t> many;
  for (int i = 0; i < 1000; ++i) many.insert(many.end(), {0xF7, 0x84, 0xFF, 0xFF, 0xFF, 0xFF, 0xED, 0x00});
  for (const auto& file : {found, Wrapped(many)}) {
    const auto start = std::chrono::steady_clock::now();
    auto results = reader.ParseBytes(file);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    ASSERT_GE(results.size(), 2u);
    EXPECT_EQ(results[0].Kind, PR_CODE);
    EXPECT_TRUE(results[0].Code.empty());
  }
}

TEST_F(MardynRecords, LargestBlocksArriveWhole) {
  std::vector<uint8_t> big(65535);
  for (std::size_t n = 0; n < big.size(); ++n) big[n] = static_cast<uint8_t>(n * 7);
  TIeeeWriter w;
  w.Data(big).Repeat(255, std::vector<uint8_t>(256, 0xEE));
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_CODE, PR_CODE, PR_END}));
  EXPECT_EQ(results[0].Code, big);
  EXPECT_EQ(Value(results[1].Address), 65535u);
  EXPECT_EQ(results[1].Code, std::vector<uint8_t>(65280, 0xEE));
}

TEST_F(MardynRecords, SecondModuleTypesFollowTheFirstModulesLastIndex) {
  TIeeeWriter w;
  w.ModuleTypes("a").Pointer(300, "p", 2).BlockEnd();  // first block: base 256, index 300
  w.ModuleTypes("b").Pointer(256, "q", 2).Pointer(257, "r", 256).BlockEnd();
  reader.ParseBytes(Wrapped(w.Bytes()));
  const uint8_t* t = reader.Types();
  auto index = [&](int record) { return static_cast<int>(t[record * 7] | t[record * 7 + 1] << 8); };
  EXPECT_EQ(index(0), 300);
  EXPECT_EQ(index(1), 301);
  EXPECT_EQ(index(2), 302);
  EXPECT_EQ(t[2 * 7 + 3] | t[2 * 7 + 4] << 8, 301);  // 256 in the second block refers to 301
}

TEST_F(MardynRecords, FirstLineAboveTheStartAddsAnEntryAtTheStart) {
  TIeeeWriter w;
  w.Module("m").Function("f", 0x200).Line(1, 0, 0x204).Line(0, 0, 0x206);
  w.Function("g", 0x300).Line(0, 0, 0x302);
  reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(reader.LineCount(), 4u);
  EXPECT_EQ(Value(reader.Line(0).Address), 0x200u);
  EXPECT_EQ(Value(reader.Line(0).Line), 0u);
  EXPECT_EQ(Value(reader.Scope(0).FirstLine), 0u);
  EXPECT_EQ(Value(reader.Scope(0).LastLine), 1u);
  EXPECT_EQ(Value(reader.Line(2).Line), 0u);  // line 0 before the start: the entry at the start says 0 too
  EXPECT_EQ(Value(reader.Line(2).Address), 0x300u);
  EXPECT_EQ(Value(reader.Line(3).Address), 0x302u);
}

TEST_F(MardynRecords, SkippedBlocksArePassedOverWhole) {
  TIeeeWriter inner;
  inner.Byte(0x00).Byte(0xFF).Module("never");
  TIeeeWriter w;
  w.SkippedBlock(10, inner.Bytes()).SkippedBlock(11, inner.Bytes()).Data(Bytes({5}));
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_CODE, PR_END}));
  EXPECT_EQ(reader.ModuleBytes()[0], 0);
}

TEST_F(MardynRecords, OrphanSourceFilesAndLinesAreDropped) {
  TIeeeWriter w;
  w.SourceFile("orphan.c").BlockEnd().Line(3, 0, 0x10).Module("m").BlockEnd();
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_END}));
  EXPECT_STREQ(reader.Module(0).ModuleName, "m");
  EXPECT_STREQ(reader.Module(0).SourceFile, "");
  EXPECT_EQ(reader.LineCount(), 0u);
}

TEST_F(MardynRecords, EleventhOpenBlockIsReportedOnTheStandardOutput) {
  TIeeeWriter w;
  w.Module("m");
  for (int i = 0; i < 9; ++i) w.Function("f", 0x10);
  ::testing::internal::CaptureStdout();
  auto tenBlocks = reader.ParseBytes(Wrapped(w.Bytes()));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  w.Function("g", 0x20);
  ::testing::internal::CaptureStdout();
  auto elevenBlocks = reader.ParseBytes(Wrapped(w.Bytes()));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "\nbtstack overflow");
  EXPECT_EQ(Kinds(tenBlocks), (std::vector<int>{PR_END}));
  EXPECT_EQ(Kinds(elevenBlocks), (std::vector<int>{PR_END}));
  EXPECT_EQ(Value(reader.Scope(9).StartAddress), 0x20u);
}

TEST_F(MardynRecords, FunctionsOutsideAnyModuleAddNoScope) {
  TIeeeWriter w;
  w.Function("early", 0x10).Automatic("a", 4, 2).Line(1, 0, 0x10).FunctionEnd(0x20);
  w.Module("m").Function("f", 0x30).Line(5, 0, 0x30).FunctionEnd(0x38).BlockEnd();
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_SYMBOLS, PR_END}));
  EXPECT_EQ(Value(results[0].Symbol.ScopeLow), 0u);
  EXPECT_EQ(Value(reader.Scope(0).ModuleNumber), 0);
  EXPECT_EQ(Value(reader.Scope(0).StartAddress), 0x30u);
  EXPECT_EQ(Value(reader.Scope(1).ModuleNumber), -1);
  ASSERT_EQ(reader.LineCount(), 1u);
  EXPECT_EQ(Value(reader.Line(0).Line), 5u);
}

TEST_F(MardynRecords, ModuleWithoutANameGivesItsEntryToTheNext) {
  TIeeeWriter w;
  w.Module("").BlockEnd().Module("b").SourceFile("b.c").BlockEnd().BlockEnd();
  reader.ParseBytes(Wrapped(w.Bytes()));
  EXPECT_STREQ(reader.Module(0).ModuleName, "b");
  EXPECT_EQ(Value(reader.Module(0).ModuleNumber), 1);
  EXPECT_STREQ(reader.Module(0).SourceFile, "b.c");
  EXPECT_EQ(reader.ModuleBytes()[sizeof(TModuleEntry)], 0);
}

TEST_F(MardynRecords, LongNamesKeepTheir255FirstCharacters) {
  std::string longName(300, 'n');
  longName[254] = 'X';
  TIeeeWriter w;
  w.PublicName(1, longName, 7).Module(std::string(40, 'm')).Data(Bytes({1}));
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_SYMBOLS, PR_CODE, PR_END}));
  EXPECT_EQ(std::string(results[0].Symbol.Name), longName.substr(0, 255));
  EXPECT_EQ(Value(results[0].Symbol.NameLength), 255);
  EXPECT_EQ(Value(results[0].Symbol.Value), 7u);
  EXPECT_EQ(std::string(reader.Module(0).ModuleName), std::string(32, 'm'));
}

TEST_F(MardynRecords, ValueAttributesDeliverTheirLastValue) {
  TIeeeWriter w;
  w.Module("m");
  w.Attribute(0, 0, 19).Number(2).Word(0xE2CE).Expression(5).Word(0xE2CE).Expression(0x123456);
  w.Attribute(0, 0, 19).Number(0);                                  // no items: no result
  w.Attribute(0, 0, 62).Number(0).Number(2).Name("x")
      .Word(0xE2CE).Expression(9).Word(0xF1CE).Number(0).Number(4).Number(8).Word(0xE2CE).Expression(0x77);
  w.Attribute(0, 0, 12).Number(1).Number(2).Number(3).Number(4).Number(5).Word(0xE2CE).Expression(0xC1);
  auto results = reader.ParseBytes(Wrapped(w.Bytes()));
  ASSERT_EQ(Kinds(results), (std::vector<int>{PR_VALUE, PR_SYMBOLS, PR_VALUE, PR_END}));
  EXPECT_EQ(Value(results[0].Value), 0x123456u);
  EXPECT_EQ(Value(results[1].Symbol.Value), 0x77u);  // a nested static is the last item of 62
  EXPECT_EQ(Value(results[2].Value), 0xC1u);
}

}  // namespace
