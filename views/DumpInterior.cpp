#include "DumpInterior.h"

#include <QMenu>

#include <algorithm>

#include "Configuration.h"
#include "FileDialogs.h"
#include "Inputdialogs.h"
#include "Protocol.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {

// The vertical bar's range; its thumb always returns to the middle.
constexpr int JogRange = 256;
// The text starts two pixels into the view.
constexpr int TextX = 2;
// Modify and fill patterns hold at most this many bytes.
constexpr std::size_t MaxPattern = 255;

#pragma pack(push, 1)
struct TPatternRecord {
  uint32_t Count;
  uint8_t Bytes[MaxPattern];
};
struct TClearRecord {
  uint8_t Area;
  uint32_t Address;
  uint32_t Count;
};
struct TFillRecord {
  uint8_t Area;
  uint32_t Address;
  uint32_t Count;
  TPatternRecord Pattern;
};
struct TCopyRecord {
  uint8_t SourceArea;
  uint32_t Source;
  uint8_t DestArea;
  uint32_t Dest;
  uint32_t Count;
};
#pragma pack(pop)

// Asks with an empty answer; false when cancelled.
bool Ask(const char* caption, const char* prompt, std::string& answer) {
  answer.clear();
  return InputQueryDialog(caption, prompt, answer, 0, 0);
}

// The formats a block moves in, by their filter index (from 1): symbolic,
// Intel HEX, Motorola S-records and binary.
TFileDialogRequest BlockFileDialog(bool save, const char* title) {
  TFileDialogRequest request;
  request.Save = save;
  request.Title = QString::fromLatin1(title);
  request.Filter = QStringLiteral(
      "IAR Symbolic (*.a?\?)|*.a?\?|Intel-Hex (*.hex)|*.hex|Motorola hex (*.hex)|*.hex|Binary (*.bin)|*.bin");
  request.FilterIndex = 1;
  request.FileMustExist = !save;
  // A block is saved over an existing file without asking.
  request.OverwritePrompt = false;
  return request;
}

int ImageFormat(int filterIndex) {
  constexpr int Binary = 8;
  return filterIndex == 4 ? Binary : filterIndex;
}

template <typename Record>
bool AskArgs(const char* caption, const char* prompt, const char* format, Record& record) {
  std::string answer;
  return Ask(caption, prompt, answer) && ParseArgs(format, answer.c_str(), &record, sizeof record) == 0;
}

}  // namespace

TDumpInterior::TDumpInterior(QWidget* owner) : TScroller(owner), FPopup(new QMenu(this)) {
  BuildPopup();
  SetPopupMenu(FPopup);
}

TDumpInterior::~TDumpInterior() = default;

void TDumpInterior::BuildPopup() {
  FPopup->setObjectName(QStringLiteral("Default"));
  auto item = [this](QMenu* menu, const char* name, const char* caption, auto handler) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
  };
  item(FPopup, "GotoAddr", "Display at...", [this] { FOnGotoAddr(); });
  item(FPopup, "Modify", "Modify...", [this] { FOnModify(); });
  item(FPopup, "ClearBlock", "Clear block...", [this] { FOnClearBlock(); });
  item(FPopup, "FillBlock", "Fill block...", [this] { FOnFillBlock(); });
  item(FPopup, "CopyBlock", "Copy block...", [this] { FOnCopyBlock(); });
  item(FPopup, "ReadBlock", "Load block...", [this] { FOnReadBlock(); });
  item(FPopup, "SaveBlock", "Save block...", [this] { FOnSaveBlock(); });
  QMenu* modes = FPopup->addMenu(QStringLiteral("Display mode"));
  modes->menuAction()->setObjectName(QStringLiteral("DisplayMode"));
  item(modes, "N8Bytes", "8 Bytes", [this] { FOnDataMode(BYTEx8); });
  item(modes, "N16Bytes", "16 Bytes", [this] { FOnDataMode(BYTEx16); });
  item(modes, "N8Words", "8 Words", [this] { FOnDataMode(WORDx8); });
  item(modes, "N4Dwords", "4 Dwords", [this] { FOnDataMode(DWORDx4); });
}

