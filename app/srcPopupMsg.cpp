#include "srcPopupMsg.h"

#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QVBoxLayout>

TPopupMsg::TPopupMsg(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("StatusMessage"));
  setFixedSize(265, 45);
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);

  Memo1 = new QLabel(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setAlignment(Qt::AlignCenter);
  Memo1->setWordWrap(true);
  QFont bold = Memo1->font();
  bold.setBold(true);
  Memo1->setFont(bold);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setFixedSize(257, 12);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->hide();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 2, 3, 2);
  layout->setSpacing(0);
  layout->addWidget(Memo1, 1);
  layout->addWidget(ProgressBar1, 0, Qt::AlignHCenter);
  hide();
}

void TPopupMsg::SetMessage(const QString& text) {
  Memo1->setText(text);
  repaint();
}

void TPopupMsg::SetProgressMax(int maximum) { ProgressBar1->setMaximum(maximum); }

void TPopupMsg::SetProgressPosition(int position) { ProgressBar1->setValue(position); }

void TPopupMsg::ShowPopup(bool withProgress) {
  // Centred in the owner's client area, which starts below a main window's
  // menu bar; integer division rounds towards zero, as the placement asks.
  const QWidget* owner = parentWidget();
  int clientTop = 0;
  if (const auto* window = qobject_cast<const QMainWindow*>(owner); window && window->menuWidget() &&
                                                                    !window->menuWidget()->isHidden())
    clientTop = window->menuWidget()->geometry().bottom() + 1;
  move((owner->width() - width()) / 2, clientTop + (owner->height() - clientTop - height()) / 2);
  ProgressBar1->setVisible(withProgress);
  show();
  raise();
  repaint();
}

void TPopupMsg::HidePopup() {
  ProgressBar1->hide();
  hide();
}
