#include "RegisterListWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "FixedFont.h"
#include "RegisterListInterior.h"
#include "SettingsRegistry.h"

TRegisterListWindow::TRegisterListWindow(QWidget* Owner, std::string ValueName)
    : QWidget(Owner, Qt::Tool | Qt::WindowStaysOnTopHint), FValueName(std::move(ValueName)) {
  setFont(FixedFont());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSizeConstraint(QLayout::SetNoConstraint);
}

TRegisterListWindow::~TRegisterListWindow() {
  StoreWindowRect(FValueName, *this);
}

void TRegisterListWindow::SetView(TRegisterListInterior* View) {
  FView = View;
  FView->SetColor(clWhite);
  FView->SetScrollBars(ssVertical);
  FView->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  layout()->addWidget(FView);
  setFocusProxy(FView);
  // The view's limits are for the view; the window adds the room around it.
  // A window's size here is its client area, so no frame or caption counts.
  // The vertical bar is added once more although the view's own size holds
  // it already: the register window has always been that much wider.
  QSize min, max;
  FView->GetMinMaxInfo(min, max);
  const int dx = 2 * FView->x();
  const int dy = 2 * FView->y();
  const int bar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  setMinimumSize(min.width() + dx + bar, min.height() + dy);
  // A view without lines would have the window shorter than its least height.
  setMaximumSize(QSize(max.width() + dx + bar, max.height() + dy).expandedTo(minimumSize()));
}

void TRegisterListWindow::FormCreate() { RestoreWindowRect(FValueName, *this); }

void TRegisterListWindow::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case UM_REFRESH:
    case UM_STOPPED:
      FView->Refresh();
      break;
    default:
      break;
  }
}

void TRegisterListWindow::closeEvent(QCloseEvent* event) {
  PostViewClosed(this);
  event->accept();
}
