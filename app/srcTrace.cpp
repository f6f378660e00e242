#include "srcTrace.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdint>

#include "ModalDialog.h"
#include "SettingsRegistry.h"
#include "TraceConfig.h"
#include "TraceInterior.h"
#include "Utility.h"
#include "srcMain.h"

namespace {

constexpr const char* GeometryName = "Trace";

#pragma pack(push, 1)
// The answer of "Display from :": a frame number and the keyword's index.
struct TDisplayFrom {
  std::uint32_t Frame;
  std::uint8_t Keyword;
};
#pragma pack(pop)

}  // namespace

TfrmTrace::TfrmTrace(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint),
      Panel1(new QWidget(this)),
      Label1(new QLabel(QStringLiteral("Display from :"), Panel1)),
      txtDisplayAt(new QLineEdit(Panel1)),
      cmdOk(new QToolButton(Panel1)),
      txtHelp(new QLabel(Panel1)),
      CheckBox1(new QCheckBox(QStringLiteral("Show ASM lines"), Panel1)),
      CheckBox2(new QCheckBox(QStringLiteral("Show frames"), Panel1)),
      CheckBox3(new QCheckBox(QStringLiteral("Separate fetch"), Panel1)),
      TraceInterior1(new TTraceInterior(this)) {
  setObjectName(QStringLiteral("frmTrace"));
  setWindowTitle(QStringLiteral("Trace"));
  setFont(DialogFont());
  setMinimumSize(330, 143);
  resize(560, 320);

  txtDisplayAt->setObjectName(QStringLiteral("txtDisplayAt"));
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setText(QStringLiteral("OK"));
  txtHelp->setObjectName(QStringLiteral("txtHelp"));
  txtHelp->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3}) {
    box->setChecked(true);
    connect(box, &QCheckBox::clicked, this, &TfrmTrace::CheckBoxClick);
  }
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
  CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
  connect(cmdOk, &QToolButton::clicked, this, &TfrmTrace::CheckBoxClick);
  connect(txtDisplayAt, &QLineEdit::returnPressed, this, &TfrmTrace::CheckBoxClick);

  auto* fromRow = new QHBoxLayout;
  fromRow->addWidget(Label1);
  fromRow->addWidget(txtDisplayAt, 1);
  fromRow->addWidget(cmdOk);
  fromRow->addWidget(txtHelp, 2);
  auto* boxRow = new QHBoxLayout;
  for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3}) boxRow->addWidget(box);
  boxRow->addStretch();
  auto* panel = new QVBoxLayout(Panel1);
  panel->setContentsMargins(4, 4, 4, 2);
  panel->setSpacing(2);
  panel->addLayout(fromRow);
  panel->addLayout(boxRow);

  TraceInterior1->setObjectName(QStringLiteral("TraceInterior1"));
  TraceInterior1->SetTabStop(true);
  TraceInterior1->SetScrollBars(ssVertical);
  TraceInterior1->SetBorderStyle(TScroller::bsSingle);
  auto* client = new QVBoxLayout(this);
  client->setContentsMargins(0, 0, 0, 0);
  client->setSpacing(0);
  client->addWidget(Panel1);
  client->addWidget(TraceInterior1, 1);

  FormCreate();
  UpdateFrameInfo();
  show();
}

TfrmTrace::~TfrmTrace() {
  StoreWindowRect(GeometryName, *this);
}

void TfrmTrace::FormCreate() { RestoreWindowRect(GeometryName, *this); }

void TfrmTrace::Dispatch(TMessage& message) {
  if (message.Msg != UM_REFRESH && message.Msg != UM_STOPPED) return;
  TraceInterior1->Rebuild();
  UpdateFrameInfo();
}

void TfrmTrace::UpdateFrameInfo() {
  const TTraceFrameRange range = TraceFrameRange(ReadTraceConfig());
  txtHelp->setText(QStringLiteral("First frame = %1 , Last frame = %2").arg(range.First).arg(range.Last));
}

void TfrmTrace::CheckBoxClick() {
  TDisplayFrom from{0, 0};
  const QByteArray answer = txtDisplayAt->text().toLatin1();
  if (!answer.isEmpty() && ParseArgs("D.[H,L]", answer.constData(), &from, sizeof from) != 0) {
    txtDisplayAt->clear();
    return;
  }
  unsigned short mode = 0;
  if (CheckBox1->isChecked()) mode |= TRACE_SHOW_ASM;
  if (CheckBox2->isChecked()) mode |= TRACE_SHOW_FRAMES;
  if (CheckBox3->isChecked()) mode |= TRACE_SEPARATE;
  TraceInterior1->MoveTo(static_cast<std::int32_t>(from.Frame), from.Keyword, mode);
}

void TfrmTrace::closeEvent(QCloseEvent* event) {
  PostViewClosed(this);
  event->accept();
}

namespace {
// The trace button and View > Trace open it; it shows itself as it is made.
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetViewFactory(TViewKind::Trace, [](TfrmMain& owner) -> QWidget* { return new TfrmTrace(&owner); });
});
}  // namespace
