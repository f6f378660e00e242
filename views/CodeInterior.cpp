#include "CodeInterior.h"

#include <QImage>
#include <QMenu>

#include <algorithm>
#include <limits>

#include "Configuration.h"
#include "Inputdialogs.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {

constexpr int GlyphHeight = 8;
constexpr int VScrollRange = 256;
constexpr unsigned short CtrlG = 7;
constexpr unsigned short CtrlN = 14;

// The margin glyphs: program counter, breakpoint, both.
const char* const GlyphNames[] = {"IMG_CURRPC", "IMG_BREAK", "IMG_BRKPC"};

// One read of the host reports at most 16 bits of byte count.
constexpr int MaxInstructions = std::numeric_limits<std::uint16_t>::max() / 4 - 1;

// A line as drawn: its trailing blanks would only repeat the background.
QString Shown(const std::string& text) {
  const std::size_t end = text.find_last_not_of(' ');
  return QString::fromLatin1(text.data(), end == std::string::npos ? 0 : static_cast<qsizetype>(end + 1));
}

}  // namespace

TCodeInterior::TCodeInterior(QWidget* owner) : TScroller(owner), FMenu(new QMenu(this)) {
  FMenu->setObjectName(QStringLiteral("Default"));
  const struct {
    const char* Caption;
    const char* Name;
    void (TCodeInterior::*Handler)();
  } items[] = {{"Goto...", "GotoAddr", &TCodeInterior::FOnGotoAddr},
               {"Origin", "Origin", &TCodeInterior::FOnOrigin},
               {"Toggle source", "ToggleSource", &TCodeInterior::FOnToggleSource},
               {"Assemble...", "Assemble", &TCodeInterior::FOnAssemble},
               {"New PC", "NewPC", &TCodeInterior::FOnNewPC}};
  for (const auto& item : items) {
    QAction* action = FMenu->addAction(QString::fromLatin1(item.Caption));
    action->setObjectName(QString::fromLatin1(item.Name));
    connect(action, &QAction::triggered, this, item.Handler);
  }
  SetPopupMenu(FMenu);
  for (std::size_t i = 0; i < FGlyphs.size(); ++i) {
    const QString name = QString::fromLatin1(GlyphNames[i]);
    FGlyphs[i] = MakeTransparentGlyph(name, QImage(QStringLiteral(":/%1.xpm").arg(name)));
  }
}

TCodeInterior::~TCodeInterior() = default;

void TCodeInterior::CreateWnd() {
  TScroller::CreateWnd();
  SetHScrollParams(0, TCodeLines::MaxHOffset, 0);
  SetVScrollParams(-VScrollRange, VScrollRange, 0);
  CreateAllLines();
}

void TCodeInterior::SetAddr(std::uint32_t value) {
  FAddr = value;
  Refresh();
}

void TCodeInterior::SetArea(std::uint16_t value) {
  FArea = value;
  Refresh();
}

void TCodeInterior::SetAddrMode(TAddrMode value) {
  if (value == FAddrMode) return;
  FAddrMode = value;
  Refresh();
}

std::uint32_t TCodeInterior::CurrAddr() const { return FLines.Address(FCursorRow); }

void TCodeInterior::Refresh() {
  CreateAllLines();
  Invalidate();
}

void TCodeInterior::CreateAllLines() {
  TCodeLines::TReadCode read;
  if (OnReadData)
    read = [this](std::uint16_t area, std::uint32_t address, std::uint32_t count, std::uint8_t* code) {
      OnReadData(this, area, address, static_cast<std::uint16_t>(count), code);
    };
  TCodeLines::TGetSource source;
  if (OnGetSource && FSourceMode)
    source = [this](std::uint16_t area, std::uint32_t address, std::string& text) {
      bool done = false;
      OnGetSource(this, area, address, text, done);
      return done;
    };
  FLines.Build(FArea, FAddr, std::min(GetNumLines(), MaxInstructions), FHOffset, read, source);
  ClampCursor();
}

void TCodeInterior::ClampCursor() {
  // The cursor stays on a line that exists, even in a view too low for one.
  FCursorRow = std::clamp(FCursorRow, 0, std::max(0, std::min(GetNumLines(), FLines.Count() - 1) - 1));
}

