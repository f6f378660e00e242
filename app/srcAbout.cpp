#include "srcAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "ModalDialog.h"
#include "srcMain.h"

namespace {

// A chip on a board with a probe on its pins: what the program talks to.
QPixmap Picture() {
  QPixmap picture(96, 96);
  picture.fill(QColor(0, 96, 48));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(200, 200, 200), 2));
  for (int i = 0; i < 6; ++i) {
    painter.drawLine(16, 22 + 10 * i, 26, 22 + 10 * i);
    painter.drawLine(70, 22 + 10 * i, 80, 22 + 10 * i);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(30, 30, 30));
  painter.drawRoundedRect(QRectF(26, 14, 44, 68), 3, 3);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(14);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(230, 230, 230));
  painter.drawText(QRectF(26, 14, 44, 68), Qt::AlignCenter, QStringLiteral("Z80"));
  painter.setPen(QPen(QColor(220, 160, 0), 3));
  painter.drawLine(80, 22, 92, 8);
  return picture;
}

QLabel* Text(QWidget* parent, const QString& text, int pixelSize, bool bold, int top) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  label->setFont(font);
  label->setGeometry(120, top, 225, pixelSize + 8);
  return label;
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* Owner) : QDialog(Owner, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About"));
  setFont(DialogFont());
  setFixedSize(357, 221);
  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setGeometry(0, 0, 357, 221);
  Image1 = new QLabel(panel);
  Image1->setPixmap(Picture());
  Image1->setGeometry(12, 16, 96, 96);
  Label1 = Text(panel, QStringLiteral("OSTREL Corvane"), 19, true, 20);
  Label4 = Text(panel, QStringLiteral("www.ostrel.example"), 11, false, 50);
  Label2 = Text(panel, QStringLiteral("Version 4.0"), 13, true, 90);
  Label3 = Text(panel, QStringLiteral("Released December 2026"), 13, true, 114);
  Button1 = new QPushButton(QStringLiteral("&Ok"), panel);
  Button1->setGeometry(141, 180, 75, 25);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, [this] { done(mrOk); });
}

namespace {
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetCommandHandler(TCommand::About, [&main](QAction*) {
    TfrmAbout dialog(&main);
    ShowModal(dialog);
  });
});
}  // namespace
