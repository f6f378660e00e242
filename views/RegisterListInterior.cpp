#include "RegisterListInterior.h"

#include <QMenu>

#include <algorithm>

#include "Configuration.h"
#include "Inputdialogs.h"
#include "MarkedLine.h"
#include "Protocol.h"
#include "Utility.h"

namespace {

QAction* AddItem(QMenu* menu, const char* name, const char* caption) {
  QAction* item = menu->addAction(QString::fromLatin1(caption));
  item->setObjectName(QString::fromLatin1(name));
  return item;
}

}  // namespace

TRegisterListInterior::TRegisterListInterior(QWidget* Owner, bool Marked)
    : TScroller(Owner), FPopup(new QMenu(this)), FMarked(Marked) {
  FPopup->setObjectName(QStringLiteral("Default"));
  connect(AddItem(FPopup, "Increment", "Increment"), &QAction::triggered, this, [this] { FOnIncrement(this); });
  connect(AddItem(FPopup, "Decrement", "Decrement"), &QAction::triggered, this, [this] { FOnDecrement(this); });
  connect(AddItem(FPopup, "Zero", "Zero"), &QAction::triggered, this, [this] { FOnZero(this); });
  connect(AddItem(FPopup, "Modify", "Modify..."), &QAction::triggered, this, [this] { FOnModify(this); });
  SetPopupMenu(FPopup);
}

void TRegisterListInterior::CreateWnd() {
  Canvas()->Font = Font();
  TScroller::CreateWnd();
  SetVScrollParams(0, LineCount() - 1, 0);
  CreateAllLines();
}

void TRegisterListInterior::CreateAllLines() {
  const int count = LineCount();
  FLines.assign(static_cast<std::size_t>(std::max(count, 0)), std::string());
  for (int i = 0; i < count; ++i) CreateLine(static_cast<unsigned char>(i), FLines[static_cast<std::size_t>(i)]);
}

void TRegisterListInterior::Refresh() {
  CreateAllLines();
  Invalidate();
}

QString TRegisterListInterior::DrawnText(const std::string& Line) const {
  return FMarked ? MarkedLineText(Line) : QString::fromLatin1(Line);
}

TColor TRegisterListInterior::TextColor(const std::string& Line, TColor Unchanged) const {
  return FMarked ? MarkedLineColor(Line, Unchanged) : Unchanged;
}

void TRegisterListInterior::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font = Font();
  // The whole client area first: a row below the last line keeps nothing of
  // what stood there before.
  canvas->Brush = {Color(), TBrushStyle::Solid};
  canvas->FillRect(QRect(QPoint(0, 0), canvas->Size()));
  const int height = canvas->Size().height();
  for (int y = 0, i = FTopLine; y < height && i < static_cast<int>(FLines.size()); y += GetLineHeight(), ++i) {
    if (i < 0) continue;
    const std::string& line = FLines[static_cast<std::size_t>(i)];
    canvas->Font.Color = TextColor(line, Font().Color);
    canvas->TextOut(LineTextX, y, DrawnText(line));
  }
  if (FFocused) DrawCursor(cmShow);
}

void TRegisterListInterior::DrawCursor(TCursorMode Mode) {
  const int index = Selected();
  // An empty view has no line to put the cursor on.
  if (index < 0 || index >= static_cast<int>(FLines.size())) return;
  const std::string& line = FLines[static_cast<std::size_t>(index)];
  DrawLineCursor(*this, FCursorRow, Mode, DrawnText(line), FMarked && IsChangedLine(line));
}

void TRegisterListInterior::IOnLButtonDown(QObject*, int, int Row) {
  FCursorCol = 0;
  const bool inside = Row >= 0 && (Row + 1) * GetLineHeight() <= Canvas()->Size().height();
  if (!inside || static_cast<int>(FLines.size()) <= FTopLine + Row) return;
  FCursorRow = Row;
  SetVScrollPos(FTopLine + Row);
}

