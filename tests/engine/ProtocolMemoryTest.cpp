#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "Protocol.h"
#include "Tgtz80.h"

namespace {

class ProtocolMemoryTest : public EngineFixture {
 protected:
  // Writes the bytes 1..n from address on, without going through the wrap
  // logic under test one byte at a time.
  void Seed(uint32_t address, int n) {
    for (int i = 0; i < n; ++i) {
      uint8_t b = static_cast<uint8_t>(i + 1);
      TheProtocol->WriteMemory(0, (address + i) & 0xFFFF, 1, &b);
    }
  }
  uint8_t At(uint32_t address) {
    uint8_t b = 0;
    TheProtocol->ReadMemory(0, address, 1, &b);
    return b;
  }
  using Image = std::array<uint8_t, 0x10000>;
  Image Whole() {
    Image image;
    for (uint32_t a = 0; a < image.size(); a += 0x80) TheProtocol->ReadMemory(0, a, 0x80, &image[a]);
    return image;
  }
  // Gives every byte of the image a different neighbour.
  Image SeedWhole() {
    Image image;
    for (uint32_t a = 0; a < image.size(); ++a) image[a] = static_cast<uint8_t>(a * 7 + (a >> 8));
    for (uint32_t a = 0; a < image.size(); a += 0x80) TheProtocol->WriteMemory(0, a, 0x80, &image[a]);
    return image;
  }
};

// Every transfer of 16 bytes at 0xFFF8 covers 0xFFF8..0xFFFF and then 0..7.
struct WrapCase {
  const char* Name;
  std::function<void(uint32_t address)> Write;  // writes 0x11..0x20 from address on
};

TEST_F(ProtocolMemoryTest, ReadsWrapFromFFFFToZero) {
  Seed(0xFFF8, 16);
  using Reader = uint16_t (TProtocol::*)(uint8_t, uint32_t, uint8_t, uint8_t*);
  for (Reader read : {&TProtocol::ReadMemory, &TProtocol::ReadMemoryWrapped}) {
    std::array<uint8_t, 17> out{};
    out[16] = 0xEE;
    EXPECT_EQ((TheProtocol->*read)(0, 0xFFF8, 16, out.data()), STATUS_OK);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(out[i], i + 1) << i;
    EXPECT_EQ(out[16], 0xEE);
  }
  char hex[33];
  hex[32] = '#';
  EXPECT_EQ(TheProtocol->ReadMemoryHex(0, 0xFFF8, 16, hex), STATUS_OK);
  EXPECT_EQ(std::string(hex, 33), "0102030405060708090A0B0C0D0E0F10#");
}

TEST_F(ProtocolMemoryTest, WritesWrapFromFFFFToZero) {
  std::vector<uint8_t> pattern(16);
  for (int i = 0; i < 16; ++i) pattern[i] = static_cast<uint8_t>(0x11 + i);
  const std::vector<WrapCase> cases = {
      {"WriteMemory", [&](uint32_t a) { TheProtocol->WriteMemory(2, a, 16, pattern.data()); }},
      {"WriteMemoryHex", [&](uint32_t a) {
         TheProtocol->WriteMemoryHex(2, a, 16, "1112131415161718191A1B1C1D1E1F20");
       }},
      {"FillBlock", [&](uint32_t a) { TheProtocol->FillBlock(2, a, 16, 16, pattern.data()); }},
      {"CopyBlock", [&](uint32_t a) {
         TheProtocol->WriteMemory(2, 0x4000, 16, pattern.data());
         TheProtocol->CopyBlock(2, 0x4000, 2, a, 16);
       }},
  };
  for (const WrapCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TheProtocol->FillBlock(0, 0xFFF0, 0x20, 1, std::array<uint8_t, 1>{0}.data());
    c.Write(0xFFF8);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(At((0xFFF8 + i) & 0xFFFF), 0x11 + i) << i;
    EXPECT_EQ(At(0xFFF7), 0);
    EXPECT_EQ(At(0x0008), 0);
  }
}

TEST_F(ProtocolMemoryTest, CopyReadsItsSourceAcrossTheWrap) {
  Seed(0xFFFE, 4);
  TheProtocol->CopyBlock(1, 0xFFFE, 1, 0x2000, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(At(0x2000 + i), i + 1);
}

TEST_F(ProtocolMemoryTest, OnlyTheLowSixteenBitsOfAnAddressCount) {
  uint8_t b = 0x5A;
  TheProtocol->WriteMemory(0x81, 0x12345, 1, &b);
  EXPECT_EQ(At(0x2345), 0x5A);
  EXPECT_EQ(At(0xFFFF2345), 0x5A);
}

TEST_F(ProtocolMemoryTest, HexReadIsUpperCaseWithoutTerminator) {
  const uint8_t bytes[] = {0x0A, 0xF0};
  TheProtocol->WriteMemory(0, 0x100, 2, bytes);
  char text[5] = "####";
  TheProtocol->ReadMemoryHex(0, 0x100, 2, text);
  EXPECT_STREQ(text, "0AF0");
}

TEST_F(ProtocolMemoryTest, HexWriteTakesDigitsOfEitherCase) {
  struct Case {
    const char* Text;
    std::vector<uint8_t> Bytes;
  };
  const Case cases[] = {
      {"0AF0", {0x0A, 0xF0}},
      {"0af0", {0x0A, 0xF0}},
      {"fFaB", {0xFF, 0xAB}},
      {"9e7D", {0x9E, 0x7D}},
      // Anything else is converted unchecked: c - '0', less 7 above 9, the
      // first digit kept to its low four bits.
      {"G11G", {0x01, 0x10}},
      {"::@@", {0x33, 0x99}},
      {"g00g", {0x00, 0x30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    TheProtocol->WriteMemoryHex(0, 0x200, 2, c.Text);
    EXPECT_EQ(At(0x200), c.Bytes[0]);
    EXPECT_EQ(At(0x201), c.Bytes[1]);
  }
}

TEST_F(ProtocolMemoryTest, HexWriteOfNothingStillDropsTheRegisters) {
  TheProtocol->ReadRegisters();
  ASSERT_TRUE(TheCpu->GetRegistersValid());
  TheProtocol->WriteMemoryHex(0, 0x300, 0, "");
  EXPECT_FALSE(TheCpu->GetRegistersValid());
}

TEST_F(ProtocolMemoryTest, FillRepeatsThePatternFromItsStart) {
  const uint8_t pattern[] = {0x12, 0x34};
  TheProtocol->FillBlock(0, 0x500, 5, 2, pattern);
  const uint8_t expected[] = {0x12, 0x34, 0x12, 0x34, 0x12, 0x00};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(At(0x500 + i), expected[i]) << i;
}

TEST_F(ProtocolMemoryTest, FillWithNoPatternOrNoCountWritesNothing) {
  Seed(0x600, 4);
  const uint8_t pattern[] = {0xAA};
  EXPECT_EQ(TheProtocol->FillBlock(0, 0x600, 4, 0, pattern), STATUS_OK);
  EXPECT_EQ(TheProtocol->FillBlock(0, 0x600, 0, 1, pattern), STATUS_OK);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(At(0x600 + i), i + 1);
}

TEST_F(ProtocolMemoryTest, FillOfTheWholeImageWrapsOntoItsStart) {
  const uint8_t pattern[] = {1, 2, 3};
  TheProtocol->FillBlock(0, 0x8000, 0x10001, 3, pattern);
  // Byte 0xFFFF lands on 0x7FFF with pattern index 0; byte 0x10000 lands on
  // 0x8000 again with pattern index 1.
  EXPECT_EQ(At(0x7FFF), 1);
  EXPECT_EQ(At(0x8000), 2);
  EXPECT_EQ(At(0x8001), 2);
  EXPECT_EQ(At(0x8002), 3);
}

TEST_F(ProtocolMemoryTest, UpwardOverlappingCopySmearsTheFirstByte) {
  Seed(0x1000, 5);
  TheProtocol->CopyBlock(1, 0x1000, 1, 0x1001, 4);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(At(0x1000 + i), 1) << i;
}

// Blocks longer than the image go round it more than once; the result is
// that of the plain byte-by-byte loop, which the reference here runs.
TEST_F(ProtocolMemoryTest, BlocksLongerThanTheImageEndAsTheByteByByteLoop) {
  struct Case {
    const char* Name;
    uint32_t Source;  // fill: pattern length
    uint32_t Dest;
    uint32_t Count;
  };
  const Case copies[] = {
      {"one up", 0x1000, 0x1001, 0x10005},   {"three up", 0x1000, 0x1003, 0x2345F},
      {"three down", 0x1003, 0x1000, 0x10001}, {"half", 0x8000, 0x0000, 0x18000},
      {"onto itself", 0x1234, 0x1234, 0x20000}, {"one lap", 0xFFF0, 0x0010, 0x10000},
  };
  for (const Case& c : copies) {
    SCOPED_TRACE(c.Name);
    Image expected = SeedWhole();
    for (uint32_t i = 0; i < c.Count; ++i) expected[(c.Dest + i) & 0xFFFF] = expected[(c.Source + i) & 0xFFFF];
    EXPECT_EQ(TheProtocol->CopyBlock(0, c.Source, 0, c.Dest, c.Count), STATUS_OK);
    EXPECT_TRUE(Whole() == expected);
  }
  const uint8_t pattern[] = {1, 2, 3, 4, 5};
  const Case fills[] = {{"three", 3, 0xFFF0, 0x2345F}, {"five", 5, 0x0001, 0x10001}, {"one", 1, 0x4000, 0x30000}};
  for (const Case& c : fills) {
    SCOPED_TRACE(c.Name);
    Image expected = SeedWhole();
    for (uint32_t i = 0; i < c.Count; ++i) expected[(c.Dest + i) & 0xFFFF] = pattern[i % c.Source];
    EXPECT_EQ(TheProtocol->FillBlock(0, c.Dest, c.Count, static_cast<uint8_t>(c.Source), pattern), STATUS_OK);
    EXPECT_TRUE(Whole() == expected);
  }
}

TEST_F(ProtocolMemoryTest, TheLongestBlocksFinishAtOnce) {
  const Image before = SeedWhole();
  TheProtocol->CopyBlock(0, 0x1000, 0, 0x1001, 0xFFFFFFFF);
  Image smeared;
  smeared.fill(before[0x1000]);
  EXPECT_TRUE(Whole() == smeared);

  const uint8_t pattern[] = {1, 2, 3};
  TheProtocol->FillBlock(0, 0x8000, 0xFFFFFFFF, 3, pattern);
  // The last byte, number FFFFFFFE, lands on 7FFE with pattern index 2.
  EXPECT_EQ(At(0x7FFD), 2);
  EXPECT_EQ(At(0x7FFE), 3);
  EXPECT_EQ(At(0x7FFF), 3);  // byte FFFEFFFF, pattern index 2
  EXPECT_EQ(At(0x8000), 1);  // byte FFFF0000, pattern index 0
}

}  // namespace

namespace {

TEST_F(ProtocolMemoryTest, TheDemonstrationTargetShowsItsTransfersToARecorder) {
  std::vector<TMemoryTransfer> seen;
  TTransferRecorder previous = SetTransferRecorder([&](const TMemoryTransfer& t) { seen.push_back(t); });
  uint8_t pattern[2] = {0xAA, 0x55};
  char hex[4];
  TheProtocol->FillBlock(2, 0x4000, 0x300, 2, pattern);
  TheProtocol->ReadMemoryHex(1, 0x4000, 2, hex);
  SetTransferRecorder(previous);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].Kind, TTransferKind::Fill);
  EXPECT_EQ(seen[0].Count, 0x300u);
  EXPECT_EQ(seen[1].Kind, TTransferKind::ReadHex);
  EXPECT_EQ(seen[1].Area, 1);
  EXPECT_EQ(seen[1].Address, 0x4000u);
}

}  // namespace
