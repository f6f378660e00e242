#include "srcSymList.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

#include "FixedFont.h"
#include "SettingsRegistry.h"
#include "SymInterior.h"
#include "srcMain.h"

namespace {
constexpr const char* GeometryName = "Symbols";
constexpr int HeaderHeight = 18;
constexpr int AddressHeaderWidth = 153;

QLabel* HeaderPanel(const QString& caption, QWidget* parent) {
  auto* panel = new QLabel(caption, parent);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setAlignment(Qt::AlignCenter);
  QFont font = panel->font();
  font.setBold(true);
  font.setPixelSize(11);
  panel->setFont(font);
  return panel;
}
}  // namespace

TfrmSymList::TfrmSymList(QWidget* Owner) : QWidget(Owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmSymList"));
  setWindowTitle(QStringLiteral("Symbols list"));
  setFont(FixedFont());
  setMinimumSize(261, 222);

  Panel1 = new QFrame(this);
  Panel1->setFixedHeight(HeaderHeight);
  auto* headers = new QHBoxLayout(Panel1);
  headers->setContentsMargins(0, 0, 0, 0);
  headers->setSpacing(0);
  Panel2 = HeaderPanel(QStringLiteral("Symbol name"), Panel1);
  Panel3 = HeaderPanel(QStringLiteral("Symbol address"), Panel1);
  Panel3->setFixedWidth(AddressHeaderWidth);
  headers->addWidget(Panel2, 1);
  headers->addWidget(Panel3);

  SymInterior = new TSymInterior(this);
  SymInterior->setObjectName(QStringLiteral("SymInterior"));
  SymInterior->SetScrollBars(ssVertical);
  SymInterior->SetBorderStyle(TSymInterior::bsSingle);

  StatusBar = new QStatusBar(this);
  StatusBar->setSizeGripEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Panel1);
  layout->addWidget(SymInterior, 1);
  layout->addWidget(StatusBar);
  setFocusProxy(SymInterior);
  FormCreate();
}

TfrmSymList::~TfrmSymList() { StoreWindowRect(GeometryName, *this); }

void TfrmSymList::FormCreate() { RestoreWindowRect(GeometryName, *this); }

void TfrmSymList::closeEvent(QCloseEvent* event) {
  PostViewClosed(this);
  event->accept();
}

namespace {
// The main window opens it from its button and menu item.
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetViewFactory(TViewKind::Symbols, [](TfrmMain& owner) -> QWidget* {
    auto* form = new TfrmSymList(&owner);
    form->show();
    form->SymInterior->setFocus();
    return form;
  });
});
}  // namespace
