#include "DisplayOptions.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "ModalDialog.h"
#include "srcMain.h"

TfrmDisplayOptions::TfrmDisplayOptions(QWidget* Owner)
    : QDialog(Owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::WindowContextHelpButtonHint) {
  setObjectName(QStringLiteral("frmDisplayOptions"));
  setWindowTitle(QStringLiteral("Display Options"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(DialogFont());
  setFixedSize(341, 141);

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setGeometry(4, 4, 248, 133);
  auto label = [panel](const char* text, int top, QWidget* buddy) {
    auto* l = new QLabel(QString::fromLatin1(text), panel);
    l->move(8, top);
    l->setBuddy(buddy);
  };
  cbFontName = new QComboBox(panel);
  cbFontName->setGeometry(92, 8, 148, 21);
  cbFontSize = new QComboBox(panel);
  cbFontSize->setGeometry(92, 36, 64, 21);
  setTabSize = new QSpinBox(panel);
  setTabSize->setGeometry(92, 64, 64, 21);
  setTabSize->setRange(1, 16);
  setTabSize->setValue(1);
  setTabSize->setWrapping(false);
  label("&Display font:", 12, cbFontName);
  label("&Font size:", 40, cbFontSize);
  label("&Tab size:", 68, setTabSize);
  pnSampleText = new QLabel(QStringLiteral("Sample text"), panel);
  pnSampleText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnSampleText->setAlignment(Qt::AlignCenter);
  pnSampleText->setGeometry(8, 94, 232, 31);

  cmOK = new QPushButton(QStringLiteral("&OK"), this);
  cmOK->setGeometry(260, 8, 75, 25);
  cmOK->setDefault(true);
  cmCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cmCancel->setGeometry(260, 40, 75, 25);
  cmHelp = new QPushButton(QStringLiteral("&Help"), this);
  cmHelp->setGeometry(260, 72, 75, 25);
  // The buttons only set a result; the box closes from its frame.
  connect(cmOK, &QPushButton::clicked, this, [this] { setResult(mrOk); });
  connect(cmCancel, &QPushButton::clicked, this, [this] { setResult(mrCancel); });
  FormCreate();
}

void TfrmDisplayOptions::keyPressEvent(QKeyEvent* event) {
  // Esc is the Cancel button's key, and Cancel closes nothing here.
  if (event->key() == Qt::Key_Escape) {
    setResult(mrCancel);
    return;
  }
  QDialog::keyPressEvent(event);
}

void TfrmDisplayOptions::FormCreate() { cbFontName->addItems(QFontDatabase::families()); }

namespace {
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetCommandHandler(TCommand::OptionsDisplay, [&main](QAction*) { (new TfrmDisplayOptions(&main))->show(); });
});
}  // namespace
