#include "srcCpuConfiguration.h"

#include <QListWidget>
#include <QPushButton>

#include <string>

#include "Configuration.h"
#include "FixedFont.h"
#include "Inputdialogs.h"
#include "ModalDialog.h"
#include "Protocol.h"
#include "srcMain.h"

namespace {
constexpr std::size_t MaxOptions = 15;
}  // namespace

TfrmCpuConfiguration::TfrmCpuConfiguration(QWidget* Owner)
    : TTargetDialog(Owner) {
  setObjectName(QStringLiteral("frmCpuConfiguration"));
  setWindowTitle(QStringLiteral("Configure CPU"));
  setFixedSize(298, 185);
  lbSettings = new QListWidget(this);
  lbSettings->setObjectName(QStringLiteral("lbSettings"));
  lbSettings->setGeometry(4, 4, 290, 149);
  lbSettings->setFont(FixedFont());
  cmdOk = new QPushButton(QStringLiteral("&Ok"), this);
  cmdOk->setGeometry(140, 160, 73, 21);
  cmdOk->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cmdCancel->setGeometry(220, 160, 73, 21);
  cmdCancel->setAutoDefault(false);
  connect(lbSettings, &QListWidget::itemDoubleClicked, this, &TfrmCpuConfiguration::lbSettingsDblClick);
  connect(cmdOk, &QPushButton::clicked, this, &TfrmCpuConfiguration::cmdOkClick);
  connect(cmdCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });

  TCapabilities* capabilities = nullptr;
  TheProtocol->GetCapabilities(capabilities);
  FTable = ReadCpuSettingTable(*capabilities);
  FValues.assign(FTable.ValueCount, 0);
  TheProtocol->TransferCpuSettings(0, FTable.ValueCount, FValues.data());
  Update();
}

void TfrmCpuConfiguration::Update() {
  lbSettings->clear();
  for (const TCpuSetting& setting : FTable.Settings)
    lbSettings->addItem(QString::fromLatin1(SettingText(setting, FValues).c_str()));
}

void TfrmCpuConfiguration::lbSettingsDblClick() {
  const int row = lbSettings->currentRow();
  if (row < 0 || row >= static_cast<int>(FTable.Settings.size())) return;
  const TCpuSetting& setting = FTable.Settings[static_cast<std::size_t>(row)];
  if (setting.Kind == 2) {
    std::vector<const char*> options;
    for (std::size_t i = 0; i < setting.Options.size() && i < MaxOptions; ++i)
      options.push_back(setting.Options[i].c_str());
    options.push_back(nullptr);
    const int choice = ChoiceDialog("Modify value", options.data(), ChoiceOf(setting, FValues));
    if (choice == -1) return;
    SetChoice(setting, choice, FValues);
  } else if (setting.Kind == 3) {
    std::string answer = NumberAnswer(setting, FValues);
    if (!InputQueryDialog("Modify value", setting.Name, answer, 1, 1)) return;
    SetNumber(setting, answer, FValues);
  } else {
    return;
  }
  Update();
  lbSettings->setCurrentRow(row);
}

void TfrmCpuConfiguration::cmdOkClick() {
  TheProtocol->TransferCpuSettings(1, FTable.ValueCount, FValues.data());
  done(mrOk);
}

namespace {
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetCommandHandler(TCommand::ConfigureCpu, [&main](QAction*) {
    TfrmCpuConfiguration dialog(&main);
    ShowModal(dialog);
  });
});
}  // namespace
