#include "srcTargetWrite.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>
#include <string>

#include "Configuration.h"
#include "MainFormMessages.h"
#include "MessageBox.h"
#include "ModalDialog.h"
#include "Protocol.h"
#include "TargetDialogLines.h"
#include "Utility.h"
#include "srcMain.h"

namespace {
constexpr std::size_t MaxValues = 128;
}  // namespace

TfrmTargetWrite::TfrmTargetWrite(QWidget* Owner)
    : TTargetDialog(Owner) {
  setObjectName(QStringLiteral("frmTargetWrite"));
  setWindowTitle(QStringLiteral("Write to"));
  setFixedSize(205, 113);
  (new QLabel(QStringLiteral("Start address :"), this))->move(4, 4);
  (new QLabel(QStringLiteral("Values :"), this))->move(4, 44);
  Edit1 = new QLineEdit(this);
  Edit1->setGeometry(4, 20, 197, 21);
  Edit2 = new QLineEdit(this);
  Edit2->setGeometry(4, 60, 197, 21);
  cmdDo = new QPushButton(QStringLiteral("&Execute"), this);
  cmdDo->setGeometry(56, 88, 69, 21);
  cmdDo->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("&Done"), this);
  cmdCancel->setGeometry(132, 88, 69, 21);
  cmdCancel->setAutoDefault(false);
  connect(cmdDo, &QPushButton::clicked, this, &TfrmTargetWrite::cmdDoClick);
  connect(cmdCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TfrmTargetWrite::cmdDoClick() {
  std::uint8_t area = 0;
  std::uint32_t address = 0;
  int r = ParseAddress(Edit1->text().toLatin1().constData(), area, address, 1);
#pragma pack(push, 1)
  struct {
    std::uint32_t Count;
    std::uint8_t Bytes[MaxValues];
  } record{};
#pragma pack(pop)
  if (r == 0) {
    const std::string typed = Edit2->text().toLatin1().toStdString();
    if (typed.empty()) {
      MessageBox("Range check error", "Corvane 4", MB_OK | MB_ICONSTOP);
      return;
    }
    r = ParseArgs("P", TargetWriteValues(typed).c_str(), &record, sizeof record);
  }
  if (r == 1) {
    MessageBox("Syntax error", "ERROR", MB_OK | MB_ICONSTOP);
  } else if (r == -2) {
    MessageBox("Symbol not found", "ERROR", MB_OK | MB_ICONSTOP);
  } else if (r == 0 && record.Count > 0) {
    TheProtocol->WriteMemory(area, address, static_cast<std::uint8_t>(record.Count), record.Bytes);
    SendToMainForm(UM_REFRESH);
  }
}

namespace {
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetCommandHandler(TCommand::ViewWriteTo, [&main](QAction*) {
    TfrmTargetWrite dialog(&main);
    ShowModal(dialog);
  });
});
}  // namespace
