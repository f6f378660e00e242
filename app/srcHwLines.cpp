#include "srcHwLines.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <array>
#include <cstdint>

#include "Configuration.h"
#include "ModalDialog.h"
#include "Protocol.h"
#include "TargetTables.h"
#include "srcMain.h"

namespace {

THwLineTable Lines() {
  TCapabilities* capabilities = nullptr;
  TheProtocol->GetCapabilities(capabilities);
  return ReadHwLineTable(*capabilities);
}

}  // namespace

TfrmHwLines::TfrmHwLines(QWidget* Owner)
    : TTargetDialog(Owner) {
  setObjectName(QStringLiteral("frmHwLines"));
  setWindowTitle(QStringLiteral("Set external lines"));
  setFixedSize(177, 165);
  (new QLabel(QStringLiteral("Lines list :"), this))->move(4, 4);
  CheckListBox1 = new QListWidget(this);
  CheckListBox1->setGeometry(4, 20, 169, 117);
  cmdOk = new QPushButton(QStringLiteral("&Ok"), this);
  cmdOk->setGeometry(20, 140, 73, 21);
  cmdOk->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cmdCancel->setGeometry(100, 140, 73, 21);
  cmdCancel->setAutoDefault(false);
  connect(cmdOk, &QPushButton::clicked, this, &TfrmHwLines::cmdOkClick);
  connect(cmdCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });

  const THwLineTable table = Lines();
  std::array<std::uint8_t, 256> bitmap{};
  TheProtocol->TransferHwLines(0, table.Count, bitmap.data());
  for (const THwLine& line : table.Lines) {
    auto* item = new QListWidgetItem(QString::fromLatin1(line.Name.c_str()), CheckListBox1);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(LineIsSet(line, bitmap.data()) ? Qt::Checked : Qt::Unchecked);
  }
}

void TfrmHwLines::cmdOkClick() {
  const THwLineTable table = Lines();
  std::array<std::uint8_t, 256> bitmap{};
  for (int i = 0; i < CheckListBox1->count() && i < static_cast<int>(table.Lines.size()); ++i)
    if (CheckListBox1->item(i)->checkState() == Qt::Checked) SetLine(table.Lines[static_cast<std::size_t>(i)], bitmap.data());
  TheProtocol->TransferHwLines(1, table.Count, bitmap.data());
  done(mrOk);
}

namespace {
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetCommandHandler(TCommand::ConfigureExternals, [&main](QAction*) {
    TfrmHwLines dialog(&main);
    ShowModal(dialog);
  });
});
}  // namespace
