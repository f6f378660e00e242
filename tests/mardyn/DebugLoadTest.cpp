// Loading IEEE-695 object files into the engine through the Mardyn plug-in:
// target memory, symbols, lines, progress messages, Ctrl+Break and failures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "Configuration.h"
#include "Debug.h"
#include "EngineFixture.h"
#include "IeeeWriter.h"
#include "InputQuery.h"
#include "KeyState.h"
#include "MainFormMessages.h"
#include "MessageBoxRecorder.h"
#include "PackedValue.h"
#include "ProgramFolder.h"
#include "Protocol.h"
#include "Symbols.h"
#include "TickCount.h"
#include "Tgtz80.h"

namespace {

constexpr uint8_t kIeee695 = 9;

std::vector<uint8_t> Counting(std::size_t count, uint8_t first) {
  std::vector<uint8_t> bytes(count);
  for (std::size_t n = 0; n < count; ++n) bytes[n] = static_cast<uint8_t>(first + n);
  return bytes;
}

// Two functions with a local each, globals (one given twice), externals with
// and without a definition, and 400 bytes of code in two records plus a repeat.
// Parse results: 4 publics, a static, 2 externals, 2 locals, 3 code blocks, the end.
std::vector<uint8_t> ProgramFile() {
  TIeeeWriter w;
  w.ModuleBegin("Z80", "prog");
  std::size_t environment = w.PartOffset(1);
  std::size_t external = w.PartOffset(3);
  w.PatchPartOffset(environment, static_cast<uint32_t>(w.Position()));
  w.Environment(117);
  w.PatchPartOffset(external, static_cast<uint32_t>(w.Position()));
  w.PublicName(1, "_main", 0x100).PublicName(2, "_add", 0x140).PublicName(3, "_add", 0x140);
  w.PublicName(4, "_putchar", 0x200);
  w.Module("prog").Static("counter", 4, 0x8000).External("putchar", 1).External("missing", 1);
  w.SourceFile("prog.c");
  w.Function("_main", 0x100).Automatic("i", 4, 0xFFFE);
  w.Line(3, 1, 0x100).Line(4, 1, 0x104).Line(5, 1, 0x10A).FunctionEnd(0x13F);
  w.Function("_add", 0x140).Automatic("i", 4, 0xFFFC);
  w.Line(9, 1, 0x140).Line(10, 1, 0x145).FunctionEnd(0x14F);
  w.BlockEnd().BlockEnd();
  w.SectionBegin(1).LoadAddress(0x100).Data(Counting(300, 0)).Data(Counting(100, 44));
  w.LoadAddress(0x300).Repeat(4, std::vector<uint8_t>{0xC9});
  w.ModuleEnd();
  return w.Bytes();
}

struct TSentMessage {
  unsigned Message;
  std::string Text;  // the lParam's text, empty for lParam 0
};

class DebugLoad : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    // The symbol table and the debug manager, made here when the holder does not make them.
    savedSymbols = std::exchange(TheSymbols, TheSymbols ? TheSymbols : (ownSymbols = std::make_unique<TSymbols>()).get());
    savedDebug = std::exchange(TheDebug, TheDebug ? TheDebug : (ownDebug = std::make_unique<TDebug>()).get());
    path = (std::filesystem::temp_directory_path() / ("debugload-" + std::to_string(getpid()) + ".abs")).string();
    previousForm = SetMainFormHandler([this](unsigned msg, WPARAM, LPARAM lParam) -> LRESULT {
      sent.push_back({msg, MessageText(lParam)});
      return 0;
    });
    previousKeys = SetKeyStateHandler([this](int vk) -> short {
      EXPECT_EQ(vk, VK_CANCEL);
      ++keyQueries;
      return keys ? keys(keyQueries) : 0;
    });
    previousQuery = SetInputQueryHandler([this](const char*, const char*, std::string&, int) {
      ++bankPrompts;
      return false;
    });
  }
  void TearDown() override {
    SetMainFormHandler(std::move(previousForm));
    SetKeyStateHandler(std::move(previousKeys));
    SetInputQueryHandler(std::move(previousQuery));
    UseTestClock(false);
    std::filesystem::remove(path);
    if (ownDebug) TheDebug = savedDebug;
    if (ownSymbols) TheSymbols = savedSymbols;
    ownDebug.reset();
    ownSymbols.reset();
    EngineFixture::TearDown();
  }

  void Load(const std::vector<uint8_t>& bytes) {
    TIeeeWriter file;
    file.Raw(bytes);
    ASSERT_TRUE(file.SaveTo(path));
    TheDebug->LoadProgram(path, 1, kIeee695);
  }

  std::vector<uint8_t> Memory(uint32_t address, uint8_t count) {
    std::vector<uint8_t> bytes(count);
    TheProtocol->ReadMemory(0, address, count, bytes.data());
    return bytes;
  }

  std::vector<TSentMessage> Sent(unsigned message) const {
    std::vector<TSentMessage> matching;
    for (const TSentMessage& m : sent)
      if (m.Message == message) matching.push_back(m);
    return matching;
  }

  std::string path;
  TMessageBoxRecorder boxes;
  std::vector<TSentMessage> sent;
  std::function<short(int query)> keys;
  int keyQueries = 0;
  int bankPrompts = 0;

 private:
  std::unique_ptr<TSymbols> ownSymbols;
  std::unique_ptr<TDebug> ownDebug;
  TSymbols* savedSymbols = nullptr;
  TDebug* savedDebug = nullptr;
  TMainFormHandler previousForm;
  TKeyStateHandler previousKeys;
  TInputQueryHandler previousQuery;
};

