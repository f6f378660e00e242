#include "srcWatchList.h"

#include <QCloseEvent>
#include <QMenu>
#include <QTabWidget>
#include <QVBoxLayout>

#include <string>

#include "FixedFont.h"
#include "Inputdialogs.h"
#include "SettingsRegistry.h"
#include "WatchInterior.h"
#include "srcMain.h"

namespace {
constexpr const char* GeometryName = "Watches";
constexpr uint16_t DeleteCharacter = 127;
}  // namespace

TfrmWatchList::TfrmWatchList(QWidget* Owner) : QWidget(Owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmWatchList"));
  setWindowTitle(QStringLiteral("Watch list"));
  setFont(FixedFont());
  setMinimumSize(320, 107);

  PopupMenu1 = new QMenu(this);
  AddModify1 = PopupMenu1->addAction(QStringLiteral("Add/Modify watch..."));
  AddModify1->setObjectName(QStringLiteral("AddModify1"));
  mnuDeleteWatch = PopupMenu1->addAction(QStringLiteral("Delete watch"));
  mnuDeleteWatch->setObjectName(QStringLiteral("mnuDeleteWatch"));
  connect(AddModify1, &QAction::triggered, this, [this] { WatchInteriorDblClick(VisibleView()); });
  connect(mnuDeleteWatch, &QAction::triggered, this, [this] { mnuDeleteWatchClick(); });

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setTabPosition(QTabWidget::South);
  for (std::size_t i = 0; i < WatchInteriors.size(); ++i) {
    auto* view = new TWatchInterior;
    view->setObjectName(QStringLiteral("WatchInterior%1").arg(i + 1));
    view->SetColor(clWhite);
    view->SetScrollBars(ssBoth);
    view->SetBorderStyle(TWatchInterior::bsSingle);
    view->SetPopupMenu(PopupMenu1);
    view->OnChar = [this, view](QObject*, uint16_t c, int) { WatchInteriorOnChar(view, c); };
    view->OnDblClick = [this, view](QObject*) { WatchInteriorDblClick(view); };
    PageControl1->addTab(view, QStringLiteral("Watch %1").arg(i + 1));
    WatchInteriors[i] = view;
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControl1);
  setFocusProxy(WatchInteriors[0]);
  FormCreate();
}

TfrmWatchList::~TfrmWatchList() {
  WriteWindowRect(GeometryName, TWindowRect{x(), y(), width(), height()});
}

void TfrmWatchList::FormCreate() {
  TWindowRect rect;
  if (!ReadWindowRect(GeometryName, rect)) return;
  move(rect.Left, rect.Top);
  resize(rect.Width, rect.Height);
}

void TfrmWatchList::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case UM_REFRESH:
    case UM_STOPPED:
      UMRefresh();
      break;
    default:
      break;
  }
}

TWatchInterior* TfrmWatchList::VisibleView() const {
  return static_cast<TWatchInterior*>(PageControl1->currentWidget());
}

void TfrmWatchList::UMRefresh() { VisibleView()->Refresh(); }

void TfrmWatchList::WatchInteriorOnChar(TWatchInterior* Sender, uint16_t Char) {
  if (Char == DeleteCharacter) {
    mnuDeleteWatchClick();
    return;
  }
  if (Char < 33 || Char > 126) return;
  std::string text(1, static_cast<char>(Char));
  if (InputQueryDialog("Add Watch", "Watch expression", text, 0, 0)) Sender->Add(text);
}

void TfrmWatchList::WatchInteriorDblClick(TWatchInterior* Sender) {
  std::string text = Sender->GetCurrentWatch();
  if (InputQueryDialog("Add Watch", "Watch expression", text, 0, 0)) Sender->Add(text);
}

void TfrmWatchList::mnuDeleteWatchClick() { VisibleView()->RemoveWatch(); }

void TfrmWatchList::closeEvent(QCloseEvent* event) {
  PostViewClosed(this);
  event->accept();
}

namespace {
// The main window opens it from its button and menu item.
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetViewFactory(TViewKind::Watch, [](TfrmMain& owner) -> QWidget* {
    auto* form = new TfrmWatchList(&owner);
    form->show();
    form->WatchInteriors[0]->setFocus();
    return form;
  });
});
}  // namespace
