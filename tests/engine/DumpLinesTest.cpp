#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "DumpLines.h"
#include "EngineFixture.h"
#include "Protocol.h"

namespace {

using L = TDumpLines;

class DumpLinesTest : public EngineFixture {
 protected:
  void Poke(uint32_t address, std::vector<uint8_t> bytes) {
    TheProtocol->WriteMemory(1, address, static_cast<uint8_t>(bytes.size()), bytes.data());
  }
};

struct LineCase {
  L::TDataMode Mode;
  L::TAddrMode AddrMode;
  uint16_t Area;
  uint32_t Address;
  const char* Line;
};

TEST_F(DumpLinesTest, LinesShowTheBytesInEachGrouping) {
  Poke(0x0100, {0x41, 0x42, 0x00, 0x7F, 0x20, 0x7E, 0x1F, 0x80, 0xFF, 0x21, 0x0A, 0x5A, 0x61, 0x2D, 0x2B, 0x31});
  Poke(0x0008, {0x20, 0x7E, 0x1F, 0x80, 0xFF, 0x21, 0x0A, 0x5A});
  const LineCase cases[] = {
      {L::BYTEx8, L::ADDRx16, 1, 0x0100, "CODE:0100 41 42 00 7F 20 7E 1F 80 AB.. ~.."},
      {L::BYTEx16, L::ADDRx16, 1, 0x0100,
       "CODE:0100 41 42 00 7F 20 7E 1F 80 - FF 21 0A 5A 61 2D 2B 31 AB.. ~...!.Za-+1"},
      {L::WORDx8, L::ADDRx16, 1, 0x0100, "CODE:0100 4241 7F00 7E20 801F 21FF 5A0A 2D61 312B "},
      {L::DWORDx4, L::ADDRx16, 1, 0x0100, "CODE:0100 7F004241 801F7E20 5A0A21FF 312B2D61 "},
      {L::BYTEx8, L::ADDRx32, 2, 0x0100, "DATA:00000100 41 42 00 7F 20 7E 1F 80 AB.. ~.."},
      {L::BYTEx8, L::ADDRx8, 8, 0x0008, "IO:08 20 7E 1F 80 FF 21 0A 5A  ~...!.Z"},
      // Only 16 bits count in a plain area, 24 in a program or banked one,
      // which always gets six digits.
      {L::BYTEx8, L::ADDRx16, 1, 0x30100, "CODE:0100 41 42 00 7F 20 7E 1F 80 AB.. ~.."},
      {L::WORDx8, L::ADDRx16, 0x81, 0x12345678, "CODE:345678 0000 0000 0000 0000 0000 0000 0000 0000 "},
      {L::WORDx8, L::ADDRx32, 0x41, 0x100, "CODE:00000100 4241 7F00 7E20 801F 21FF 5A0A 2D61 312B "},
  };
  for (const LineCase& c : cases) {
    const L lines(c.Mode, c.AddrMode, c.Area);
    const std::vector<std::string> built = lines.CreateLines(c.Address, 1);
    ASSERT_EQ(built.size(), 1u);
    EXPECT_EQ(built[0], c.Line);
    EXPECT_EQ(static_cast<int>(built[0].size()), lines.AreaAddrSize() + lines.DataWidth()) << c.Line;
    EXPECT_EQ(built[0][lines.AreaAddrSize() - 1], ' ') << c.Line;
  }
}

// Every position's column, width and address pick out the text of the same
// byte, word or double word in a line, and a click on any of its characters
// selects it again.
TEST_F(DumpLinesTest, PositionsColumnsAndAddressesAgree) {
  std::vector<uint8_t> bytes(16);
  for (int i = 0; i < 16; ++i) bytes[i] = static_cast<uint8_t>(0x41 + i);
  Poke(0x2000, bytes);
  for (L::TDataMode mode : {L::BYTEx8, L::BYTEx16, L::WORDx8, L::DWORDx4}) {
    for (uint16_t area : {uint16_t{1}, uint16_t{0x81}}) {
      const L lines(mode, L::ADDRx16, area);
      const std::string line = lines.CreateLines(0x2000, 1)[0];
      const int a = lines.AreaAddrSize();
      const int itemBytes = mode == L::WORDx8 ? 2 : mode == L::DWORDx4 ? 4 : 1;
      for (int p = 0; p < lines.Positions(); ++p) {
        const int column = lines.PositionColumn(p);
        const int width = lines.CursorWidth(column);
        const uint32_t at = lines.Offset(0x2000, 0, p) - 0x2000;
        std::string expected;
        if (width == 1) {
          expected = std::string(1, static_cast<char>(bytes[at]));
        } else {
          for (int k = itemBytes - 1; k >= 0; --k) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02X", bytes[at + static_cast<uint32_t>(k)]);
            expected += hex;
          }
        }
        SCOPED_TRACE(line + " position " + std::to_string(p));
        EXPECT_EQ(line.substr(static_cast<std::size_t>(column), static_cast<std::size_t>(width)), expected);
        for (int c = column; c < column + width; ++c) {
          int position = -1, itemColumn = -1;
          ASSERT_TRUE(lines.ItemAt(c - a, position, itemColumn));
          EXPECT_EQ(position, p);
          EXPECT_EQ(itemColumn + a, column);
        }
      }
      EXPECT_EQ(lines.Offset(0x2000, 3, 0), 0x2000u + 3u * static_cast<uint32_t>(lines.BytesPerLine()));
    }
  }
}

struct ClickCase {
  L::TDataMode Mode;
  int C;  // column after the prefix
  bool Hit;
  int Position;
  int Column;
};

TEST_F(DumpLinesTest, ClicksBetweenItemsSelectTheItemBefore) {
  const ClickCase cases[] = {
      {L::BYTEx8, -5, true, 0, 0},     // on the prefix
      {L::BYTEx8, 23, true, 7, 21},    // the blank before the characters
      {L::BYTEx8, 32, false, 0, 0},
      {L::BYTEx16, 24, true, 7, 21},   // the "- " between the halves
      {L::BYTEx16, 25, true, 7, 21},
      {L::BYTEx16, 66, false, 0, 0},
      {L::WORDx8, 39, true, 7, 35},
      {L::DWORDx4, 35, true, 3, 27},
      {L::DWORDx4, 36, false, 0, 0},
  };
  for (const ClickCase& c : cases) {
    const L lines(c.Mode, L::ADDRx16, 1);
    int position = 0, column = 0;
    SCOPED_TRACE(std::to_string(c.Mode) + " column " + std::to_string(c.C));
    ASSERT_EQ(lines.ItemAt(c.C, position, column), c.Hit);
    if (!c.Hit) continue;
    EXPECT_EQ(position, c.Position);
    EXPECT_EQ(column, c.Column);
  }
}

}  // namespace
