#include "DumpLines.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "Configuration.h"
#include "Protocol.h"
#include "Tgtz80.h"

namespace {

// The largest count of one target transfer.
constexpr std::size_t MaxTransfer = 255;

// Bytes from 32 to 126 show as themselves, all others as a dot.
char Printable(uint8_t byte) { return byte < 32 || byte >= 127 ? '.' : static_cast<char>(byte); }

void AppendHex(std::string& line, uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X ", digits, static_cast<unsigned>(value));
  line += text;
}

uint32_t LittleEndian(const uint8_t* bytes, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

// Per grouping: cursor positions of a line, characters after the prefix, and
// the width of the first item.
struct TShape {
  int Positions;
  int DataWidth;
  int FirstItemWidth;
};
constexpr TShape Shapes[] = {{16, 32, 2}, {32, 66, 2}, {8, 40, 4}, {4, 36, 8}};
}  // namespace

int TDumpLines::Positions() const { return Shapes[DataMode].Positions; }

int TDumpLines::DataWidth() const { return Shapes[DataMode].DataWidth; }

int TDumpLines::FirstItemWidth() const { return Shapes[DataMode].FirstItemWidth; }

int TDumpLines::AddressDigits() const {
  const int digits = 2 * AddrMode + 2;
  return Area & (AREA_BANKED | AREA_PROGRAM) ? std::max(digits, 6) : digits;
}

int TDumpLines::AreaAddrSize() const {
  std::string name;
  TheCpu->GetAreaName(Area, name);
  return static_cast<int>(name.size()) + AddressDigits() + 2;
}

std::string TDumpLines::CreateLine(uint32_t address, const uint8_t* bytes) const {
  std::string line;
  TheCpu->GetAreaName(Area, line);
  line += ':';
  AppendHex(line, TheCpu->MaskAddress(Area, address), AddressDigits());
  switch (DataMode) {
    case BYTEx8:
    case BYTEx16: {
      const int count = BytesPerLine();
      for (int k = 0; k < count; ++k) {
        if (k == 8) line += "- ";
        AppendHex(line, bytes[k], 2);
      }
      std::transform(bytes, bytes + count, std::back_inserter(line), Printable);
      break;
    }
    case WORDx8:
      for (int k = 0; k < 8; ++k) AppendHex(line, LittleEndian(bytes + 2 * k, 2), 4);
      break;
    case DWORDx4:
      for (int k = 0; k < 4; ++k) AppendHex(line, LittleEndian(bytes + 4 * k, 4), 8);
      break;
  }
  return line;
}

std::vector<std::string> TDumpLines::CreateLines(uint32_t address, int lines) const {
  const std::size_t perLine = static_cast<std::size_t>(BytesPerLine());
  std::vector<uint8_t> bytes(static_cast<std::size_t>(std::max(lines, 0)) * perLine);
  ReadMemoryPieces(Area, address, bytes.size(), bytes.data());
  std::vector<std::string> result;
  for (int i = 0; i < lines; ++i)
    result.push_back(CreateLine(address + static_cast<uint32_t>(i * perLine), bytes.data() + i * perLine));
  return result;
}

int TDumpLines::PositionColumn(int p) const {
  const int a = AreaAddrSize();
  switch (DataMode) {
    case BYTEx8: return p < 8 ? a + 3 * p : a + p + 16;
    case BYTEx16: return p >= 16 ? a + p + 34 : a + 3 * p + (3 * p > 23 ? 2 : 0);
    case WORDx8: return a + 5 * p;
    case DWORDx4: return a + 9 * p;
  }
  return a;
}

bool TDumpLines::ItemAt(int c, int& position, int& column) const {
  if (c < 0) c = 0;
  if (c >= DataWidth()) return false;
  switch (DataMode) {
    case BYTEx8:
      if (c < 24) {
        position = c / 3;
        column = 3 * position;
      } else {
        position = c - 16;
        column = c;
      }
      return true;
    case BYTEx16:
      if (c >= 50) {
        position = c - 34;
        column = c;
      } else if (c < 24) {
        position = c / 3;
        column = 3 * position;
      } else {
        // The "- " between the halves belongs to byte 7.
        position = (c - 2) / 3;
        column = 3 * position >= 24 ? 3 * position + 2 : 3 * position;
      }
      return true;
    case WORDx8:
      position = c / 5;
      column = 5 * position;
      return true;
    case DWORDx4:
      position = c / 9;
      column = 9 * position;
      return true;
  }
  return false;
}

int TDumpLines::CursorWidth(int col) const {
  switch (DataMode) {
    case BYTEx8: return col < AreaAddrSize() + 24 ? 2 : 1;
    case BYTEx16: return col < AreaAddrSize() + 50 ? 2 : 1;
    case WORDx8: return 4;
    case DWORDx4: return 8;
  }
  return 0;
}

uint32_t TDumpLines::Offset(uint32_t address, int row, int p) const {
  uint32_t byte = 0;
  switch (DataMode) {
    case BYTEx8: byte = static_cast<uint32_t>(p > 7 ? p - 8 : p); break;
    case BYTEx16: byte = static_cast<uint32_t>(p > 15 ? p - 16 : p); break;
    case WORDx8: byte = static_cast<uint32_t>(2 * p); break;
    case DWORDx4: byte = static_cast<uint32_t>(4 * p); break;
  }
  return address + static_cast<uint32_t>(row * BytesPerLine()) + byte;
}

void ReadMemoryPieces(uint16_t area, uint32_t address, std::size_t count, uint8_t* buffer) {
  for (std::size_t done = 0; done < count;) {
    const std::size_t piece = std::min(count - done, MaxTransfer);
    TheProtocol->ReadMemory(static_cast<uint8_t>(area), address + static_cast<uint32_t>(done),
                            static_cast<uint8_t>(piece), buffer + done);
    done += piece;
  }
}