void TRegisterListInterior::IOnLButtonDblClk(QObject*, int, int) { Modify({}); }

void TRegisterListInterior::IOnHScroll(QObject*, TNewScrollCode, int&) {}

void TRegisterListInterior::IOnVScroll(QObject*, TNewScrollCode Code, int& Pos) {
  if (Code == nscEndScroll) return;
  if (FFocused) DrawCursor(cmHide);
  const int n = GetNumLines();
  const int count = LineCount();
  const int lines = static_cast<int>(FLines.size());
  // Shows the last lines with the cursor on the very last, or all of them
  // from the first when they fit.
  auto toBottom = [&] {
    if (count - n < 0) {
      FTopLine = 0;
      FCursorRow = count - 1;
    } else {
      FTopLine = count - n;
      FCursorRow = n - 1;
    }
    Refresh();
  };
  switch (Code) {
    case nscLineUp:
    case nscBarLineUp:
      if (FCursorRow >= 1) {
        --FCursorRow;
      } else if (FTopLine > 0) {
        --FTopLine;
        Refresh();
      }
      break;
    case nscLineDown:
    case nscBarLineDown:
      if (lines <= Selected() + 1) break;
      if (FCursorRow < n - 1) {
        ++FCursorRow;
      } else if (FTopLine + n < count) {
        ++FTopLine;
        Refresh();
      }
      break;
    case nscPageUp:
      if (FTopLine > 0) {
        FTopLine = std::max(FTopLine - n, 0);
        Refresh();
      } else {
        FCursorRow = 0;
      }
      break;
    case nscPageDown:
      FTopLine += n;
      if (lines - n > FTopLine)
        Refresh();
      else
        toBottom();
      break;
    case nscPosition:
      ThumbTo(Pos, n, FTopLine, FCursorRow);
      Refresh();
      break;
    case nscTop:
      FTopLine = 0;
      FCursorRow = 0;
      Refresh();
      break;
    case nscBottom:
      toBottom();
      break;
    default:
      break;
  }
  Pos = Selected();
  if (FFocused) DrawCursor(cmShow);
}

void TRegisterListInterior::IOnSize(QObject*, int, unsigned short, unsigned short) {
  const int n = GetNumLines();
  if (static_cast<int>(FLines.size()) - 1 <= n) Refresh();
  if (FCursorRow >= n) FCursorRow = n - 1;
  if (FCursorRow < 0) FCursorRow = 0;
}

void TRegisterListInterior::IOnChar(QObject*, unsigned short Char, int) {
  if (Char == '+')
    FOnIncrement(this);
  else if (Char == '-')
    FOnDecrement(this);
  else if (Char >= '!' && Char <= '~')
    Modify(std::string(1, static_cast<char>(Char)));
}

void TRegisterListInterior::Store(uint32_t Value) {
  const int index = Selected();
  if (index >= 0 && index < LineCount()) SetValue(index, Value);
  TheProtocol->WriteRegisters();
  Refresh();
}

void TRegisterListInterior::FOnIncrement(QObject*) {
  const int index = Selected();
  Store(index >= 0 && index < LineCount() ? GetValue(index) + 1 : 0);
}

void TRegisterListInterior::FOnDecrement(QObject*) {
  const int index = Selected();
  Store(index >= 0 && index < LineCount() ? GetValue(index) - 1 : 0);
}

void TRegisterListInterior::FOnZero(QObject*) { Store(0); }

void TRegisterListInterior::FOnModify(QObject*) { Modify({}); }

void TRegisterListInterior::Modify(const std::string& Initial) {
  std::string answer = Initial;
  if (!InputQueryDialog("Modify register", "New value:", answer, 0, 0)) return;
  uint8_t value[4] = {};
  if (ParseArgs("D", answer.c_str(), value, sizeof value) != 0) return;
  uint32_t parsed = 0;
  TByteStream(value, value + sizeof value).ReadDword(parsed);
  Store(parsed);
  if (OnChange) OnChange(this);
}