void TDumpInterior::SetAddr(uint32_t value) {
  FAddr = value;
  Refresh();
  if (OnAddrChanged) OnAddrChanged(this, FArea, FAddr);
}

void TDumpInterior::SetArea(uint16_t value) {
  FArea = value;
  Refresh();
  if (OnAddrChanged) OnAddrChanged(this, FArea, FAddr);
}

void TDumpInterior::SetAddrMode(TAddrMode value) {
  if (value != FAddrMode) {
    FAddrMode = value;
    if (HandleAllocated()) CreateWnd();
  }
  ReportAddress();
}

void TDumpInterior::SetDataMode(TDataMode value) {
  if (value != FDataMode) {
    FDataMode = value;
    if (HandleAllocated()) CreateWnd();
  }
  ReportAddress();
}

void TDumpInterior::SetAddressColor(TColor value) {
  FAddressColor = value;
  Invalidate();
}

void TDumpInterior::SetNewAddress(uint16_t area, uint32_t addr) {
  FArea = area;
  FAddr = addr;
  CursorHome();
  Refresh();
  ReportAddress();
}

uint32_t TDumpInterior::GetOffset() const { return Lines().Offset(FAddr, FCursorRow, FCursorPos); }

int TDumpInterior::AreaAddrSize() const { return Lines().AreaAddrSize(); }

void TDumpInterior::GetScrollLimits(QSize& limits) const {
  const TDumpLines lines = Lines();
  limits = QSize(lines.Positions(), lines.MaxLines());
}

void TDumpInterior::GetMinMaxInfo(QSize& min, QSize& max) const {
  const TDumpLines lines = Lines();
  const int a = lines.AreaAddrSize();
  ComputeAreaSize(QSize(a + lines.FirstItemWidth(), 1), min);
  ComputeAreaSize(QSize(a + lines.DataWidth(), lines.MaxLines()), max);
  max.rwidth() += 4;
}

void TDumpInterior::CreateAllLines() { FLines = Lines().CreateLines(FAddr, GetNumLines() + 1); }

void TDumpInterior::Refresh() {
  CreateAllLines();
  Invalidate();
}

void TDumpInterior::CreateWnd() {
  TScroller::CreateWnd();
  QSize limits;
  GetScrollLimits(limits);
  SetHScrollParams(0, limits.width() - 1, 0);
  SetVScrollParams(-JogRange, JogRange, 0);
  CreateAllLines();
  CursorHome();
}

void TDumpInterior::CursorHome() {
  FCursorPos = 0;
  SetHScrollPos(0);
  FCursorCol = AreaAddrSize();
  FCursorRow = 0;
}

void TDumpInterior::ReportAddress() {
  if (OnAddrChanged) OnAddrChanged(this, FArea, GetOffset());
}

void TDumpInterior::Changed() {
  if (OnChange)
    OnChange(this);
  else
    Refresh();
}

int TDumpInterior::LimitRow(int row) const {
  const int last = std::min(GetNumLines(), static_cast<int>(FLines.size())) - 1;
  return std::max(0, std::min(row, last));
}

void TDumpInterior::SetCursorPosition(int position) {
  FCursorPos = position;
  FCursorCol = Lines().PositionColumn(position);
}

void TDumpInterior::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font = Font();
  const QRect client(QPoint(0, 0), canvas->Size());
  const std::size_t blank = FLines.empty() ? std::string::npos : FLines[0].find(' ');
  const int prefix = blank == std::string::npos ? 0 : static_cast<int>(blank + 1) * GetColWidth();
  canvas->Brush = {FAddressColor, TBrushStyle::Solid};
  canvas->FillRect(QRect(0, 0, prefix, client.height()));
  canvas->Brush = {Color(), TBrushStyle::Solid};
  canvas->FillRect(QRect(prefix, 0, client.width() - prefix, client.height()));
  canvas->Brush.Style = TBrushStyle::Clear;
  for (std::size_t i = 0; i < FLines.size(); ++i) {
    const int y = static_cast<int>(i) * GetLineHeight();
    if (y >= client.height()) break;
    canvas->TextOut(TextX, y, QString::fromLatin1(FLines[i]));
  }
  if (FFocused) DrawCursor(cmShow);
}