void TCodeInterior::MoveAddr(std::int64_t delta) {
  SetAddr(TheCpu->MaskAddress(FArea, static_cast<std::uint32_t>(FAddr + delta)));
}

std::uint32_t TCodeInterior::ProgramCounter() const {
  std::uint32_t pc = 0;
  if (OnReadPC) OnReadPC(const_cast<TCodeInterior*>(this), pc);
  return pc;
}

void TCodeInterior::Paint() {
  TCanvas* canvas = Canvas();
  const int width = canvas->Size().width();
  const int height = canvas->Size().height();
  const int lineHeight = GetLineHeight();
  canvas->Font = Font();

  canvas->Brush = {AddressColor, TBrushStyle::Solid};
  canvas->FillRect(QRect(0, 0, HMargin() - 2, height));
  canvas->Brush.Color = clSilver;
  canvas->FillRect(QRect(HMargin() - 4, 0, 1, height));
  canvas->Brush.Color = clGray;
  canvas->FillRect(QRect(HMargin() - 3, 0, 1, height));

  canvas->Brush.Color = Color();
  canvas->FillRect(QRect(HMargin(), 0, width - HMargin(), height));

  const bool readPC = static_cast<bool>(OnReadPC);
  const std::uint32_t pc = ProgramCounter();
  const auto& lines = FLines.Lines();
  for (int i = 0, y = 0; y < height && i < FLines.Count() - 1; ++i, y += lineHeight) {
    const TCodeLine& line = lines[static_cast<std::size_t>(i)];
    canvas->TextOut(HMargin(), y, Shown(line.Text));
    int glyph = 0;
    if (OnReadBreak) {
      bool state = false;
      OnReadBreak(this, FArea, line.Address, state);
      if (state) glyph = 2;
    }
    if (readPC && pc == line.Address) glyph += 1;
    if (glyph != 0) canvas->Draw(1, y + (lineHeight - GlyphHeight) / 2, FGlyphs[static_cast<std::size_t>(glyph - 1)]);
  }
  if (FFocused) DrawCursor(cmShow);
}

void TCodeInterior::DrawCursor(TCursorMode Mode) {
  if (FCursorRow >= FLines.Count() - 1) return;
  TCanvas* canvas = Canvas();
  const int y = FCursorRow * GetLineHeight();
  canvas->Font = Font();
  if (Mode == cmShow) {
    canvas->Brush = {clHighlight, TBrushStyle::Solid};
    canvas->Font.Color = Color();
  } else {
    canvas->Brush = {Color(), TBrushStyle::Solid};
  }
  canvas->FillRect(QRect(HMargin(), y, canvas->Size().width() - HMargin(), GetLineHeight()));
  canvas->Brush.Style = TBrushStyle::Clear;
  canvas->TextOut(HMargin(), y, Shown(FLines.Lines()[static_cast<std::size_t>(FCursorRow)].Text));
  canvas->Brush.Style = TBrushStyle::Solid;
}

void TCodeInterior::IOnLButtonDown(QObject*, int Col, int Row) {
  FCursorRow = std::max(0, std::min(Row, GetNumLines() - 1));
  ClampCursor();
  if (Col >= 0) return;
  if (OnWriteBreak) OnWriteBreak(this, FArea, CurrAddr(), 2);
  if (OnChange) OnChange(this);
  Refresh();
}

void TCodeInterior::IOnLButtonDblClk(QObject*, int Col, int) {
  if (Col >= 0) AssembleLine(std::string());
}