std::string Progress(int bytes, int symbols) {
  return "Loading program: [" + std::to_string(bytes) + "] Bytes, [" + std::to_string(symbols) +
         "] Symbols read\r\n\r\nPress <Ctrl + Break> to stop";
}

TEST_F(DebugLoad, CodeReachesTargetMemory) {
  Load(ProgramFile());
  EXPECT_TRUE(boxes.Messages.empty());
  EXPECT_EQ(Memory(0x100, 200), Counting(200, 0));
  EXPECT_EQ(Memory(0x1C8, 200), Counting(200, 200));
  EXPECT_EQ(Memory(0x290, 1), std::vector<uint8_t>{0});
  EXPECT_EQ(Memory(0x300, 5), (std::vector<uint8_t>{0xC9, 0xC9, 0xC9, 0xC9, 0}));
  EXPECT_EQ(bankPrompts, 0);  // banking is off
}

TEST_F(DebugLoad, SymbolsAreStoredOnceWithResolvedScopes) {
  Load(ProgramFile());
  EXPECT_EQ(TheSymbols->Count(), 7);  // _main, _add, _putchar, counter, putchar, i, i

  const TSymbolRecord* main = TheSymbols->FindByName("_main", false);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Value(main->Value), 0x100u);
  EXPECT_EQ(Value(main->Attributes), 1);

  const TSymbolRecord* putchar = TheSymbols->FindByName("putchar", false);
  ASSERT_NE(putchar, nullptr);  // the extern took its definition's place
  EXPECT_EQ(Value(putchar->Value), 0x200u);
  EXPECT_EQ(Value(putchar->Attributes), 1);
  EXPECT_EQ(TheSymbols->FindByName("missing", false), nullptr);

  std::vector<std::pair<uint32_t, int32_t>> scopes;
  for (TSymbolRecord* i = TheSymbols->FindByName("i", false); i && std::string(i->Name) == "i";
       i = TheSymbols->NextByName())
    scopes.emplace_back(Value(i->ScopeLow), Value(i->ScopeHigh));
  std::sort(scopes.begin(), scopes.end());
  EXPECT_EQ(scopes, (std::vector<std::pair<uint32_t, int32_t>>{{0x100, 0x10A}, {0x140, 0x145}}));

  const TSymbolRecord* counter = TheSymbols->FindByName("counter", false);
  ASSERT_NE(counter, nullptr);
  EXPECT_EQ(Value(counter->ScopeLow), 0u);
  EXPECT_EQ(Value(counter->ScopeHigh), -1);
}

