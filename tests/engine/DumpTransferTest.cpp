// Block load and save through the built Brenlow.so, checked against files
// that srec_cat writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DumpLines.h"
#include "DumpTransfer.h"
#include "EngineFixture.h"
#include "KeyState.h"
#include "MainFormMessages.h"
#include "MessageBoxRecorder.h"
#include "Protocol.h"
#include "TickCount.h"

namespace {

constexpr int SYMBOLIC = 1, INTEL = 2, MOTOROLA = 3, BINARY = 8;

class DumpTransferTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    Folder = std::filesystem::temp_directory_path() /
             ("dump-transfer-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Folder);
    UseTestClock(true, 1000);
    PreviousMainForm = SetMainFormHandler([this](unsigned msg, WPARAM, LPARAM text) -> LRESULT {
      Busy.push_back(msg == UM_ENDBUSY ? std::string("end") : MessageText(text));
      if (msg == UM_BEGINBUSY) AdvanceTestClock(Step);
      return 0;
    });
    PreviousRecorder = SetTransferRecorder([this](const TMemoryTransfer& transfer) {
      if (transfer.Kind == TTransferKind::WriteHex) AdvanceTestClock(Step);
    });
    PreviousKeys = SetKeyStateHandler([this](int vk) -> short {
      if (vk != VkKeyScan('h')) return 0;
      ++KeyLooks;
      return KeyLooks == PressAtLook ? 0x0001 : KeyLooks == 1 ? 0x0001 : 0;
    });
  }
  void TearDown() override {
    SetKeyStateHandler(std::move(PreviousKeys));
    SetTransferRecorder(std::move(PreviousRecorder));
    SetMainFormHandler(std::move(PreviousMainForm));
    UseTestClock(false);
    std::filesystem::remove_all(Folder);
    EngineFixture::TearDown();
  }

