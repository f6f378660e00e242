#include "srcDebugProtocol.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QTextEdit>

#include "Colors.h"
#include "FixedFont.h"
#include "LogLines.h"
#include "ModalDialog.h"
#include "srcMain.h"

TfrmDebugProtocol::TfrmDebugProtocol() : RichEdit1(new QTextEdit) {
  setObjectName(QStringLiteral("frmDebugProtocol"));
  setWindowTitle(QStringLiteral("frmDebugProtocol"));
  setFont(DialogFont());
  resize(466, 331);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setReadOnly(true);
  RichEdit1->setFont(FixedFont());
  RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setWidget(RichEdit1);

  for (const TLogLine& line : ReadLogLines()) {
    RichEdit1->setTextColor(ToQColor(line.Direction != 0 ? clRed : clBlack));
    RichEdit1->append(QString::fromLatin1(line.Text.data(), static_cast<qsizetype>(line.Text.size())));
  }
}

void TfrmDebugProtocol::closeEvent(QCloseEvent* event) {
  PostViewClosed(this);
  event->accept();
}

namespace {
// The log button opens it as an MDI child and closes it again.
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetViewFactory(TViewKind::DbgProt, [](TfrmMain& owner) -> QWidget* {
    auto* form = new TfrmDebugProtocol;
    owner.MdiArea()->addSubWindow(form);
    form->show();
    return form;
  });
});
}  // namespace
