#include "srcTargetRead.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cstdint>
#include <string>

#include "Configuration.h"
#include "MessageBox.h"
#include "ModalDialog.h"
#include "Protocol.h"
#include "TargetDialogLines.h"
#include "Utility.h"
#include "srcMain.h"

namespace {
constexpr int MaxCount = 64;
}  // namespace

TfrmTargetRead::TfrmTargetRead(QWidget* Owner)
    : TTargetDialog(Owner) {
  setObjectName(QStringLiteral("frmTargetRead"));
  setWindowTitle(QStringLiteral("Read from"));
  setFixedSize(205, 165);
  (new QLabel(QStringLiteral("Start address, count :"), this))->move(4, 4);
  (new QLabel(QStringLiteral("Values :"), this))->move(4, 46);
  Edit1 = new QLineEdit(this);
  Edit1->setGeometry(4, 20, 197, 21);
  ListBox1 = new QListWidget(this);
  ListBox1->setGeometry(4, 60, 125, 101);
  cmdDo = new QPushButton(QStringLiteral("&Show"), this);
  cmdDo->setGeometry(136, 112, 65, 21);
  cmdDo->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("&Done"), this);
  cmdCancel->setGeometry(136, 140, 65, 21);
  cmdCancel->setAutoDefault(false);
  connect(cmdDo, &QPushButton::clicked, this, &TfrmTargetRead::cmdDoClick);
  connect(cmdCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TfrmTargetRead::cmdDoClick() {
#pragma pack(push, 1)
  struct {
    std::uint8_t Area;
    std::uint32_t Address;
    std::uint16_t Count;
  } record{0, 0, 1};
#pragma pack(pop)
  // A count typed by the user comes first and wins over the one added here.
  const std::string answer = Edit1->text().toLatin1().toStdString() + ",1";
  const int r = ParseArgs("A,W", answer.c_str(), &record, sizeof record);
  if (r == -2) {
    MessageBox("Symbol not found", "ERROR", MB_OK | MB_ICONSTOP);
    return;
  }
  if (r != 0) return;
  if (record.Count > MaxCount) {
    MessageBox("Too many elements !", "ERROR", MB_OK | MB_ICONSTOP);
    return;
  }
  ListBox1->clear();
  std::uint8_t bytes[MaxCount] = {};
  TheProtocol->ReadMemoryWrapped(record.Area, record.Address, static_cast<std::uint8_t>(record.Count), bytes);
  for (std::uint32_t i = 0; i < record.Count; ++i)
    ListBox1->addItem(QString::fromStdString(TargetReadLine(record.Area, record.Address, i, bytes[i])));
}

namespace {
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetCommandHandler(TCommand::ViewReadFrom, [&main](QAction*) {
    TfrmTargetRead dialog(&main);
    ShowModal(dialog);
  });
});
}  // namespace
