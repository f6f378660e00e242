// Program images through Brenlow.so into the target and the symbol table, as
// File > Open loads formats 1 to 8.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <utility>

#include "Configuration.h"
#include "ImageBinding.h"
#include "ImageLoad.h"
#include "Library.h"
#include "LoadingFixture.h"
#include "PackedValue.h"
#include "RunGatherer.h"
#include "Symbols.h"

namespace {

constexpr int INTEL = 2;

struct TWrite {
  uint8_t Area;
  uint32_t Address;
  uint32_t Count;
  bool operator==(const TWrite&) const = default;
};
std::ostream& operator<<(std::ostream& out, const TWrite& w) {
  return out << "(" << int{w.Area} << ", " << std::hex << w.Address << "h, " << std::dec << w.Count << ")";
}

// An Intel HEX data record of count bytes value, value + 1, ... at address.
std::string Record(uint16_t address, int count, int value = 0) {
  char line[600];
  int size = std::snprintf(line, sizeof line, ":%02X%04X00", count, address);
  unsigned sum = static_cast<unsigned>(count + (address >> 8) + (address & 0xFF));
  for (int i = 0; i < count; ++i) {
    size += std::snprintf(line + size, sizeof line - size, "%02X", (value + i) & 0xFF);
    sum += static_cast<unsigned>((value + i) & 0xFF);
  }
  std::snprintf(line + size, sizeof line - size, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
  return line;
}

std::string Records(uint16_t from, uint16_t to) {
  std::string text;
  for (uint32_t a = from; a < to; a += 16) text += Record(static_cast<uint16_t>(a), 16, static_cast<int>(a));
  return text;
}

std::vector<TWrite> HexWrites() {
  std::vector<TWrite> writes;
  for (const TMemoryTransfer& t : ProtocolScript().Transfers)
    if (t.Kind == TTransferKind::WriteHex) writes.push_back({t.Area, t.Address, t.Count});
  return writes;
}

// 300 bytes of CODE from base, in the pieces one read can carry.
std::vector<uint8_t> Memory300(uint32_t base) {
  std::vector<uint8_t> memory(300);
  TheProtocol->ReadMemory(1, base, 150, memory.data());
  TheProtocol->ReadMemory(1, base + 150, 150, memory.data() + 150);
  return memory;
}

std::string Progress(int bytes, int symbols) {
  return "Loading program\r\n[" + std::to_string(bytes) + "] Bytes, [" + std::to_string(symbols) +
         "] Symbols read\r\nPress <H> to quit load";
}

class ImageLoad : public LoadingTest {};

// Continuing records go out in pieces of exactly 255 bytes; anything that
// breaks the run (a gap, an overlap, the end) sends the rest.
TEST_F(ImageLoad, DataRecordsGoOutIn255BytePiecesWhileTheirRunLasts) {
  struct TCase {
    const char* Name;
    std::string File;
    std::vector<TWrite> Writes;
  } const cases[] = {
      {"one run", Records(0x0000, 0x0200), {{1, 0x0000, 255}, {1, 0x00FF, 255}, {1, 0x01FE, 2}}},
      {"a gap", Record(0x0000, 16) + Record(0x0020, 16), {{1, 0x0000, 16}, {1, 0x0020, 16}}},
      {"an overlap", Record(0x0000, 16) + Record(0x0008, 16), {{1, 0x0000, 16}, {1, 0x0008, 16}}},
      {"symbols between", Record(0x0000, 16) + " here 0010\n" + Record(0x0010, 16), {{1, 0x0000, 32}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ProtocolScript().Transfers.clear();
    EXPECT_EQ(LoadProgramImage(Write("image.hex", c.File + ":00000001FF\n"), INTEL, true), TImageLoadResult::Loaded);
    EXPECT_EQ(HexWrites(), c.Writes);
  }
  EXPECT_TRUE(Boxes.Messages.empty());
}

TEST_F(ImageLoad, ReportsItsCounts) {
  LoadProgramImage(Write("image.hex", Records(0x0000, 0x0200) + ":00000001FF\n"), INTEL, true);
  EXPECT_EQ(Busy, (std::vector<std::string>{Progress(0, 0), Progress(512, 0), "end"}));
}

// Data written by another tool, with lower-case digits, loads byte for byte.
TEST_F(ImageLoad, SrecCatImageWithLowerCaseDigitsLoadsExactly) {
  std::vector<uint8_t> bytes(300);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
  const std::string binary = Write("image.bin", std::string(bytes.begin(), bytes.end()));
  const std::string hex = (Folder / "image.hex").string();
  const std::string command = "srec_cat " + binary + " -binary -offset 0x1000 -o - -intel -address-length=2 " +
                              "-output_block_size=16 | tr A-F a-f > " + hex;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  LoadProgramImage(hex, INTEL, true);
  EXPECT_EQ(HexWrites(), (std::vector<TWrite>{{1, 0x1000, 255}, {1, 0x10FF, 45}}));
  EXPECT_EQ(Memory300(0x1000), bytes);
}

// Each of Brenlow's eight formats, written by the library itself, loads back
// into the same memory (the companions of formats 4 to 7 are missing, which
// ends their data after the image).
TEST_F(ImageLoad, EveryFormatLoads) {
  TImageBinding* brenlow = ProgramImageLibrary(IMAGE_READS | IMAGE_WRITES);
  ASSERT_NE(brenlow, nullptr);
  std::vector<uint8_t> bytes(300);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 13 + 5);
  for (int format = 1; format <= 8; ++format) {
    SCOPED_TRACE(format);
    const std::string path = (Folder / ("image" + std::to_string(format))).string();
    brenlow->SetFormat(format);
    ASSERT_EQ(brenlow->Open(path.c_str(), 1), 1);
    for (std::size_t at = 0; at < bytes.size(); at += 16) {
      char text[IMAGE_TEXT_SIZE] = {};
      for (std::size_t i = at; i < std::min(bytes.size(), at + 16); ++i)
        std::snprintf(text + 2 * (i - at), 3, "%02X", bytes[i]);
      TImageRecord record{IR_DATA, 1, static_cast<uint32_t>(0x1000 + at),
                          static_cast<uint16_t>(std::min<std::size_t>(16, bytes.size() - at)), text};
      ASSERT_GE(brenlow->PutData(&record), 0);
    }
    brenlow->Close();
    ProtocolScript().Transfers.clear();
    TheProtocol->FillBlock(1, 0x1000, 300, 1, std::vector<uint8_t>{0}.data());
    EXPECT_EQ(LoadProgramImage(path, format, true), TImageLoadResult::Loaded);
    const uint32_t base = format == 8 ? 0 : 0x1000;  // a binary file keeps no addresses
    EXPECT_EQ(HexWrites(), (std::vector<TWrite>{{1, base, 255}, {1, base + 255, 45}}));
    EXPECT_EQ(Memory300(base), bytes);
  }
  EXPECT_TRUE(Boxes.Messages.empty());
}

TEST_F(ImageLoad, SymbolsAreAddedOnceAndSymbolLoadWritesNothing) {
  const std::string file =
      Write("image.hex", Record(0x0200, 16) + " main 0200\n loop 0210\n main 0200\n:00000001FF\n");
  LoadProgramImage(file, INTEL, false);
  EXPECT_TRUE(HexWrites().empty());
  EXPECT_EQ(TheSymbols->Count(), 2);
  const TSymbolRecord* main = TheSymbols->FindExact(1, 0x200, "main");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->Kind, 0);
  EXPECT_EQ(main->NameLength, 4);
  EXPECT_EQ(Value(main->ScopeLow), 0u);
  EXPECT_EQ(Value(main->ScopeHigh), -1);
  EXPECT_EQ(Busy[1], Progress(0, 2));

  Busy.clear();
  LoadProgramImage(file, INTEL, true);
  EXPECT_EQ(TheSymbols->Count(), 2);
  EXPECT_EQ(Busy[1], Progress(16, 0));
}

// The H key stops the load after the record it was pressed at; the piece
// gathered since the last full one is dropped, and so is the final count.
TEST_F(ImageLoad, HStopsTheLoadAndDropsTheUnfinishedPiece) {
  PressAtLook = 20;  // the first look clears the key; look n follows record n - 1
  LoadProgramImage(Write("image.hex", Records(0x0000, 0x0200) + ":00000001FF\n"), INTEL, true);
  EXPECT_EQ(HexWrites(), (std::vector<TWrite>{{1, 0x0000, 255}}));
  EXPECT_EQ(Busy, (std::vector<std::string>{Progress(0, 0), "end"}));
}

// Records the library hands over from a script, for records it never makes.
std::vector<TImageRecord> ScriptedRecords;
std::vector<std::string> ScriptedTexts;
std::size_t NextRecord = 0;
int32_t ScriptedSetFormat(int32_t) { return 1; }
int32_t ScriptedOpen(const char*, int32_t) { return 1; }
int32_t ScriptedClose() { return 1; }
int32_t ScriptedGetData(TImageRecord* record) {
  if (NextRecord == ScriptedRecords.size()) return -1;
  char* text = record->Text;
  *record = ScriptedRecords[NextRecord];
  record->Text = text;
  std::strcpy(text, ScriptedTexts[NextRecord++].c_str());
  return record->Count;
}

// Loads through a binding whose entries play the script above.
class ScriptedImageLoad : public ImageLoad {
 protected:
  void SetUp() override {
    ImageLoad::SetUp();
    Scripted.SetFormat = ScriptedSetFormat;
    Scripted.Open = ScriptedOpen;
    Scripted.GetData = ScriptedGetData;
    Scripted.Close = ScriptedClose;
  }
  void Load(std::vector<TImageRecord> records, std::vector<std::string> texts) {
    ScriptedRecords = std::move(records);
    ScriptedTexts = std::move(texts);
    NextRecord = 0;
    LoadProgramImage(Scripted, "any", INTEL, true);
  }
  TImageBinding Scripted;
};

TEST_F(ScriptedImageLoad, BadInputEndsTheLoadAfterWritingWhatCameBefore) {
  const std::string before = Record(0x0000, 16);
  struct TCase {
    const char* Name;
    std::vector<TImageRecord> Records;  // none: the file below through Brenlow.so
    std::vector<std::string> Texts;
    std::string File;
  } const cases[] = {
      {"a line of no kind", {}, {}, before + "xyz\n" + Record(0x0010, 16)},
      {"a record cut short", {}, {}, before + ":10001000000102\n"},
      {"over 128 bytes", {{IR_DATA, 1, 0, 16, nullptr}, {IR_DATA, 1, 16, 129, nullptr}},
       {std::string(32, '1'), std::string(254, '2')}, ""},
      {"beyond the text", {{IR_DATA, 1, 0, 16, nullptr}, {IR_DATA, 1, 16, 3, nullptr}},
       {std::string(32, '1'), "0102"}, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ProtocolScript().Transfers.clear();
    Boxes.Messages.clear();
    if (c.Records.empty())
      LoadProgramImage(Write("image.hex", c.File), INTEL, true);
    else
      Load(c.Records, c.Texts);
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Text, "Bad file format!");
    EXPECT_EQ(Boxes.Messages[0].Caption, "Error");
    EXPECT_EQ(HexWrites(), (std::vector<TWrite>{{1, 0x0000, 16}}));
  }
}

// A symbol's length is that of its name, whatever count the record gives.
TEST_F(ScriptedImageLoad, SymbolNamesKeepTheirOwnLength) {
  Load({{IR_SYMBOL, 1, 0x100, 9, nullptr}, {IR_SYMBOL4, 2, 0x200, 1, nullptr}, {IR_END, 0, 0, 0, nullptr}},
       {"main", "counter", ""});
  ASSERT_EQ(TheSymbols->Count(), 2);
  EXPECT_EQ(TheSymbols->FindExact(1, 0x100, "main")->NameLength, 4);
  EXPECT_EQ(TheSymbols->FindExact(2, 0x200, "counter")->NameLength, 7);
  EXPECT_TRUE(Boxes.Messages.empty());
}

TEST_F(ImageLoad, MissingFileIsReportedBeforeAnythingHappens) {
  EXPECT_EQ(LoadProgramImage((Folder / "none.hex").string(), INTEL, true), TImageLoadResult::FileNotFound);
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "File not found!");
  EXPECT_EQ(Boxes.Messages[0].Caption, "Error");
  EXPECT_TRUE(Busy.empty());
}

TEST_F(ImageLoad, MissingOrUnusableLibraryIsNamed) {
  TImageBinding missing, unusable;
  EXPECT_FALSE(ReportBinding(missing.Bind(IMAGE_READS, (Folder / "Brenlow.so").string()), BRENLOW_FILE));
  EXPECT_FALSE(ReportBinding(unusable.Bind(IMAGE_READS, ProgramDirectory() + "/Mardyn.so"), BRENLOW_FILE));
  ASSERT_EQ(Boxes.Messages.size(), 2u);
  EXPECT_EQ(Boxes.Messages[0].Text, "Cannot find library \"Brenlow.so\"");
  EXPECT_EQ(Boxes.Messages[1].Text, "Cannot use library \"Brenlow.so\"");
  EXPECT_EQ(Boxes.Messages[1].Caption, "Error");
}

TEST(HexGathererTest, AnotherAreaBreaksTheRun) {
  std::vector<TWrite> writes;
  std::vector<std::string> texts;
  THexGatherer gatherer([&](uint8_t area, uint32_t address, const char* text, uint8_t count) {
    writes.push_back({area, address, count});
    texts.emplace_back(text);
  });
  const std::string bytes(32, 'A');
  gatherer.Add(1, 0x100, bytes.c_str(), 16);
  gatherer.Add(2, 0x110, bytes.c_str(), 16);
  gatherer.Add(2, 0x120, bytes.c_str(), 3);
  gatherer.Flush();
  EXPECT_EQ(writes, (std::vector<TWrite>{{1, 0x100, 16}, {2, 0x110, 19}}));
  EXPECT_EQ(texts[1], std::string(38, 'A'));
}

}  // namespace
