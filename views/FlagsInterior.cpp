#include "FlagsInterior.h"

#include <QMenu>

#include "Configuration.h"
#include "MarkedLine.h"
#include "Protocol.h"
#include "Tgtz80.h"

TFlagsInterior::TFlagsInterior(QWidget* Owner) : TScroller(Owner), FPopup(new QMenu(this)) {
  FPopup->setObjectName(QStringLiteral("Default"));
  QAction* toggle = FPopup->addAction(QStringLiteral("Toggle"));
  toggle->setObjectName(QStringLiteral("Toggle"));
  connect(toggle, &QAction::triggered, this, [this] { FOnToggle(this); });
  SetPopupMenu(FPopup);
}

void TFlagsInterior::CreateWnd() {
  TScroller::CreateWnd();
  CreateAllLines();
}

void TFlagsInterior::CreateLine(unsigned char Index, std::string& Line) { TheCpu->GetFlagLine(Index, Line); }

void TFlagsInterior::CreateAllLines() {
  FLines.assign(TheCpu->FlagsCount, std::string());
  for (std::size_t i = 0; i < FLines.size(); ++i) CreateLine(static_cast<unsigned char>(i), FLines[i]);
}

void TFlagsInterior::Refresh() {
  CreateAllLines();
  Invalidate();
}

void TFlagsInterior::GetMinMaxInfo(QSize& Min, QSize& Max) const {
  ComputeAreaSize(QSize(static_cast<int>(TheCpu->FlagsWidth), static_cast<int>(TheCpu->FlagsCount)), Min);
  Max = Min;
}

void TFlagsInterior::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font = Font();
  // The whole client area first: nothing stale stays below the last line.
  canvas->Brush = {Color(), TBrushStyle::Solid};
  canvas->FillRect(QRect(QPoint(0, 0), canvas->Size()));
  const int height = canvas->Size().height();
  for (int y = 0, i = 0; y < height && i < static_cast<int>(FLines.size()); y += GetLineHeight(), ++i) {
    const std::string& line = FLines[static_cast<std::size_t>(i)];
    canvas->Font.Color = MarkedLineColor(line, Font().Color);
    canvas->TextOut(LineTextX, y, MarkedLineText(line));
  }
  if (FFocused) DrawCursor(cmShow);
}

void TFlagsInterior::DrawCursor(TCursorMode Mode) {
  if (FCursorRow < 0 || FCursorRow >= static_cast<int>(FLines.size())) return;
  const std::string& line = FLines[static_cast<std::size_t>(FCursorRow)];
  DrawLineCursor(*this, FCursorRow, Mode, MarkedLineText(line), IsChangedLine(line));
}

void TFlagsInterior::IOnLButtonDown(QObject*, int, int Row) {
  FCursorCol = 0;
  if (Row >= 0 && static_cast<int>(FLines.size()) > Row) FCursorRow = Row;
}

void TFlagsInterior::IOnLButtonDblClk(QObject*, int, int) { FOnToggle(this); }

void TFlagsInterior::IOnHScroll(QObject*, TNewScrollCode, int&) {}
void TFlagsInterior::IOnVScroll(QObject*, TNewScrollCode, int&) {}
void TFlagsInterior::IOnSize(QObject*, int, unsigned short, unsigned short) {}

void TFlagsInterior::IOnChar(QObject*, unsigned short Char, int) {
  if (Char == ' ') FOnToggle(this);
}

void TFlagsInterior::FOnToggle(QObject*) {
  TheCpu->ToggleFlag(static_cast<uint16_t>(FCursorRow));
  TheProtocol->WriteRegisters();
  Refresh();
  if (OnChange) OnChange(this);
}
