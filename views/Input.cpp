#include "Input.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ModalDialog.h"

TInputForm::TInputForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Prompt(new QLabel(this)),
      Input(new QLineEdit(this)),
      cmOK(new QPushButton(QStringLiteral("&Ok"), this)),
      cmCancel(new QPushButton(QStringLiteral("&Cancel"), this)),
      cmHelp(new QPushButton(QStringLiteral("&Help"), this)) {
  setObjectName(QStringLiteral("InputForm"));
  setFont(DialogFont());
  setFixedSize(257, 77);
  Prompt->setGeometry(4, 4, 249, 17);
  Prompt->setTextFormat(Qt::PlainText);
  Input->setGeometry(4, 24, 249, 21);
  Input->installEventFilter(this);
  cmOK->setGeometry(4, 52, 73, 21);
  cmOK->setDefault(true);
  cmCancel->setGeometry(92, 52, 73, 21);
  cmHelp->setGeometry(180, 52, 73, 21);
  cmHelp->setVisible(false);
  setTabOrder(Input, cmOK);
  setTabOrder(cmOK, cmCancel);
  setTabOrder(cmCancel, cmHelp);
  Input->setFocus();
  connect(cmOK, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(cmCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TInputForm::Dispatch(TMessage& message) {
  if (message.Msg == UM_CLOSEDIALOG) done(mrCancel);
}

void TInputForm::reject() { done(mrCancel); }

bool TInputForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Input) return QDialog::eventFilter(watched, event);
  if (event->type() == QEvent::FocusIn) {
    const bool byMouse = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
    if (FAutoSelect) {
      if (!byMouse) Input->selectAll();
    } else if (!Input->hasSelectedText()) {
      // A field tabbed into selects its text, and a dialog being shown counts
      // as that; without AutoSelect the caret stays where it was instead.
      const int caret = Input->cursorPosition();
      static_cast<QObject*>(Input)->event(event);
      Input->deselect();
      Input->setCursorPosition(caret);
      return true;
    }
  } else if (event->type() == QEvent::FocusOut) {
    // Once left for another control, the field selects its text whenever it
    // is entered again; a window or a menu taking the focus does not count.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) FAutoSelect = true;
  }
  return QDialog::eventFilter(watched, event);
}