TEST_F(DebugLoad, LinesAndProceduresAreKnownAfterTheLoad) {
  Load(ProgramFile());
  const TLineEntry* line = TheDebug->FindLineByAddress(0x104);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(Value(line->Line), 4u);
  EXPECT_EQ(TheDebug->FindLineByAddress(0x105), nullptr);
  line = TheDebug->FindLineByNumber(0, 9);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(Value(line->Address), 0x145u);
  ASSERT_NE(TheDebug->GetModule(0), nullptr);
  EXPECT_STREQ(TheDebug->GetModule(0)->SourceFile, "prog.c");

  EXPECT_EQ(TheDebug->MainProcName, "_main");
  EXPECT_EQ(TheDebug->ExitProcName, "exit");
  std::string name;
  uint32_t time = 0;
  uint8_t format = 0;
  EXPECT_EQ(TheDebug->GetLoadedFile(&name, &time, &format), 1);
  EXPECT_EQ(name, path);
  EXPECT_NE(time, 0xFFFFFFFFu);
  EXPECT_EQ(format, kIeee695);
}

TEST_F(DebugLoad, LongPathIsKeptWhole) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / std::string(150, 'd');
  std::filesystem::create_directories(folder);
  path = (folder / "long.abs").string();
  Load(ProgramFile());
  std::string name;
  EXPECT_EQ(TheDebug->GetLoadedFile(&name, nullptr, nullptr), 1);
  EXPECT_EQ(name, path);
  EXPECT_EQ(TheSymbols->Count(), 7);
  std::filesystem::remove_all(folder);
}

TEST_F(DebugLoad, BusyMessagesBracketTheLoad) {
  Load(ProgramFile());
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent.front().Message, UM_BEGINBUSY);
  EXPECT_EQ(sent.front().Text, Progress(0, 0));
  EXPECT_EQ(sent.back().Message, UM_ENDBUSY);
  EXPECT_EQ(sent.back().Text, "");
}

TEST_F(DebugLoad, ProgressIsReportedAtMostEvery500Milliseconds) {
  UseTestClock(true, 0);
  keys = [](int) -> short {
    AdvanceTestClock(200);  // every Parse takes 200 ms
    return 0;
  };
  Load(ProgramFile());
  std::vector<std::string> texts;
  for (const TSentMessage& m : Sent(UM_STATUSTEXT)) texts.push_back(m.Text);
  // After results 3, 6, 9 and 12 (600, 1200, 1800 and 2400 ms).
  EXPECT_EQ(texts, (std::vector<std::string>{Progress(0, 3), Progress(0, 6), Progress(0, 8), Progress(400, 8)}));
}

TEST_F(DebugLoad, CtrlBreakStopsOnlyTheCodeDownload) {
  keys = [](int query) -> short { return query >= 11 ? 0x8001 : 0; };  // before the second code block
  Load(ProgramFile());
  EXPECT_EQ(Memory(0x100, 200), Counting(200, 0));
  EXPECT_EQ(Memory(0x1C8, 100), Counting(100, 200));  // the first block's rest is still written
  EXPECT_EQ(Memory(0x22C, 4), std::vector<uint8_t>(4, 0));
  EXPECT_EQ(Memory(0x300, 1), std::vector<uint8_t>{0});
  EXPECT_EQ(TheSymbols->Count(), 7);
  EXPECT_NE(TheDebug->FindLineByAddress(0x145), nullptr);
  std::string name;
  EXPECT_EQ(TheDebug->GetLoadedFile(&name, nullptr, nullptr), 1);
}

TEST_F(DebugLoad, MissingFileIsReportedAndNothingLoads) {
  TheDebug->LoadProgram("/nonexistent/prog.abs", 1, kIeee695);
  ASSERT_EQ(boxes.Messages.size(), 1u);
  EXPECT_EQ(boxes.Messages[0].Text, "File not found");
  EXPECT_EQ(boxes.Messages[0].Caption, "Error");
  EXPECT_EQ(boxes.Messages[0].Flags, static_cast<unsigned>(MB_ICONSTOP));
  uint32_t time = 0;
  EXPECT_EQ(TheDebug->GetLoadedFile(nullptr, &time, nullptr), 0);
  EXPECT_EQ(time, 0xFFFFFFFFu);
  EXPECT_TRUE(sent.empty());
}

