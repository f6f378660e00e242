#include "srcTraceConfiguration.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <string>

#include "MessageBox.h"
#include "ModalDialog.h"
#include "TraceConfig.h"
#include "srcMain.h"

TfrmTraceConfiguration::TfrmTraceConfiguration(QWidget* Owner)
    : TTargetDialog(Owner),
      txtFramesAvl(new QLabel(this)),
      txtFirstFrame(new QLabel(this)),
      txtLastFrame(new QLabel(this)),
      txtTraceCounter(new QLineEdit(this)),
      CheckBox1(new QCheckBox(QStringLiteral("Enable external clock"))),
      CheckBox2(new QCheckBox(QStringLiteral("Enable external trigger"))),
      CheckBox3(new QCheckBox(QStringLiteral("Enable sampling"))),
      CheckBox4(new QCheckBox(QStringLiteral("Enable counter trigger"))),
      cmdOk(new QPushButton(QStringLiteral("&Ok"), this)),
      cmdClear(new QPushButton(QStringLiteral("&Clear"), this)),
      cmdCancel(new QPushButton(QStringLiteral("&Cancel"), this)) {
  setObjectName(QStringLiteral("frmTraceConfiguration"));
  setWindowTitle(QStringLiteral("Trace configuration"));
  setFixedSize(361, 145);

  const char* labels[] = {"Frames avail :", "First frame :", "Last frame :", "Trace counter :"};
  for (int i = 0; i < 4; ++i) (new QLabel(QString::fromLatin1(labels[i]), this))->setGeometry(8, 10 + 24 * i, 82, 17);
  QLabel* const numbers[] = {txtFramesAvl, txtFirstFrame, txtLastFrame};
  for (int i = 0; i < 3; ++i) {
    numbers[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    numbers[i]->setGeometry(92, 8 + 24 * i, 81, 19);
  }
  txtTraceCounter->setGeometry(92, 80, 81, 21);
  txtFramesAvl->setObjectName(QStringLiteral("txtFramesAvl"));
  txtFirstFrame->setObjectName(QStringLiteral("txtFirstFrame"));
  txtLastFrame->setObjectName(QStringLiteral("txtLastFrame"));
  txtTraceCounter->setObjectName(QStringLiteral("txtTraceCounter"));

  auto* group = new QGroupBox(this);
  group->setGeometry(184, 2, 169, 103);
  QCheckBox* const boxes[] = {CheckBox1, CheckBox2, CheckBox3, CheckBox4};
  for (int i = 0; i < 4; ++i) {
    boxes[i]->setParent(group);
    boxes[i]->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
    boxes[i]->setGeometry(8, 14 + 21 * i, 157, 17);
  }

  cmdOk->setGeometry(24, 114, 89, 25);
  cmdClear->setGeometry(136, 114, 89, 25);
  cmdCancel->setGeometry(248, 114, 89, 25);
  cmdOk->setDefault(true);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdClear->setObjectName(QStringLiteral("cmdClear"));
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  connect(cmdOk, &QPushButton::clicked, this, &TfrmTraceConfiguration::cmdOkClick);
  connect(cmdClear, &QPushButton::clicked, this, &TfrmTraceConfiguration::cmdClearClick);
  connect(cmdCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });

  const TTraceConfigRecord record = ReadTraceConfig();
  ShowFrames(record);
  txtTraceCounter->setText(QString::number(record.Counter));
  const std::uint8_t switches[] = {TRACE_EXTERNAL_CLOCK, TRACE_EXTERNAL_TRIGGER, TRACE_SAMPLING,
                                   TRACE_COUNTER_TRIGGER};
  for (int i = 0; i < 4; ++i) boxes[i]->setChecked(record.Switches & switches[i]);
}

void TfrmTraceConfiguration::Update() { ShowFrames(ReadTraceConfig()); }

void TfrmTraceConfiguration::ShowFrames(const TTraceConfigRecord& record) {
  const TTraceFrameRange range = TraceFrameRange(record);
  txtFramesAvl->setText(QStringLiteral(" %1").arg(range.Available));
  txtFirstFrame->setText(QStringLiteral(" %1").arg(range.First));
  txtLastFrame->setText(QStringLiteral(" %1").arg(range.Last));
}

bool TfrmTraceConfiguration::Send(bool clear) {
  const QString text = txtTraceCounter->text();
  bool number = false;
  const int counter = text.toInt(&number, 10);
  if (!number) {
    // The class library's own words for a conversion that failed.
    const std::string message = "'" + text.toStdString() + "' is not a valid integer value";
    MessageBox(message.c_str(), "Corvane 4", MB_OK | MB_ICONSTOP);
    return false;
  }
  if (counter < 0 || counter > MAX_TRACE_COUNTER) {
    MessageBox("Trace counter value out of range!", "ERROR", MB_OK | MB_ICONSTOP);
    return false;
  }
  std::uint8_t switches = 0;
  if (CheckBox1->isChecked()) switches |= TRACE_EXTERNAL_CLOCK;
  if (CheckBox2->isChecked()) switches |= TRACE_EXTERNAL_TRIGGER;
  if (CheckBox3->isChecked()) switches |= TRACE_SAMPLING;
  if (CheckBox4->isChecked()) switches |= TRACE_COUNTER_TRIGGER;
  WriteTraceConfig(static_cast<std::uint16_t>(counter), switches, clear);
  return true;
}

void TfrmTraceConfiguration::cmdOkClick() {
  if (Send(false)) done(mrOk);
}

void TfrmTraceConfiguration::cmdClearClick() {
  if (!Send(true)) return;
  Update();
  SendMessage(MainForm(), UM_REFRESH);
}

namespace {
// Configure > Trace... shows it modally.
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetCommandHandler(TCommand::ConfigureTrace, [&main](QAction*) {
    TfrmTraceConfiguration dialog(&main);
    ShowModal(dialog);
  });
});
}  // namespace
