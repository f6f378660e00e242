// An IAR object file loaded into the engine through Pellis.so, as File > Open
// with format 10 does: code in target memory, symbols with resolved scopes,
// lines, modules and the procedure names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Debug.h"
#include "EngineFixture.h"
#include "IarObjectWriter.h"
#include "MessageBoxRecorder.h"
#include "PackedValue.h"
#include "Protocol.h"
#include "Symbols.h"

namespace {

constexpr uint8_t kPellisFormat = 10;

class PellisLoad : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    // Made here while the holder does not make them.
    if (!TheSymbols) TheSymbols = (ownSymbols = std::make_unique<TSymbols>()).get();
    if (!TheDebug) TheDebug = (ownDebug = std::make_unique<TDebug>()).get();
    path = (std::filesystem::temp_directory_path() / ("pellis-load-" + std::to_string(getpid()) + ".d01")).string();
  }
  void TearDown() override {
    std::filesystem::remove(path);
    if (ownDebug) TheDebug = nullptr;
    if (ownSymbols) TheSymbols = nullptr;
    ownDebug.reset();
    ownSymbols.reset();
    EngineFixture::TearDown();
  }

  std::string path;
  TMessageBoxRecorder boxes;

 private:
  std::unique_ptr<TSymbols> ownSymbols;
  std::unique_ptr<TDebug> ownDebug;
};

TEST_F(PellisLoad, ObjectFileReachesTargetSymbolsAndTables) {
  TIarSymbol local{7, 0, 0xFFFE, "i", 6, 0};
  TIarSymbol global{1, 0, 0x4000, "main", 20, 0};
  TIarObjectWriter file;
  file.TargetInfo(0x11, 0x22, 0x33)
      .ModuleHeader(1, 0x12, "prog")
      .SourceFile("prog.c")
      .Segment(0x00, 0x4000)
      .Line(3, 14).Code({0x3E, 0x05})
      .Line(4, 1).Code({0x3C})
      .Line(5, 1).Code({0xC9})
      .SymbolList({local})
      .EndScope()
      .Symbol(global)
      .End();
  ASSERT_TRUE(file.Save(path));
  TheDebug->LoadProgram(path, 1, kPellisFormat);
  EXPECT_TRUE(boxes.Messages.empty());

  std::vector<uint8_t> memory(5);
  TheProtocol->ReadMemory(0, 0x4000, 5, memory.data());
  EXPECT_EQ(memory, (std::vector<uint8_t>{0x3E, 0x05, 0x3C, 0xC9, 0x00}));

  const TSymbolRecord* main = TheSymbols->FindByName("main", false);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Value(main->Value), 0x4000u);
  EXPECT_EQ(Value(main->ScopeLow), 0u);
  EXPECT_EQ(Value(main->ScopeHigh), -1);
  const TSymbolRecord* i = TheSymbols->FindByName("i", false);
  ASSERT_NE(i, nullptr);
  EXPECT_EQ(Value(i->ScopeLow), 0x4000u);
  EXPECT_EQ(Value(i->ScopeHigh), 0x4003);

  const TLineEntry* line = TheDebug->FindLineByAddress(0x4002);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(Value(line->Line), 4u);
  ASSERT_NE(TheDebug->GetModule(0), nullptr);
  EXPECT_STREQ(TheDebug->GetModule(0)->SourceFile, "prog.c");
  EXPECT_EQ(TheDebug->GetByteOrder(), 1);
  EXPECT_EQ(TheDebug->MainProcName, "main");
  EXPECT_EQ(TheDebug->ExitProcName, "exit");
  uint8_t format = 0;
  EXPECT_EQ(TheDebug->GetLoadedFile(nullptr, nullptr, &format), 1);
  EXPECT_EQ(format, kPellisFormat);
}

// Files that fill the module or the scope table to its last entry: the reader
// writes the end marker into the table's last bytes, which the program must
// have allocated (the sanitizer build catches a shorter table).
TEST_F(PellisLoad, FullTablesKeepTheirEndMarkersInside) {
  struct TCase {
    const char* Name;
    int Modules;
    int Scopes;
  };
  for (const TCase& c : {TCase{"368 modules", 368, 0}, TCase{"2978 scopes", 1, 2978}}) {
    SCOPED_TRACE(c.Name);
    TIarObjectWriter file;
    for (int m = 0; m < c.Modules; ++m) file.ModuleHeader(1, 0x10, "m" + std::to_string(m));
    file.Segment(0x00, 0x1000);
    for (int s = 0; s < c.Scopes; ++s) file.Line(static_cast<uint16_t>(s + 1), 14).Code({0x00});
    file.End();
    ASSERT_TRUE(file.Save(path));
    TheDebug->LoadProgram(path, 1, kPellisFormat);
    EXPECT_TRUE(boxes.Messages.empty());

    ASSERT_NE(TheDebug->GetModule(static_cast<int16_t>(c.Modules - 1)), nullptr);
    EXPECT_EQ(TheDebug->GetModule(static_cast<int16_t>(c.Modules - 1))->ModuleName, "m" + std::to_string(c.Modules - 1));
    EXPECT_EQ(TheDebug->GetModule(static_cast<int16_t>(c.Modules)), nullptr);
    if (c.Scopes == 0) continue;
    const uint32_t last = 0x1000u + static_cast<uint32_t>(c.Scopes) - 1;
    const TScopeEntry* scope = TheDebug->FindScopeByAddress(last);
    ASSERT_NE(scope, nullptr);
    EXPECT_EQ(Value(scope->StartAddress), last);
    const TLineEntry* line = TheDebug->FindLineByAddress(last);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(Value(line->Line), static_cast<uint32_t>(c.Scopes));
    EXPECT_EQ(TheDebug->FindScopeByAddress(last + 1), nullptr);
  }
}

}  // namespace
