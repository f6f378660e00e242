#include "ModalDialog.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <utility>

#include "MessageBus.h"

namespace {

TModalDialogHandler& Handler() {
  static TModalDialogHandler handler;
  return handler;
}

void CentreOnMainForm(QDialog& dialog) {
  const auto* mainForm = dynamic_cast<const QWidget*>(FindReceiver(MainForm()));
  if (!mainForm || !mainForm->isVisible()) return;
  const QRect frame = dialog.frameGeometry();
  dialog.move(mainForm->frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
}

}  // namespace

QFont DialogFont() {
  QFont font = QApplication::font();
  font.setPixelSize(11);
  return font;
}

int ShowModal(QDialog& dialog) {
  CentreOnMainForm(dialog);
  // The frame is known only once the dialog is up (a title bar under a
  // window manager), so it is centred again then, before anybody answers it.
  QTimer::singleShot(0, &dialog, [&dialog] { CentreOnMainForm(dialog); });
  if (TModalDialogHandler handler = Handler()) {
    QTimer::singleShot(0, &dialog, [&dialog, handler] {
      handler(dialog);
      if (dialog.isVisible()) dialog.done(mrCancel);
    });
  }
  // Held weakly: the window may be closed while the dialog is up.
  const QPointer<QWidget> previous = QApplication::activeWindow();
  const int result = dialog.exec();
  // Without a window manager nothing gives the focus back when the dialog
  // closes, and no key of the program would work until the next click.
  if (previous) previous->activateWindow();
  return result;
}

TModalDialogHandler SetModalDialogHandler(TModalDialogHandler handler) { return std::exchange(Handler(), std::move(handler)); }
