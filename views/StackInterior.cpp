#include "StackInterior.h"

#include <QMenu>

#include <algorithm>

#include "Configuration.h"
#include "Inputdialogs.h"
#include "Protocol.h"
#include "StackLines.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {

// A scroll-bar jump, whichever way and however far the thumb went.
constexpr int JumpBytes = 256;
constexpr TColor SeparatorLight = clSilver;
constexpr TColor SeparatorDark = clGray;
constexpr int GlyphSize = 8;

// A green arrow pointing right, outlined in black; the bottom-left pixel's
// colour is left out when it is drawn.
const char* const SpArrow[] = {
    "8 8 3 1",  "  c #FF00FF", ". c #000000", "g c #00C000",
    "    .   ", "    ..  ", ".....g. ", ".gggggg.",
    ".....g. ", "    ..  ", "    .   ", "        ",
};

QAction* AddItem(QMenu* menu, const char* name, const char* caption) {
  QAction* item = menu->addAction(QString::fromLatin1(caption));
  item->setObjectName(QString::fromLatin1(name));
  return item;
}

}  // namespace

TStackInterior::TStackInterior(QWidget* Owner)
    : TScroller(Owner), FPopup(new QMenu(this)),
      FSpGlyph(MakeTransparentGlyph(QStringLiteral("IMG_CURRSP"), QImage(SpArrow))) {
  FPopup->setObjectName(QStringLiteral("Default"));
  connect(AddItem(FPopup, "GotoAddr", "Goto..."), &QAction::triggered, this, [this] { FOnGotoAddr(this); });
  connect(AddItem(FPopup, "Origin", "Origin"), &QAction::triggered, this, [this] { FOnOrigin(this); });
  connect(AddItem(FPopup, "Modify", "Modify..."), &QAction::triggered, this, [this] { FOnModify(this); });
  SetPopupMenu(FPopup);
}

void TStackInterior::SetAddr(std::uint32_t Value) {
  FAddr = TheCpu->MaskAddress(FArea, Value);
  Refresh();
}

void TStackInterior::SetArea(std::uint16_t Value) {
  FArea = Value;
  FAddr = TheCpu->MaskAddress(FArea, FAddr);
  Refresh();
}

void TStackInterior::SetAddrMode(TAddrMode Value) {
  if (Value == FAddrMode) return;
  FAddrMode = Value;
  Refresh();
}

void TStackInterior::SetDataMode(TDataMode Value) {
  if (Value == FDataMode) return;
  FDataMode = Value;
  Refresh();
}

void TStackInterior::CreateWnd() {
  TScroller::CreateWnd();
  Canvas()->Font = Font();
  SetVScrollParams(-JumpBytes, JumpBytes, 0);
  CreateAllLines();
}

void TStackInterior::CreateAllLines() {
  // One read fills every line, and the target reads at most 255 bytes at a
  // time: a view taller than that shows blank rows below.
  const int count = StackLineCount(GetNumLines() + 1, FDataMode);
  uint8_t buffer[StackReadLimit + 1] = {};
  TheProtocol->ReadMemory(static_cast<uint8_t>(FArea), FAddr, static_cast<uint8_t>(count * ItemWidth()), buffer);
  FLines = MakeStackLines(FArea, FAddr, FAddrMode, FDataMode, buffer, count);
  FSp = TheCpu->GetSP();
}

void TStackInterior::Refresh() {
  CreateAllLines();
  Invalidate();
}

void TStackInterior::Stopped() {
  FArea = TheCpu->GetStackArea();
  SetAddr(TheCpu->GetSP());
}

void TStackInterior::GetMinMaxInfo(QSize& Min, QSize& Max) const {
  const int columns = 2 * FAddrMode + 5 + (2 * FDataMode + 2);
  ComputeAreaSize(QSize(columns, 1), Min);
  ComputeAreaSize(QSize(columns, 8), Max);
}

int TStackInterior::BlankPosition(const std::string& Line) {
  const std::size_t blank = Line.find(' ');
  return blank == std::string::npos ? 0 : static_cast<int>(blank) + 1;
}

void TStackInterior::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font = Font();
  const int width = canvas->Size().width();
  const int height = canvas->Size().height();
  canvas->Brush = {Color(), TBrushStyle::Solid};
  canvas->FillRect(QRect(0, 0, width, height));
  canvas->Brush.Color = SeparatorLight;
  canvas->FillRect(QRect(HMargin() - 4, 0, 1, height));
  canvas->Brush.Color = SeparatorDark;
  canvas->FillRect(QRect(HMargin() - 3, 0, 1, height));
  if (!FLines.empty()) {
    canvas->Brush.Color = AddrColor;
    canvas->FillRect(QRect(HMargin() - 2, 0, BlankPosition(FLines[0]) * GetColWidth(), height));
  }
  canvas->Brush.Style = TBrushStyle::Clear;
  for (int y = 0, i = 0; y < height && i < static_cast<int>(FLines.size()); y += GetLineHeight(), ++i) {
    canvas->TextOut(HMargin(), y, QString::fromLatin1(FLines[static_cast<std::size_t>(i)]));
    if (IsStackPointerLine(FAddr, FDataMode, i, FSp)) canvas->Draw(2, y + (GetLineHeight() - GlyphSize) / 2, FSpGlyph);
  }
  canvas->Brush.Style = TBrushStyle::Solid;
  if (FFocused) DrawCursor(cmShow);
}