void TCodeInterior::IOnVScroll(QObject*, TNewScrollCode Code, int& Pos) {
  if (FFocused) DrawCursor(cmHide);
  const int lines = GetNumLines();
  switch (Code) {
    case nscLineUp:
      if (FCursorRow > 0)
        --FCursorRow;
      else
        MoveAddr(-1);
      break;
    case nscLineDown:
      if (FCursorRow + 1 >= lines) {
        SetAddr(FLines.SecondInstruction());
      } else {
        ++FCursorRow;
        ClampCursor();
      }
      break;
    case nscPageUp: MoveAddr(-lines); break;
    case nscPageDown: SetAddr(FLines.Address(lines)); break;
    case nscTop: MoveAddr(-VScrollRange); break;
    case nscBottom: MoveAddr(VScrollRange); break;
    case nscPosition:
      if (Pos != 0) MoveAddr(Pos < 0 ? -VScrollRange : VScrollRange);
      break;
    case nscBarLineUp: MoveAddr(-1); break;
    case nscBarLineDown: SetAddr(FLines.SecondInstruction()); break;
    case nscTrack:
    case nscEndScroll: break;
  }
  Pos = 0;
  if (FFocused) DrawCursor(cmShow);
}

void TCodeInterior::IOnHScroll(QObject*, TNewScrollCode Code, int& Pos) {
  if (Code == nscTrack || Code == nscEndScroll) return;
  if (FFocused) DrawCursor(cmHide);
  constexpr int last = TCodeLines::MaxHOffset;
  switch (Code) {
    case nscLineUp:
    case nscBarLineUp: Pos = std::max(0, Pos - 1); break;
    case nscLineDown:
    case nscBarLineDown: Pos = std::min(last, Pos + 1); break;
    case nscPageUp: Pos = std::max(0, Pos - 8); break;
    case nscPageDown: Pos = std::min(last, Pos + 8); break;
    case nscTop: Pos = 0; break;
    case nscBottom: Pos = last; break;
    default: break;
  }
  if (Pos != FHOffset) {
    FHOffset = Pos;
    Refresh();
  }
  if (FFocused) DrawCursor(cmShow);
}

void TCodeInterior::IOnSize(QObject*, int, unsigned short, unsigned short) {
  if (FLines.Count() - 1 <= GetNumLines()) Refresh();
  ClampCursor();
}

void TCodeInterior::IOnChar(QObject*, unsigned short Char, int) {
  if (Char == CtrlG)
    FOnGotoAddr();
  else if (Char == CtrlN)
    FOnNewPC();
  else if (Char >= 0x21 && Char <= 0x7E)
    AssembleLine(std::string(1, static_cast<char>(Char)));
}

void TCodeInterior::Stopped() {
  const std::uint32_t pc = ProgramCounter();
  const int row = FLines.Find(pc, GetNumLines());
  if (row >= 0) {
    FCursorRow = row;
  } else {
    FCursorRow = 0;
    FAddr = pc;
  }
  Refresh();
}

void TCodeInterior::GetMinMaxInfo(QSize& Min, QSize& Max) const {
  ComputeAreaSize(QSize(20, 1), Min);
  ComputeAreaSize(QSize(80, 20), Max);
}

void TCodeInterior::BreakToggle() {
  if (OnWriteBreak) OnWriteBreak(this, FArea, CurrAddr(), 2);
  if (OnChange)
    OnChange(this);
  else
    Refresh();
}

void TCodeInterior::AssembleLine(const std::string& text) {
  if (!OnAssemble) return;
  bool done = false;
  OnAssemble(this, FArea, CurrAddr(), text, done);
  if (!done) return;
  if (OnChange) OnChange(this);
  Refresh();
  int pos = 0;
  IOnVScroll(this, nscLineDown, pos);
}

void TCodeInterior::FOnGotoAddr() {
  std::string value;
  if (!InputQueryDialog("Display at address", "New address:", value, 0, 0)) return;
  std::uint8_t area = 0;
  std::uint32_t address = 0;
  if (ParseAddress(value.c_str(), area, address, 1) != 0) return;
  FArea = area;
  FAddr = address;
  FCursorRow = 0;
  Refresh();
}

void TCodeInterior::FOnOrigin() {
  if (!OnReadPC) return;
  FAddr = ProgramCounter();
  FCursorRow = 0;
  Refresh();
}

void TCodeInterior::FOnToggleSource() {
  FSourceMode = !FSourceMode;
  Refresh();
}

void TCodeInterior::FOnAssemble() { AssembleLine(std::string()); }

void TCodeInterior::FOnNewPC() {
  if (OnWritePC) OnWritePC(this, CurrAddr());
  Refresh();
}
