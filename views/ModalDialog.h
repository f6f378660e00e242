#pragma once
#include <QFont>

#include <functional>

class QDialog;

// Results of a modal dialog as the commands test them.
enum : int { mrOk = 1, mrCancel = 2 };

// The small sans-serif face of the dialogs, 11 pixels high.
QFont DialogFont();

// Shows the dialog modally, centred on the main form, and returns its result.
// With a handler installed the handler answers instead of a person: it runs
// once the dialog is up, inside its modal loop, and may type, click or close;
// a dialog it leaves open closes as Cancel.
int ShowModal(QDialog& dialog);

using TModalDialogHandler = std::function<void(QDialog& dialog)>;
// Installs a handler (empty: none) and returns the one it replaces.
TModalDialogHandler SetModalDialogHandler(TModalDialogHandler handler);