TEST_F(DebugLoad, ReaderErrorIsShownAndKeepsWhatWasRead) {
  TIeeeWriter w;
  w.ModuleBegin("Z80", "bad").PublicName(1, "_main", 0x100).LoadAddress(0x100).Data(Counting(10, 1));
  std::size_t at = w.Position();
  w.Byte(0xFA).Byte(0x01);
  Load(w.Bytes());
  ASSERT_EQ(boxes.Messages.size(), 1u);
  EXPECT_TRUE(boxes.Messages[0].Text.starts_with("Unimplemented block at [" + std::to_string(at) + "]\n\nDump:\nFA01"));
  EXPECT_EQ(boxes.Messages[0].Caption, "Error");
  EXPECT_EQ(boxes.Messages[0].Flags, static_cast<unsigned>(MB_ICONSTOP));
  EXPECT_EQ(TheDebug->GetLoadedFile(nullptr, nullptr, nullptr), 1);
  EXPECT_NE(TheSymbols->FindByName("_main", false), nullptr);
  EXPECT_EQ(Memory(0x100, 10), Counting(10, 1));
  EXPECT_EQ(sent.back().Message, UM_ENDBUSY);
}

TEST_F(DebugLoad, SecondLoadStartsFromEmptyTables) {
  Load(ProgramFile());
  TIeeeWriter w;
  w.ModuleBegin("Z80", "other").PublicName(1, "_other", 0x10).Module("other").BlockEnd().ModuleEnd();
  Load(w.Bytes());
  EXPECT_EQ(TheSymbols->Count(), 1);
  EXPECT_EQ(TheSymbols->FindByName("_main", false), nullptr);
  EXPECT_STREQ(TheDebug->GetModule(0)->ModuleName, "other");
  EXPECT_EQ(TheDebug->GetModule(1), nullptr);
  EXPECT_EQ(TheDebug->FindLineByAddress(0x104), nullptr);
  EXPECT_EQ(TheDebug->ExitProcName, "_exit");
}

TEST_F(DebugLoad, OverlongExternalNameFindsNoDefinition) {
  std::string name(255, 'x');
  TIeeeWriter w;
  w.ModuleBegin("Z80", "m").PublicName(1, "_" + name.substr(0, 254), 0x10).Module("m").External(name, 1);
  w.BlockEnd().ModuleEnd();
  Load(w.Bytes());
  EXPECT_TRUE(boxes.Messages.empty());
  EXPECT_EQ(TheSymbols->Count(), 1);
}

TEST_F(DebugLoad, MissingReaderLeavesEarlierSymbols) {
  Load(ProgramFile());
  sent.clear();
  ProgramFolder folder(std::filesystem::temp_directory_path().string());
  Load(ProgramFile());
  ASSERT_EQ(boxes.Messages.size(), 1u);
  EXPECT_EQ(boxes.Messages[0].Text, "Cannot find library \"Mardyn.so\"");
  EXPECT_EQ(boxes.Messages[0].Caption, "Error");
  EXPECT_EQ(TheSymbols->Count(), 7);
  EXPECT_TRUE(sent.empty());
}

TEST_F(DebugLoad, ReaderWithoutItsEntriesIsNotCalled) {
  ProgramFolder folder(UNUSABLE_READER_DIR);
  Load(ProgramFile());
  ASSERT_EQ(boxes.Messages.size(), 1u);
  EXPECT_EQ(boxes.Messages[0].Text, "Cannot use library \"Mardyn.so\"");
  EXPECT_EQ(TheDebug->GetLoadedFile(nullptr, nullptr, nullptr), 0);
  EXPECT_TRUE(sent.empty());
}

// The scripted reader takes the processor description's first byte from the
// file and sends a cleared byte-order flag, an ignored value and the symbols
// "_ICE_DUMMY_", "dropped" (kind 9) and "kept".
TEST_F(DebugLoad, ProcessorDescriptionByteOrderAndDroppedSymbols) {
  ProgramFolder folder(SCRIPTED_READER_DIR);
  struct Case {
    uint8_t processor;
    bool iceDummyStored;
    uint8_t area2;  // MapArea(2) on processor variant 3
    uint8_t area9;
  } cases[] = {{6, false, 3, 2}, {0x11, true, 2, 9}};
  for (const Case& c : cases) {
    TheCpu->LittleEndian = 1;
    TheCpu->CpuType = 3;
    Load({c.processor});
    EXPECT_TRUE(boxes.Messages.empty()) << int(c.processor);
    EXPECT_EQ(TheSymbols->FindByName("_ICE_DUMMY_", false) != nullptr, c.iceDummyStored) << int(c.processor);
    EXPECT_EQ(TheSymbols->FindByName("dropped", false), nullptr);
    EXPECT_NE(TheSymbols->FindByName("kept", false), nullptr);
    EXPECT_EQ(TheDebug->GetByteOrder(), 0);
    EXPECT_EQ(TheCpu->LittleEndian, 0);
    EXPECT_EQ(TheDebug->MapArea(2), c.area2) << int(c.processor);
    EXPECT_EQ(TheDebug->MapArea(9), c.area9) << int(c.processor);
    EXPECT_EQ(TheDebug->MainProcName, "start");
    EXPECT_EQ(TheDebug->ExitProcName, "stop");
  }
  TheCpu->CpuType = 1;
  EXPECT_EQ(TheDebug->MapArea(2), 2);
}

