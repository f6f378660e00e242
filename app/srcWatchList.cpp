#include "srcWatchList.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <string>

#include "DockSite.h"
#include "FixedFont.h"
#include "Inputdialogs.h"
#include "SettingsRegistry.h"
#include "WatchInterior.h"
#include "srcMain.h"

namespace {
constexpr const char* GeometryName = "Watches";
constexpr uint16_t DeleteCharacter = 127;
constexpr int WindowRestMs = 300;
const QSize FloatingMinimum(320, 107);
}  // namespace

TfrmWatchList::TfrmWatchList(QWidget* Owner) : QWidget(Owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmWatchList"));
  setWindowTitle(QStringLiteral("Watch list"));
  setFont(FixedFont());
  setMinimumSize(FloatingMinimum);

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
  PageControl1->tabBar()->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControl1);
  setFocusProxy(WatchInteriors[0]);

  FDockCheck = new QTimer(this);
  FDockCheck->setSingleShot(true);
  FDockCheck->setInterval(WindowRestMs);
  connect(FDockCheck, &QTimer::timeout, this, [this] {
    if (isWindow() && QApplication::mouseButtons() == Qt::NoButton && TDockSite::DockAt(this, QCursor::pos()))
      FormEndDock();
  });
  FormCreate();
}

TfrmWatchList::~TfrmWatchList() { StoreWindowRect(GeometryName, *this); }

void TfrmWatchList::FormCreate() { RestoreWindowRect(GeometryName, *this); }

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

void TfrmWatchList::mousePressEvent(QMouseEvent* event) { DragMouse(*event, event->position().toPoint()); }
void TfrmWatchList::mouseMoveEvent(QMouseEvent* event) { DragMouse(*event, event->position().toPoint()); }
void TfrmWatchList::mouseReleaseEvent(QMouseEvent* event) { DragMouse(*event, event->position().toPoint()); }

bool TfrmWatchList::eventFilter(QObject* watched, QEvent* event) {
  // The tab bar keeps its clicks; a drag that starts on it moves the window.
  const auto type = event->type();
  if (watched == PageControl1->tabBar() &&
      (type == QEvent::MouseButtonPress || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease)) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    DragMouse(*mouse, PageControl1->tabBar()->mapTo(this, mouse->position().toPoint()));
  }
  return QWidget::eventFilter(watched, event);
}

void TfrmWatchList::DragMouse(const QMouseEvent& event, const QPoint& local) {
  const QPoint global = event.globalPosition().toPoint();
  switch (event.type()) {
    case QEvent::MouseButtonPress:
      if (event.button() != Qt::LeftButton) return;
      FPressed = true;
      FDragStart = global;
      FGrab = local;
      break;
    case QEvent::MouseMove:
      if (!FPressed) return;
      if ((global - FDragStart).manhattanLength() >= QApplication::startDragDistance()) FDragging = true;
      if (FDragging && isWindow()) move(global - FGrab);
      break;
    case QEvent::MouseButtonRelease: {
      if (event.button() != Qt::LeftButton) return;
      const bool dragged = FDragging;
      FPressed = false;
      FDragging = false;
      if (dragged) EndDrag(global);
      break;
    }
    default:
      break;
  }
}

void TfrmWatchList::moveEvent(QMoveEvent* event) {
  // Only the user moves a window spontaneously: by its caption, through the
  // window manager, which tells nobody where the drag ends.
  if (event->spontaneous() && isWindow()) FDockCheck->start();
}

TDockSite* TfrmWatchList::HostSite() const {
  for (QWidget* w = parentWidget(); w && !isWindow(); w = w->parentWidget())
    if (auto* site = dynamic_cast<TDockSite*>(w)) return site;
  return nullptr;
}

void TfrmWatchList::EndDrag(const QPoint& global) {
  TDockSite* site = HostSite();
  if (!site) {
    if (TDockSite::DockAt(this, global)) FormEndDock();
    return;
  }
  QRect influence(site->Panel()->mapToGlobal(QPoint(0, 0)), site->Panel()->size());
  site->GetSiteInfo(this, influence);
  if (influence.contains(global)) return;
  const QPoint pos = global - FGrab;
  site->UnDock(&pos);
  FormEndDock();
}

void TfrmWatchList::FormEndDock() {
  // Docked, it takes the height the panel gives it.
  setMinimumSize(isWindow() ? FloatingMinimum : QSize(0, 0));
  WatchInteriors[0]->setFocus();
}

void TfrmWatchList::closeEvent(QCloseEvent* event) {
  // Closed while docked (by its button), it leaves its host's panel empty.
  if (TDockSite* site = HostSite()) site->UnDock();
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
