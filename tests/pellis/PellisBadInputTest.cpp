#include <filesystem>
#include <string>

#include "PellisTest.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A file that uses every kind of record with a handler.
TIarObjectWriter SampleFile() {
  TIarSymbol symbol{1, 0x41, 0x8000, "counter", 4, 1};
  TIarObjectWriter file;
  file.TargetInfo(6, 3, 2, {{200, 254}})
      .ModuleHeader(1, 0x12, "sample")
      .SourceFile("sample.c", {"ab"})
      .SourceName("sample.c")
      .Segment(0x00, 0x4000)
      .Line(3, 14).Code({0x3E, 0x01, 0xC9})
      .Line(4, 1)
      .Symbol(symbol).SymbolWithExtra(symbol)
      .SymbolList({symbol, symbol}).NamedSymbolList({symbol}).SymbolListWithExtra({symbol})
      .TypeDefinition(5, 17, {1, 's', 0, 0, 0, 2, 0, 1, 0, 0, 0, 0, 1, 'x', 0, 6})
      .Byte(200).Be16(3).Raw({1, 2, 3})
      .EndScope()
      .End();
  return file;
}

TEST_F(PellisTest, UnknownFirstRecordGivesItsOffsetAndDump) {
  Bytes bytes;
  for (int i = 0; i < 40; ++i) bytes.push_back(static_cast<uint8_t>(200 + i % 50));
  TIarObjectWriter file;
  file.Raw(bytes);
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_ERROR}));
  EXPECT_EQ(results[0].Text, BadRecordText(0, bytes));
  EXPECT_EQ(results[0].Text.substr(0, 36), "Unimplemented block at [0]\n\nDump:\nC8");
}

TEST_F(PellisTest, DumpShowsBytesPastTheEndAsEightFs) {
  TIarObjectWriter file;
  file.Byte(200);
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_ERROR}));
  std::string expected = "Unimplemented block at [0]\n\nDump:\nC8";
  for (int i = 1; i < 16; ++i) expected += "FFFFFFFF";
  expected += "\n";
  for (int i = 16; i < 32; ++i) expected += "FFFFFFFF";
  EXPECT_EQ(results[0].Text, expected);
}

TEST_F(PellisTest, RecordWithoutDeclaredLengthEndsTheLoadAtItsOffset) {
  TIarObjectWriter file;
  file.TargetInfo(1, 2, 3, {{201, 4}}).Code({1}).Byte(200).Raw({1, 2, 3, 4}).End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_TARGETINFO, PR_CODE, PR_ERROR}));
  EXPECT_EQ(results[2].Text, BadRecordText(10, {200, 1, 2, 3, 4, 255}));
}

TEST_F(PellisTest, EmptyFileOrFolderIsAnErrorNotAnEnd) {
  auto results = h.Run(TIarObjectWriter{});
  ASSERT_EQ(KindsOf(results), (Kinds{PR_ERROR}));
  EXPECT_EQ(results[0].Text, BadRecordText(0, {}));
  EXPECT_EQ(KindsOf(h.Run(std::filesystem::temp_directory_path().string())), (Kinds{PR_ERROR}));
}

TEST_F(PellisTest, EveryCutShortFileEndsWithAnError) {
  const TIarObjectWriter sample = SampleFile();
  const Bytes& whole = sample.Bytes();
  ASSERT_EQ(h.Run(sample).back().Kind, PR_END);
  for (std::size_t length = 0; length < whole.size(); ++length) {
    TIarObjectWriter file;
    file.Raw(Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
    auto results = h.Run(file);
    ASSERT_EQ(results.back().Kind, PR_ERROR) << "cut at " << length;
    EXPECT_TRUE(results.back().Text.starts_with("Unimplemented block at ["));
  }
}

TEST_F(PellisTest, RecordCutShortIsReportedAtItsStart) {
  TIarObjectWriter file;
  file.Code({1}).Byte(57).Byte(4).Raw({0xA, 0xB});
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_CODE, PR_ERROR}));
  EXPECT_EQ(results[1].Text, BadRecordText(3, {57, 4, 0xA, 0xB}));
}

TEST_F(PellisTest, FileThatCannotBeOpenedIsReportedByName) {
  std::string path = "/nonexistent/folder/prog.d01";
  auto results = h.Run(path);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_ERROR}));
  EXPECT_EQ(results[0].Text, "Cannot open file \"" + path + "\"");
  EXPECT_EQ(h.Parse()->Kind, PR_END);
  EXPECT_EQ(h.Close(), 0);
}

TEST_F(PellisTest, ParseAfterTheEndOrAnErrorGivesTheEnd) {
  for (const TIarObjectWriter& file : {TIarObjectWriter{}.End(), TIarObjectWriter{}.Byte(7)}) {
    std::string path = h.Save(file);
    std::vector<uint8_t> tables(TYPE_BUFFER_SIZE);
    h.Open(path.c_str(), 0, reinterpret_cast<TModuleEntry*>(tables.data()),
           reinterpret_cast<TScopeEntry*>(tables.data()), reinterpret_cast<TLineEntry*>(tables.data()), tables.data());
    EXPECT_NE(h.Parse()->Kind, PR_CODE);
    EXPECT_EQ(h.Parse()->Kind, PR_END);
    EXPECT_EQ(h.Parse()->Kind, PR_END);
    EXPECT_EQ(h.Close(), 0);
  }
}

