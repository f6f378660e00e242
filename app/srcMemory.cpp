#include "srcMemory.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include <string>

#include "Configuration.h"
#include "DumpInterior.h"
#include "FixedFont.h"
#include "Inputdialogs.h"
#include "ModalDialog.h"
#include "Tgtz80.h"
#include "Utility.h"
#include "srcMain.h"

namespace {

constexpr int BarHeight = 23;
constexpr int ButtonSize = 21;
constexpr int AddressWidth = 147;
constexpr TColor DumpAddressColor = 16768949;

QString AddressCaption(uint16_t area, uint32_t addr) {
  std::string name;
  TheCpu->GetAreaName(area, name);
  const QString digits = QString::number(addr, 16).toUpper().rightJustified(8, QLatin1Char('0'));
  return QStringLiteral(" %1:%2").arg(QString::fromStdString(name), digits);
}

}  // namespace

TfrmMemory::TfrmMemory(QWidget* Owner)
    : QWidget(Owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint),
      DumpArea(new TDumpInterior(this)),
      Panel1(new QWidget(this)),
      txtAddress(new QLabel(QStringLiteral(" CODE:00000000"), Panel1)),
      Panel2(new QWidget(Panel1)),
      btn16Bytes(new QToolButton(Panel2)),
      btnWord(new QToolButton(Panel2)),
      btn8Bytes(new QToolButton(Panel2)),
      btnDword(new QToolButton(Panel2)) {
  setObjectName(QStringLiteral("frmMemory"));
  setWindowTitle(QStringLiteral("Memory dump"));
  QFont barFont = DialogFont();
  barFont.setPixelSize(12);
  setFont(barFont);

  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(BarHeight);
  txtAddress->setObjectName(QStringLiteral("txtAddress"));
  txtAddress->setFont(FixedFont());
  txtAddress->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  txtAddress->setFixedWidth(AddressWidth);
  txtAddress->installEventFilter(this);

  Panel2->setObjectName(QStringLiteral("Panel2"));
  auto* buttons = new QHBoxLayout(Panel2);
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->setSpacing(0);
  auto* group = new QButtonGroup(this);
  QFont bold = barFont;
  bold.setBold(true);
  const struct {
    QAbstractButton* Button;
    const char* Name;
    const char* Caption;
    TDumpInterior::TDataMode Mode;
  } modes[] = {{btn8Bytes, "btn8Bytes", "8", TDumpInterior::BYTEx8},
               {btn16Bytes, "btn16Bytes", "16", TDumpInterior::BYTEx16},
               {btnWord, "btnWord", "W", TDumpInterior::WORDx8},
               {btnDword, "btnDword", "D", TDumpInterior::DWORDx4}};
  for (const auto& mode : modes) {
    mode.Button->setObjectName(QString::fromLatin1(mode.Name));
    mode.Button->setText(QString::fromLatin1(mode.Caption));
    mode.Button->setFont(bold);
    mode.Button->setFixedSize(ButtonSize, ButtonSize);
    mode.Button->setCheckable(true);
    mode.Button->setFocusPolicy(Qt::NoFocus);
    group->addButton(mode.Button);
    buttons->addWidget(mode.Button);
    connect(mode.Button, &QAbstractButton::clicked, this, [this, m = mode.Mode] { DumpArea->SetDataMode(m); });
  }
  btn8Bytes->setChecked(true);

  auto* bar = new QHBoxLayout(Panel1);
  bar->setContentsMargins(0, 1, 0, 1);
  bar->addWidget(txtAddress);
  bar->addWidget(Panel2);
  bar->addStretch();

  DumpArea->setObjectName(QStringLiteral("DumpArea"));
  DumpArea->SetColor(clWhite);
  DumpArea->SetScrollBars(ssBoth);
  DumpArea->SetBorderStyle(TScroller::bsSingle);
  DumpArea->SetAddressColor(DumpAddressColor);
  DumpArea->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  DumpArea->OnChange = [](QObject*) { SendMessage(MainForm(), UM_REFRESH); };
  DumpArea->OnAddrChanged = [this](QObject*, uint16_t area, uint32_t addr) { DumpAreaAddrChanged(area, addr); };
  DumpArea->OnDataModeChanged = [this](QObject*, uint16_t mode) { DumpAreaDataModeChanged(mode); };
  setFocusProxy(DumpArea);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetNoConstraint);
  layout->addWidget(Panel1);
  layout->addWidget(DumpArea);
  FormCreate();
}

void TfrmMemory::FormCreate() {
  QSize min, max;
  DumpArea->GetMinMaxInfo(min, max);
  SetSizeLimits();
  resize(max.width(), max.height() / 2 + 2 * BarHeight);
  txtAddress->setText(AddressCaption(1, 0));
}

void TfrmMemory::SetSizeLimits() {
  QSize min, max;
  DumpArea->GetMinMaxInfo(min, max);
  setMinimumSize(min + QSize(0, BarHeight));
  setMaximumSize(max + QSize(0, BarHeight));
}

void TfrmMemory::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case UM_REFRESH:
    case UM_STOPPED:
      DumpArea->Refresh();
      break;
    default:
      break;
  }
}

void TfrmMemory::closeEvent(QCloseEvent* event) {
  PostViewClosed(this);
  event->accept();
}

bool TfrmMemory::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtAddress && event->type() == QEvent::MouseButtonDblClick) {
    txtAddressDblClick();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TfrmMemory::DumpAreaAddrChanged(uint16_t Area, uint32_t Addr) {
  txtAddress->setText(AddressCaption(Area, Addr));
  // The grouping and the area's name decide how large the view may be.
  SetSizeLimits();
}

void TfrmMemory::DumpAreaDataModeChanged(uint16_t DataMode) {
  if (QAbstractButton* button = ModeButton(DataMode)) button->setChecked(true);
}

QAbstractButton* TfrmMemory::ModeButton(int DataMode) const {
  switch (DataMode) {
    case TDumpInterior::BYTEx8: return btn8Bytes;
    case TDumpInterior::BYTEx16: return btn16Bytes;
    case TDumpInterior::WORDx8: return btnWord;
    case TDumpInterior::DWORDx4: return btnDword;
    default: return nullptr;
  }
}

void TfrmMemory::txtAddressDblClick() {
  std::string answer;
  if (!InputQueryDialog("Display at address", "New address:", answer, 0, 0)) return;
  uint8_t area = 0;
  uint32_t address = 0;
  if (ParseAddress(answer.c_str(), area, address, 1) == 0) DumpArea->SetNewAddress(area, address);
}

namespace {
// The main window opens memory windows from its button and menu item.
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetViewFactory(TViewKind::Dump, [](TfrmMain& owner) -> QWidget* {
    auto* form = new TfrmMemory(&owner);
    form->show();
    form->DumpArea->setFocus();
    return form;
  });
});
}  // namespace