void TDumpInterior::DrawCursor(TCursorMode Mode) {
  if (FCursorRow < 0 || FCursorRow >= static_cast<int>(FLines.size())) return;
  const std::string& line = FLines[static_cast<std::size_t>(FCursorRow)];
  if (FCursorCol < 0 || FCursorCol >= static_cast<int>(line.size())) return;
  QPoint at(FCursorCol, FCursorRow);
  MapCharsToPixels(at);
  if (Mode == cmShow) FCursorWidth = Lines().CursorWidth(FCursorCol);
  TCanvas* canvas = Canvas();
  canvas->Font = Font();
  canvas->Font.Color = Mode == cmShow ? Color() : Font().Color;
  canvas->Brush = {Mode == cmShow ? clHighlight : Color(), TBrushStyle::Solid};
  const std::string text = line.substr(static_cast<std::size_t>(FCursorCol), static_cast<std::size_t>(FCursorWidth));
  canvas->TextOut(at.x() + TextX, at.y(), QString::fromLatin1(text));
}

void TDumpInterior::IOnLButtonDown(QObject*, int Col, int Row) {
  const TDumpLines lines = Lines();
  const int a = lines.AreaAddrSize();
  int position = 0;
  int column = 0;
  if (!lines.ItemAt(Col - a, position, column)) return;
  SetHScrollPos(position);
  FCursorPos = position;
  FCursorCol = column + a;
  FCursorRow = LimitRow(Row);
  ReportAddress();
}

void TDumpInterior::IOnLButtonDblClk(QObject*, int, int) { ModifyMemory(""); }

void TDumpInterior::IOnHScroll(QObject*, TNewScrollCode Code, int& Pos) {
  const int positions = Lines().Positions();
  if (FFocused) DrawCursor(cmHide);
  switch (Code) {
    case nscLineUp: Pos = std::max(Pos - 1, 0); break;
    case nscLineDown: Pos = std::min(Pos + 1, positions - 1); break;
    case nscPageUp: Pos = std::max(Pos - positions / 2, 0); break;
    case nscPageDown: Pos = std::min(Pos + positions / 2, positions - 1); break;
    case nscTop: Pos = 0; break;
    case nscBottom: Pos = positions - 1; break;
    default: break;
  }
  SetCursorPosition(Pos);
  if (FFocused) DrawCursor(cmShow);
  ReportAddress();
}

void TDumpInterior::IOnVScroll(QObject*, TNewScrollCode Code, int& Pos) {
  const uint32_t line = static_cast<uint32_t>(Lines().BytesPerLine());
  const uint32_t page = static_cast<uint32_t>(GetNumLines()) * line;
  if (FFocused) DrawCursor(cmHide);
  uint32_t addr = FAddr;
  switch (Code) {
    case nscLineUp:
      if (FCursorRow == 0)
        addr -= line;
      else
        --FCursorRow;
      break;
    case nscLineDown:
      // The row never passes the last visible line, nor the lines built.
      if (FCursorRow + 1 >= GetNumLines())
        addr += line;
      else
        ++FCursorRow;
      break;
    case nscPageUp: addr -= page; break;
    case nscPageDown: addr += page; break;
    case nscPosition:
      if (Pos < 0) addr -= JogRange;
      if (Pos > 0) addr += JogRange;
      break;
    case nscTop: addr -= JogRange; break;
    case nscBottom: addr += JogRange; break;
    case nscBarLineUp: addr -= line; break;
    case nscBarLineDown: addr += line; break;
    default: break;
  }
  if (addr != FAddr) {
    FAddr = TheCpu->MaskAddress(FArea, addr);
    Refresh();
  }
  Pos = 0;
  if (FFocused) DrawCursor(cmShow);
  ReportAddress();
}

void TDumpInterior::IOnSize(QObject*, int, unsigned short, unsigned short) {
  if (static_cast<int>(FLines.size()) <= GetNumLines()) Refresh();
  FCursorRow = LimitRow(FCursorRow);
}

