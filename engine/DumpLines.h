#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The lines of the memory dump and where its items stand in them. A line is
// the prefix (area name, ':', the address, a blank) and the data part: hex
// bytes, words or double words, and in the byte modes the bytes again as
// characters. The cursor selects one item: a position counts the hex fields
// of a line first and then its characters.
class TDumpLines {
 public:
  enum TAddrMode : uint8_t { ADDRx8 = 0, ADDRx16 = 1, ADDRx24 = 2, ADDRx32 = 3 };
  enum TDataMode : uint8_t { BYTEx8 = 0, BYTEx16 = 1, WORDx8 = 2, DWORDx4 = 3 };

  TDumpLines(TDataMode dataMode, TAddrMode addrMode, uint16_t area)
      : DataMode(dataMode), AddrMode(addrMode), Area(area) {}

  int BytesPerLine() const { return DataMode == BYTEx8 ? 8 : 16; }
  // Cursor positions of a line.
  int Positions() const;
  // Characters after the prefix.
  int DataWidth() const;
  // Width of the first item, the least a view must show after the prefix.
  int FirstItemWidth() const;
  // The tallest view: 128 bytes.
  int MaxLines() const { return DataMode == BYTEx8 ? 16 : 8; }

  // Prefix width in characters, its blank included.
  int AreaAddrSize() const;
  // Hex digits of the prefix address. Areas addressed in 24 bits get at least
  // six, so that their addresses never widen the prefix.
  int AddressDigits() const;

  std::string CreateLine(uint32_t address, const uint8_t* bytes) const;
  // lines lines from address on, read from the target in pieces that its
  // 8-bit transfer count allows.
  std::vector<std::string> CreateLines(uint32_t address, int lines) const;

  // Column of position p, counted from the start of the line.
  int PositionColumn(int p) const;
  // The item under column c of the data part (0 on the prefix): its position
  // and its first column after the prefix; false past the data part.
  bool ItemAt(int c, int& position, int& column) const;
  // Characters the cursor covers at column col of the line.
  int CursorWidth(int col) const;
  // Address of position p of line row of a view starting at address; not masked.
  uint32_t Offset(uint32_t address, int row, int p) const;

  TDataMode DataMode;
  TAddrMode AddrMode;
  uint16_t Area;
};

// Reads count bytes from address on into buffer, at most 255 a transfer.
void ReadMemoryPieces(uint16_t area, uint32_t address, std::size_t count, uint8_t* buffer);
