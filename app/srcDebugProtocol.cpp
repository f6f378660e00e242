#include "srcDebugProtocol.h"

#include <QCloseEvent>
#include <QTextEdit>

#include "Colors.h"
#include "FixedFont.h"
#include "LogLines.h"
#include "ModalDialog.h"

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
  PostMessage(MainForm(), UM_VIEWCLOSED, 0, reinterpret_cast<LPARAM>(static_cast<QWidget*>(this)));
  event->accept();
}