TEST_F(PellisTest, OpenStartsEveryFileAfresh) {
  TIarObjectWriter first;
  first.TargetInfo(1, 2, 3, {{200, 0}}).ModuleHeader(0, 0x12, "m").Segment(0x21, 0x5000).Line(1, 0).End();
  ASSERT_EQ(h.Run(first).back().Kind, PR_END);

  TIarObjectWriter second;
  second.Code({1}).ModuleHeader(0, 0x20, "n").Line(9, 3).Byte(200).End();
  auto results = h.Run(second);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_CODE, PR_MODULEFLAG, PR_ERROR}));
  EXPECT_EQ(results[0].Code.Area, 0x81);
  EXPECT_EQ(Value(results[0].Code.Address), 0u);
  EXPECT_EQ(Value(h.Module(0).ModuleNumber), 0);
  EXPECT_EQ(Value(h.Scope(0).StartAddress), 1u);
  EXPECT_EQ(Value(h.Scope(0).FirstLineEntry), 0u);
}

// Full tables: the last entry that fits is written with its end marker; the
// next record ends the load at its offset and nothing is written past a table.
TEST_F(PellisTest, FullModuleTableEndsTheLoad) {
  TIarObjectWriter file;
  for (std::size_t i = 0; i < MODULE_TABLE_ENTRIES; ++i) file.ModuleHeader(0, 0x10, "m" + std::to_string(i));
  long offset = static_cast<long>(file.Bytes().size());
  file.ModuleHeader(0, 0x10, "over").End();
  auto results = h.Run(file);
  ASSERT_EQ(results.size(), MODULE_TABLE_ENTRIES + 1);
  ASSERT_EQ(results.back().Kind, PR_ERROR);
  EXPECT_TRUE(results.back().Text.starts_with("Unimplemented block at [" + std::to_string(offset) + "]"));
  EXPECT_STREQ(h.Module(MODULE_TABLE_ENTRIES - 1).ModuleName, "m367");
  EXPECT_EQ(h.ModuleBytes()[MODULE_TABLE_ENTRIES * sizeof(TModuleEntry)], 0);
  EXPECT_TRUE(h.GuardsIntact());
}

TEST_F(PellisTest, FullScopeTableEndsTheLoad) {
  TIarObjectWriter file;
  file.ModuleHeader(0, 0x10, "m");
  for (std::size_t i = 0; i < SCOPE_TABLE_ENTRIES; ++i) file.Line(static_cast<uint16_t>(i), 14);
  long offset = static_cast<long>(file.Bytes().size());
  file.Line(1, 14).End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_MODULEFLAG, PR_ERROR}));
  EXPECT_EQ(results[1].Text, BadRecordText(offset, {71, 0, 1, 0, 0, 0, 0, 0, 0, 14, 255}));
  EXPECT_EQ(Value(h.Scope(SCOPE_TABLE_ENTRIES - 1).FirstLine), SCOPE_TABLE_ENTRIES - 1);
  EXPECT_EQ(h.Line(SCOPE_TABLE_ENTRIES).Area, 0);
  EXPECT_TRUE(h.GuardsIntact());
}

TEST_F(PellisTest, FullLineTableEndsTheLoad) {
  TIarObjectWriter file;
  file.ModuleHeader(0, 0x10, "m");
  for (std::size_t i = 0; i < LINE_TABLE_ENTRIES; ++i) file.Line(static_cast<uint16_t>(i), 1);
  file.Line(7, 1).End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_MODULEFLAG, PR_ERROR}));
  EXPECT_EQ(Value(h.Line(LINE_TABLE_ENTRIES - 1).Line), (LINE_TABLE_ENTRIES - 1) & 0xFFFF);
  EXPECT_EQ(Value(h.Scope(0).LastLine), (LINE_TABLE_ENTRIES - 1) & 0xFFFF);
  EXPECT_TRUE(h.GuardsIntact());
}

TEST_F(PellisTest, FullTypeBufferEndsTheLoad) {
  // Each function type with 255 parameters takes 517 bytes; 2028 of them and
  // the end index fill all but 6 bytes of the buffer.
  Bytes body = {0, 6, 0, 255};
  body.resize(body.size() + 510, 0x11);
  TIarObjectWriter file;
  for (int i = 1; i <= 2028; ++i) file.TypeDefinition(static_cast<uint16_t>(i), 20, body);
  long offset = static_cast<long>(file.Bytes().size());
  file.TypeDefinition(9999, 20, body).End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_ERROR}));
  EXPECT_TRUE(results[0].Text.starts_with("Unimplemented block at [" + std::to_string(offset) + "]"));
  EXPECT_EQ(h.Types()[2028 * 517], 0);
  EXPECT_EQ(h.Types()[2028 * 517 + 1], 0);
  EXPECT_TRUE(h.GuardsIntact());
}

TEST_F(PellisTest, TypeLargerThanTheBufferEndsTheLoad) {
  TIarObjectWriter file;
  file.Byte(74).Be16(1).Byte(17).Name("big").Be32(0).Be16(5000);
  for (int i = 0; i < 5000; ++i) file.Be32(0).Name(std::string(255, 'm')).Be16(1);
  file.End();
  auto results = h.Run(file);
  ASSERT_EQ(KindsOf(results), (Kinds{PR_ERROR}));
  EXPECT_EQ(h.Types()[0], 0);
  EXPECT_TRUE(h.GuardsIntact());
}

TEST_F(PellisTest, ModuleNumbersStopBeforeTheyWrap) {
  // Unnamed modules reuse one entry, so only the number runs out.
  TIarObjectWriter file;
  for (int i = 0; i <= 32768; ++i) file.ModuleHeader(0, 0x10, "");
  file.End();
  auto results = h.Run(file);
  ASSERT_EQ(results.size(), 32769u);
  EXPECT_EQ(results.back().Kind, PR_ERROR);
  EXPECT_EQ(Value(h.Module(0).ModuleNumber), 32767);
}

}  // namespace
