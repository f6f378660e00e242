#include "TargetDialog.h"

#include "ModalDialog.h"

TTargetDialog::TTargetDialog(QWidget* Owner)
    : QDialog(Owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setFont(DialogFont());
}

void TTargetDialog::Dispatch(TMessage& message) {
  if (message.Msg == UM_CLOSEDIALOG) done(mrCancel);
}

void TTargetDialog::reject() { done(mrCancel); }