  std::string Path(const char* name) const { return (Folder / name).string(); }
  // The bytes 00h, 01h, ... in an Intel HEX file of 16-byte records from 0 on.
  std::string HexFile(int size) {
    const std::string binary = Path("image.bin");
    std::ofstream out(binary, std::ios::binary);
    for (int i = 0; i < size; ++i) out.put(static_cast<char>(i));
    out.close();
    return SrecCat(binary, 0, "image.hex");
  }
  std::string SrecCat(const std::string& binary, uint32_t offset, const char* name) {
    const std::string hex = Path(name);
    const std::string command = "srec_cat " + binary + " -binary -offset " + std::to_string(offset) + " -o " + hex +
                                " -intel -address-length=2 -output_block_size=16";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return hex;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static std::vector<uint8_t> Memory(uint32_t address, uint32_t count) {
    std::vector<uint8_t> bytes(count);
    ReadMemoryPieces(1, address, count, bytes.data());
    return bytes;
  }
  static void Fill(uint32_t address, uint32_t count, uint8_t value) {
    TheProtocol->FillBlock(1, address, count, 1, &value);
  }

  std::filesystem::path Folder;
  TMessageBoxRecorder Boxes;
  std::vector<std::string> Busy;
  uint32_t Step = 0;  // the clock moves on as the busy state begins and at each hex write
  int KeyLooks = 0;
  int PressAtLook = -1;  // the look at the H key that finds it pressed

 private:
  TMainFormHandler PreviousMainForm;
  TKeyStateHandler PreviousKeys;
  TTransferRecorder PreviousRecorder;
};

struct LoadCase {
  uint32_t FileAddress;
  uint32_t Count;
  uint32_t MemoryAddress;
};

// Exactly the file's bytes of the block reach memory, from records that
// start before it, lie inside it or run past its end.
TEST_F(DumpTransferTest, LoadWritesExactlyTheBlocksBytes) {
  const std::string hex = HexFile(0x200);
  const LoadCase cases[] = {{0x100, 0x80, 0x1000}, {0x105, 0x20, 0x2000}, {0x105, 0x20, 0x105},
                            {0x1F8, 0x100, 0x3000}, {0x10, 0, 0x4000}, {0, 1, 0x5000}};
  for (const LoadCase& c : cases) {
    Fill(c.MemoryAddress - 0x20, 0x200, 0xEE);
    _LoadAreaType block{c.FileAddress, 1, c.MemoryAddress, c.Count};
    LoadBlock(hex, INTEL, block);
    std::vector<uint8_t> expected(0x140, 0xEE);
    for (uint32_t i = 0; i < c.Count && c.FileAddress + i < 0x200; ++i)
      expected[0x20 + i] = static_cast<uint8_t>(c.FileAddress + i);
    EXPECT_EQ(Memory(c.MemoryAddress - 0x20, 0x140), expected) << std::hex << c.FileAddress << " " << c.Count;
  }
  EXPECT_TRUE(Boxes.Messages.empty());
}

TEST_F(DumpTransferTest, SaveWritesSixteenByteRecordsThatLoadReadsBack) {
  const std::string binary = Path("block.bin");
  std::ofstream(binary, std::ios::binary) << "ABCDEFGHIJKLMNOPQRST";
  for (uint32_t i = 0; i < 20; ++i) Fill(0x300 + i, 1, static_cast<uint8_t>('A' + i));
  _SaveAreaType block{1, 0x300, 0x105, 20};
  SaveBlock(Path("saved.hex"), INTEL, block);
  EXPECT_EQ(Read(Path("saved.hex")), Read(SrecCat(binary, 0x105, "expected.hex")));
  EXPECT_EQ(uint32_t{block.MemoryAddress}, 0x314u);
  EXPECT_EQ(uint32_t{block.Count}, 0u);

  for (int format : {SYMBOLIC, INTEL, MOTOROLA, BINARY}) {
    _SaveAreaType save{1, 0x300, 0x105, 20};
    SaveBlock(Path("round"), format, save);
    Fill(0x800, 0x40, 0);
    // A binary file has no addresses: its first byte is file address 0.
    _LoadAreaType load{format == BINARY ? 0u : 0x105u, 1, 0x810, 20};
    LoadBlock(Path("round"), format, load);
    std::vector<uint8_t> expected(0x40, 0);
    for (uint32_t i = 0; i < 20; ++i) expected[0x10 + i] = static_cast<uint8_t>('A' + i);
    EXPECT_EQ(Memory(0x800, 0x40), expected) << format;
  }
  _SaveAreaType empty{1, 0x300, 0x105, 0};
  SaveBlock(Path("empty.hex"), INTEL, empty);
  EXPECT_EQ(Read(Path("empty.hex")), ":00000001FF\n");
  EXPECT_TRUE(Boxes.Messages.empty());
}

struct FailureCase {
  bool Save;
  std::string File;
  const char* Message;
  bool Busy;  // the busy state began and ended
};

TEST_F(DumpTransferTest, FailuresAreReportedAndEndTheBusyState) {
  std::ofstream(Path("bad.hex")) << ":10000000000102030405060708090A0B0C0D0E0F78\n:zz\n";
  const FailureCase cases[] = {
      {false, Path("missing.hex"), "File not found!", false},
      {true, Path("no/such/folder/x.hex"), "Cannot create file!", false},
      {true, "/dev/full", "Cannot write file!", true},
      {false, Path("bad.hex"), "Bad file format!", true},
  };
  for (const FailureCase& c : cases) {
    Boxes.Messages.clear();
    Busy.clear();
    Fill(0, 0x20, 0xEE);
    if (c.Save) {
      _SaveAreaType block{1, 0, 0, 0x40};
      SaveBlock(c.File, INTEL, block);
    } else {
      _LoadAreaType block{0, 1, 0, 0x40};
      LoadBlock(c.File, INTEL, block);
    }
    ASSERT_EQ(Boxes.Messages.size(), 1u) << c.Message;
    EXPECT_EQ(Boxes.Messages[0].Text, c.Message);
    EXPECT_EQ(Boxes.Messages[0].Caption, "Error");
    EXPECT_EQ(Boxes.Messages[0].Flags & MB_ICONSTOP, MB_ICONSTOP);
    EXPECT_EQ(Busy.size(), c.Busy ? 2u : 0u) << c.Message;
    if (c.Busy) {
      EXPECT_EQ(Busy.back(), "end");
    }
  }
  // What the bad file held before its bad line stays loaded.
  EXPECT_EQ(Memory(0xF, 2), (std::vector<uint8_t>{0x0F, 0xEE}));
}

// The clock passes a deadline as the operation begins and with each record
// loaded; <H> pressed before the operation does not count, pressed later it
// ends the loop at the next look.
TEST_F(DumpTransferTest, ProgressAndTheAbortKey) {
  const std::string hex = HexFile(0x100);
  Step = 501;
  PressAtLook = 3;
  Fill(0x1000, 0x100, 0xEE);
  _LoadAreaType load{0, 1, 0x1000, 0x100};
  LoadBlock(hex, INTEL, load);
  EXPECT_EQ(Busy, (std::vector<std::string>{"Loading program\r\n[0] Bytes. Press <H> to quit load",
                                            "Loading program\r\n[16] Bytes read. Press <H> to quit load", "end"}));
  // The second record was the last one loaded.
  EXPECT_EQ(Memory(0x101F, 2), (std::vector<uint8_t>{0x1F, 0xEE}));

  Busy.clear();
  KeyLooks = 0;
  PressAtLook = 2;
  _SaveAreaType save{1, 0, 0, 0x100};
  SaveBlock(Path("part.hex"), INTEL, save);
  EXPECT_EQ(Busy, (std::vector<std::string>{"Saving data\r\n[0] Bytes. Press <H> to quit save", "end"}));
  EXPECT_EQ(uint32_t{save.Count}, 0xF0u);
  // A file ended by <H> still gets its end line.
  EXPECT_EQ(Read(Path("part.hex")).substr(Read(Path("part.hex")).size() - 12), ":00000001FF\n");
}

struct SliceCase {
  uint32_t Address, Count;
  std::size_t Digits;
  uint32_t First, BlockCount;
  uint32_t Skip, Taken;
};

// What the load above does not reach: short address fields and the top of
// the address space.
TEST(DumpRecordSlice, RecordsGiveOnlyTheirBytesInsideTheBlock) {
  const SliceCase cases[] = {
      {0x100, 16, 32, 0x105, 0x20, 5, 11}, {0x100, 16, 10, 0x100, 0x20, 0, 5}, {0x100, 16, 32, 0x100, 0, 0, 0},
      {0xFFFFFFF8, 16, 32, 0xFFFFFFFC, 0x10, 4, 12},
  };
  for (const SliceCase& c : cases) {
    const TRecordSlice slice = SliceRecord(c.Address, c.Count, c.Digits, c.First, c.BlockCount);
    EXPECT_EQ(slice.Count, c.Taken) << std::hex << c.Address;
    if (c.Taken) {
      EXPECT_EQ(slice.Skip, c.Skip) << std::hex << c.Address;
    }
  }
}

}  // namespace
