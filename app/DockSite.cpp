#include "DockSite.h"

#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr int SplitterWidth = 3;

std::vector<TDockSite*>& Sites() {
  static std::vector<TDockSite*> sites;
  return sites;
}

// A horizontal bar that reports how far it is dragged up.
class TSplitterBar : public QWidget {
 public:
  std::function<void(int up)> OnDrag;

  TSplitterBar() {
    setFixedHeight(SplitterWidth);
    setCursor(Qt::SplitVCursor);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override { FStart = event->globalPosition().toPoint().y(); }
  void mouseMoveEvent(QMouseEvent* event) override {
    const int y = event->globalPosition().toPoint().y();
    if (OnDrag) OnDrag(FStart - y);
    FStart = y;
  }

 private:
  int FStart = 0;
};

}  // namespace

TDockSite::TDockSite(QWidget* content, const QString& splitterName, QWidget* parent)
    : QWidget(parent), FPanel(new QWidget) {
  setObjectName(QStringLiteral("DockSite"));
  auto* bar = new TSplitterBar;
  bar->OnDrag = [this](int up) { SplitterResize(FDockHeight + up); };
  FSplitter = bar;
  FSplitter->setObjectName(splitterName);
  FSplitter->hide();
  FPanel->setObjectName(QStringLiteral("pnlAppend"));
  FPanel->setFixedHeight(EmptyHeight);
  auto* panelLayout = new QVBoxLayout(FPanel);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(content, 1);
  layout->addWidget(FSplitter);
  layout->addWidget(FPanel);
  Sites().push_back(this);
}

TDockSite::~TDockSite() { std::erase(Sites(), this); }

bool TDockSite::GetSiteInfo(const QWidget* client, QRect& influence) const {
  influence.setTop(influence.top() - DockedHeight);
  return client && client->objectName() == QLatin1String("frmWatchList");
}

void TDockSite::DockDrop(QWidget* client) {
  if (!client || FDockedControl) return;
  FFloatingParent = client->parentWidget();
  FFloatingFlags = client->windowFlags();
  FFloatingGeometry = client->geometry();
  FDockHeight = DockedHeight;
  FPanel->setFixedHeight(FDockHeight);
  FPanel->layout()->addWidget(client);
  client->setWindowFlags(Qt::Widget);
  client->show();
  FSplitter->show();
  FDockedControl = client;
}

void TDockSite::SplitterResize(int size) {
  if (!FDockedControl) return;
  FDockHeight = std::clamp(size, DockedHeight, MaxDockHeight);
  FPanel->setFixedHeight(FDockHeight);
}

void TDockSite::UnDock(const QPoint* pos) {
  QWidget* client = Detach();
  if (!client) return;
  if (pos) client->move(*pos);
  client->show();
}

void TDockSite::CloseDocked() {
  if (QWidget* client = Detach()) client->close();
}

QWidget* TDockSite::Detach() {
  QWidget* client = FDockedControl;
  if (!client) return nullptr;
  FDockedControl = nullptr;
  // Every ancestor remembers the descendant that last had the focus, and Qt
  // forgets it only along the parents a widget has when it loses the focus
  // or dies: after the move, the host would go on pointing into the window
  // that left and reach it once that is freed.
  for (QWidget* w = client->parentWidget(); w; w = w->parentWidget())
    if (QWidget* focus = w->focusWidget(); focus && (focus == client || client->isAncestorOf(focus)))
      focus->clearFocus();
  FSplitter->hide();
  FPanel->setFixedHeight(EmptyHeight);
  client->setParent(FFloatingParent, FFloatingFlags);
  client->setGeometry(FFloatingGeometry);
  return client;
}

TDockSite* TDockSite::At(const QWidget* client, const QPoint& global) {
  for (TDockSite* site : Sites()) {
    if (!site->isVisible() || site->FDockedControl) continue;
    QRect influence(site->FPanel->mapToGlobal(QPoint(0, 0)), site->FPanel->size());
    if (site->GetSiteInfo(client, influence) && influence.contains(global)) return site;
  }
  return nullptr;
}

bool TDockSite::DockAt(QWidget* client, const QPoint& global) {
  TDockSite* site = At(client, global);
  if (site) site->DockDrop(client);
  return site != nullptr;
}
