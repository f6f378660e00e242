#include "srcMemMap.h"

#include <QAction>
#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cstdio>

#include "Configuration.h"
#include "FixedFont.h"
#include "MainFormMessages.h"
#include "MessageBox.h"
#include "ModalDialog.h"
#include "Protocol.h"
#include "Utility.h"
#include "srcEditMap.h"
#include "srcMain.h"

namespace {

TAreaDescriptor Descriptor(int index) {
  TAreaDescriptor descriptor{};
  GetAreaDescriptor(static_cast<std::uint8_t>(index), 1, descriptor);
  return descriptor;
}

QString Hex8(std::uint32_t value) {
  return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper() + QLatin1Char('h');
}

}  // namespace

TfrmMemMap::TfrmMemMap(QWidget* Owner, int AreaIndex)
    : TTargetDialog(Owner),
      FAreaIndex(AreaIndex),
      FArea(Descriptor(AreaIndex)) {
  setObjectName(QStringLiteral("frmMemMap"));
  setFixedSize(333, 189);
  lbState = new QListWidget(this);
  lbState->setObjectName(QStringLiteral("lbState"));
  lbState->setGeometry(4, 4, 325, 153);
  lbState->setFont(FixedFont());
  auto button = [this](const char* text, int left, auto handler) {
    auto* b = new QPushButton(QString::fromLatin1(text), this);
    b->setGeometry(left, 164, 61, 21);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
  };
  cmdShow = button("&Show", 4, [this] { Update(); });
  cmdEdit = button("&Edit", 68, [this] { cmdEditClick(); });
  cmdAdd = button("&Add", 132, [this] { cmdAddClick(); });
  cmdSwap = button("S&wap", 196, [this] { cmdSwapClick(); });
  cmdDone = button("&Done", 268, [this] { done(mrCancel); });
}

void TfrmMemMap::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TfrmMemMap::FormShow() {
  const TAreaDescriptor descriptor = Descriptor(FAreaIndex);
  setWindowTitle(QString::fromLatin1(MapCaption(descriptor).c_str()));
  FArea = TMapArea(descriptor);
}

void TfrmMemMap::Update() {
  lbState->clear();
  FRuns = ReadMapRuns(FArea);
  for (const TMapRun& run : FRuns) lbState->addItem(QString::fromLatin1(MapRow(FArea, run).c_str()));
  FMapsShown = true;
}

const TMapRun* TfrmMemMap::SelectedRun() {
  if (!FMapsShown) {
    MessageBox("You must show maps before this!", "WARNING", MB_OK | MB_ICONWARNING);
    return nullptr;
  }
  const QList<QListWidgetItem*> selected = lbState->selectedItems();
  const int row = selected.isEmpty() ? -1 : lbState->row(selected.front());
  if (row < 0 || row >= static_cast<int>(FRuns.size())) {
    MessageBox("You must select one row on the list!", "WARNING", MB_OK | MB_ICONWARNING);
    return nullptr;
  }
  return &FRuns[static_cast<std::size_t>(row)];
}

bool TfrmMemMap::EditRange(const QString& caption, const QString& text, TMapRun& range, int& kind) {
  auto* editor = new TfrmEditMap(this, QString::fromLatin1(FArea.ClearName.c_str()),
                                 QString::fromLatin1(FArea.SetName.c_str()));
  frmEditMap = editor;
  editor->setWindowTitle(caption);
  editor->FStart = range.Start;
  editor->FEnd = range.End;
  editor->FKind = static_cast<std::uint8_t>(kind);
  editor->Edit1->setText(text);
  if (QAbstractButton* item = editor->RadioItems->button(kind)) item->setChecked(true);
  const bool ok = ShowModal(*editor) == mrOk;
  range.Start = editor->FStart;
  range.End = editor->FEnd;
  kind = editor->FKind;
  delete editor;
  return ok;
}

void TfrmMemMap::WriteMap(const TMapRun& range, std::uint8_t bits, bool reread) {
  TheProtocol->WriteMemoryMap(range.Start, range.End, FArea.Mask, bits);
  TheProtocol->InvalidateCache();
  SendToMainForm(UM_REFRESH);
  if (reread) Update();
}

void TfrmMemMap::cmdEditClick() {
  const TMapRun* selected = SelectedRun();
  if (!selected) return;
  TMapRun range = *selected;
  int kind = range.Bits != 0 ? 1 : 0;
  if (EditRange(QStringLiteral("Edit map"), Hex8(range.Start) + QLatin1Char(',') + Hex8(range.End), range, kind))
    WriteMap(range, MappingBits(FArea, kind), true);
}

void TfrmMemMap::cmdAddClick() {
  TMapRun range{0, static_cast<std::uint32_t>(FArea.Size - 1), 0};
  int kind = 0;
  if (EditRange(QStringLiteral("Add map"), QStringLiteral("0,") + Hex8(range.End), range, kind))
    WriteMap(range, MappingBits(FArea, kind), FMapsShown);
}

void TfrmMemMap::cmdSwapClick() {
  const TMapRun* selected = SelectedRun();
  if (!selected) return;
  const TMapRun range = *selected;
  WriteMap(range, MappingBits(FArea, range.Bits == 0 ? 1 : 0), true);
}

void TfrmMemMap::Dispatch(TMessage& message) {
  if (message.Msg == UM_CLOSEDIALOG && frmEditMap) frmEditMap->done(mrCancel);
  TTargetDialog::Dispatch(message);
}

namespace {
// Every area item of Configure > Memory opens the map of its area.
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetCommandHandler(TCommand::ConfigureMemory, [&main](QAction* sender) {
    TfrmMemMap dialog(&main, sender->data().toInt());
    ShowModal(dialog);
  });
});
}  // namespace
