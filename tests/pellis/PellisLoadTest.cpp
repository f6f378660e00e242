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

}  // namespace