class BankedLoad : public DebugLoad {
 protected:
  void SetUp() override {
    DebugLoad::SetUp();
    BankMode = 0;
    BankWindowLow = 0x8000;
    BankWindowHigh = 0xFFFF;
  }
  void TearDown() override {
    BankMode = 0xFF;
    BankWindowLow = BankWindowHigh = 0;
    DebugLoad::TearDown();
  }
};

TEST_F(BankedLoad, PromptsOncePerBankChangeInsideTheWindow) {
  struct TPrompt {
    std::string Caption, Prompt, Value;
    int Mode;
  };
  std::vector<TPrompt> prompts;
  SetInputQueryHandler([&](const char* caption, const char* prompt, std::string& value, int mode) {
    prompts.push_back({caption, prompt, value, mode});
    if (prompts.size() != 1) return false;
    value = "20h,5Ah";  // writes one byte, then the prompt asks again
    return true;
  });
  TIeeeWriter w;
  w.ModuleBegin("Z80", "banked");
  w.LoadAddress(0x18000).Data(Counting(4, 1)).LoadAddress(0x18100).Data(Counting(4, 1));
  w.LoadAddress(0x0100).Data(Counting(4, 1)).LoadAddress(0x28000).Data(Counting(4, 1));
  w.ModuleEnd();
  Load(w.Bytes());
  ASSERT_EQ(prompts.size(), 3u);
  EXPECT_EQ(prompts[0].Caption, "Change to bank 01h");
  EXPECT_EQ(prompts[0].Prompt, "Address,Value:");
  EXPECT_EQ(prompts[0].Mode, 1);
  EXPECT_EQ(prompts[1].Caption, "Change to bank 01h");
  EXPECT_EQ(Value(prompts[1].Value), "20h,5Ah");
  EXPECT_EQ(prompts[2].Caption, "Change to bank 02h");
  EXPECT_EQ(Value(prompts[2].Value), "20h,5Ah");  // the last answer is offered again
  EXPECT_EQ(Memory(0x20, 1), std::vector<uint8_t>{0x5A});
  for (auto& m : boxes.Messages) ADD_FAILURE() << m.Text;
}

}  // namespace

namespace {

// The sample program as SDCC built it, loaded from its IEEE-695 object file.
TEST_F(DebugLoad, SampleProgramLoadsWithItsCodeSymbolsAndLines) {
  TheDebug->LoadProgram(SAMPLES_DIR "/demo.abs", 1, kIeee695);
  EXPECT_TRUE(boxes.Messages.empty());

  // The code of main as the Intel HEX file has it: ld bc,0000h; ...
  EXPECT_EQ(Memory(0x23D, 3), (std::vector<uint8_t>{0x01, 0x00, 0x00}));
  EXPECT_EQ(Memory(0x0000, 3), (std::vector<uint8_t>{0xC3, 0x00, 0x01}));

  const TSymbolRecord* main = TheSymbols->FindByName("_main", false);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Value(main->Value), 0x23Du);
  const TSymbolRecord* origin = TheSymbols->FindByName("origin", false);
  ASSERT_NE(origin, nullptr);
  EXPECT_EQ(Value(origin->Value), 0x8002u);
  EXPECT_EQ(TheDebug->FindType(static_cast<uint16_t>(Value(origin->TypeIndex))), 1);

  const TLineEntry* line = TheDebug->FindLineByAddress(0x240);  // counter = add(counter, i);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(Value(line->Line), 28u);
  line = TheDebug->FindLineByNumber(0, 19);  // p->x = add(p->x, dx);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(Value(line->Address), 0x215u);
  EXPECT_STREQ(TheDebug->GetModule(0)->SourceFile, "demo.c");
  EXPECT_EQ(TheDebug->MainProcName, "_main");
}

}  // namespace