void TDumpInterior::IOnChar(QObject*, unsigned short Char, int) {
  constexpr unsigned short CtrlG = 7;
  if (Char == CtrlG) {
    FOnGotoAddr();
  } else if (Char >= 33 && Char <= 126 && Char != '+' && Char != '-') {
    ModifyMemory(std::string(1, static_cast<char>(Char)));
  }
}

int TDumpInterior::ModifyMemory(const std::string& initial) {
  std::string answer = initial;
  if (!InputQueryDialog("Modify memory", "New value(s):", answer, 0, 0)) return -1;
  // A plain list of values is one pattern of items.
  if (answer.empty() || (answer[0] != '"' && answer[0] != '{')) answer = "{" + answer + "}";
  const uint32_t at = GetOffset();
  static constexpr const char* Formats[] = {"P", "P", "PW", "PD"};
  TPatternRecord values{};
  const int result = ParseArgs(Formats[FDataMode], answer.c_str(), &values, sizeof values);
  if (result != 0) return result;
  // A transfer of no bytes would still go to the target.
  if (values.Count != 0)
    TheProtocol->WriteMemory(static_cast<uint8_t>(FArea), at, static_cast<uint8_t>(values.Count), values.Bytes);
  Changed();
  return result;
}

void TDumpInterior::FOnGotoAddr() {
  std::string answer;
  if (!Ask("Display at address", "New address:", answer)) return;
  uint8_t area = 0;
  uint32_t address = 0;
  if (ParseAddress(answer.c_str(), area, address, 1) == 0) SetNewAddress(area, address);
}

void TDumpInterior::FOnModify() { ModifyMemory(""); }

void TDumpInterior::FOnClearBlock() {
  TClearRecord block{};
  if (!AskArgs("Clear block", "Start address, count:", "A,D", block)) return;
  const uint8_t zero = 0;
  TheProtocol->FillBlock(block.Area, block.Address, block.Count, 1, &zero);
  if (OnChange) OnChange(this);
}

void TDumpInterior::FOnFillBlock() {
  TFillRecord block{};
  if (!AskArgs("Fill block", "Start address, Count, Pattern:", "A,D,P", block)) return;
  TheProtocol->FillBlock(block.Area, block.Address, block.Count, static_cast<uint8_t>(block.Pattern.Count),
                         block.Pattern.Bytes);
  if (OnChange) OnChange(this);
}

void TDumpInterior::FOnCopyBlock() {
  TCopyRecord block{};
  if (!AskArgs("Copy block", "From, To, Count:", "A,A,D", block)) return;
  TheProtocol->CopyBlock(block.SourceArea, block.Source, block.DestArea, block.Dest, block.Count);
  if (OnChange) OnChange(this);
}

void TDumpInterior::FOnDataMode(TDataMode mode) {
  SetDataMode(mode);
  ReportAddress();
  if (OnDataModeChanged) OnDataModeChanged(this, FDataMode);
}

void TDumpInterior::LoadData(const std::string& fileName, int format, _LoadAreaType& area) {
  LoadBlock(fileName, format, area);
}

void TDumpInterior::SaveData(const std::string& fileName, int format, _SaveAreaType& area) {
  SaveBlock(fileName, format, area);
}

void TDumpInterior::FOnReadBlock() {
  _LoadAreaType block{};
  if (!AskArgs("Read block", "From file addr, To mem addr, Count:", "D,A,D", block)) return;
  TFileDialogRequest request = BlockFileDialog(false, "Load data");
  if (!ExecuteFileDialog(this, request)) return;
  LoadData(request.FileName.toStdString(), ImageFormat(request.FilterIndex), block);
  if (OnChange) OnChange(this);
}

void TDumpInterior::FOnSaveBlock() {
  _SaveAreaType block{};
  if (!AskArgs("Write block", "From mem addr, To file addr, Count:", "A,D,D", block)) return;
  TFileDialogRequest request = BlockFileDialog(true, "Save data");
  if (!ExecuteFileDialog(this, request)) return;
  SaveData(request.FileName.toStdString(), ImageFormat(request.FilterIndex), block);
}