void TStackInterior::DrawCursor(TCursorMode Mode) {
  if (FCursorRow < 0 || FCursorRow >= static_cast<int>(FLines.size())) return;
  const std::string& line = FLines[static_cast<std::size_t>(FCursorRow)];
  QPoint at(BlankPosition(line), FCursorRow);
  MapCharsToPixels(at);
  at.rx() -= 2;
  TCanvas* canvas = Canvas();
  canvas->Font = Font();
  canvas->Brush = {Mode == cmShow ? clHighlight : Color(), TBrushStyle::Solid};
  canvas->Font.Color = Mode == cmShow ? Color() : Font().Color;
  canvas->FillRect(QRect(at.x(), at.y(), canvas->Size().width() - at.x(), GetLineHeight()));
  canvas->Brush.Style = TBrushStyle::Clear;
  canvas->TextOut(HMargin(), at.y(), QString::fromLatin1(line));
  canvas->Brush.Style = TBrushStyle::Solid;
}

void TStackInterior::IOnLButtonDown(QObject*, int Col, int Row) {
  FCursorRow = std::max(std::min(Row, GetNumLines() - 1), 0);
  FCursorCol = std::max(Col, 2 * FAddrMode + 5);
}

void TStackInterior::IOnLButtonDblClk(QObject*, int, int) { Modify({}); }

void TStackInterior::IOnHScroll(QObject*, TNewScrollCode, int&) {}

void TStackInterior::IOnVScroll(QObject*, TNewScrollCode Code, int& Pos) {
  if (FFocused) DrawCursor(cmHide);
  const std::uint32_t step = static_cast<std::uint32_t>(ItemWidth());
  const std::uint32_t page = static_cast<std::uint32_t>(GetNumLines()) * step;
  std::uint32_t addr = FAddr;
  bool moved = true;
  switch (Code) {
    case nscLineUp:
    case nscBarLineUp: addr -= step; break;
    case nscLineDown:
    case nscBarLineDown: addr += step; break;
    case nscPageUp: addr -= page; break;
    case nscPageDown: addr += page; break;
    case nscPosition:
      if (Pos > 0)
        addr += JumpBytes;
      else if (Pos < 0)
        addr -= JumpBytes;
      else
        moved = false;
      break;
    case nscTop: addr -= JumpBytes; break;
    case nscBottom: addr += JumpBytes; break;
    default: moved = false; break;
  }
  if (moved) SetAddr(addr);
  Pos = 0;
  if (FFocused) DrawCursor(cmShow);
}

void TStackInterior::IOnSize(QObject*, int, unsigned short, unsigned short) {
  const int n = GetNumLines();
  if (static_cast<int>(FLines.size()) <= n) CreateAllLines();
  FCursorRow = std::max(std::min(FCursorRow, n - 1), 0);
}

void TStackInterior::IOnChar(QObject*, unsigned short Char, int) {
  if (Char == 7)
    FOnGotoAddr(this);
  else if (Char >= '!' && Char <= '~')
    Modify(std::string(1, static_cast<char>(Char)));
}

void TStackInterior::FOnGotoAddr(QObject*) {
  std::string answer;
  if (!InputQueryDialog("Display at address", "New address:", answer, 0, 0)) return;
  uint8_t area = 0;
  uint32_t address = 0;
  if (ParseAddress(answer.c_str(), area, address, 1) != 0) return;
  FArea = area;
  FAddr = TheCpu->MaskAddress(FArea, address);
  FCursorRow = 0;
  Refresh();
}

void TStackInterior::FOnOrigin(QObject*) {
  FArea = 1;
  FAddr = TheCpu->MaskAddress(FArea, TheCpu->GetSP());
  FCursorRow = 0;
  Refresh();
}

void TStackInterior::FOnModify(QObject*) { Modify({}); }

int TStackInterior::Modify(const std::string& Initial) {
  static constexpr const char* Formats[] = {"B", "W", "D", "D"};
  std::string answer = Initial;
  if (!InputQueryDialog("Modify stack", "New value:", answer, 0, 0)) return -1;
  uint8_t value[4] = {};
  const int result = ParseArgs(Formats[FDataMode], answer.c_str(), value, sizeof value);
  if (result != 0) return result;
  // The value's low bytes, least significant first, whatever the target's byte order.
  TheProtocol->WriteMemory(static_cast<uint8_t>(FArea), FAddr + static_cast<uint32_t>(FCursorRow * ItemWidth()),
                           static_cast<uint8_t>(ItemWidth()), value);
  Refresh();
  if (OnChange) OnChange(this);
  return 0;
}
