#pragma once
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// One use of an open or save dialog. The filter is written as the windows
// give it, "Text file (*.txt)|*.txt;*.lst|All files (*.*)|*.*"; its patterns
// match without regard to letter case and "*.*" means every file.
struct TFileDialogRequest {
  bool Save = false;
  QString Title;
  QString Filter;
  int FilterIndex = 1;    // 1-based; in: the filter shown first, out: the one chosen
  QString FileName;       // in: preset name; out: the chosen file
  QString DefaultExt;     // without the dot; added to a name typed without extension
  bool FileMustExist = false;
  bool OverwritePrompt = true;  // a save asks before replacing a file
};

// Runs the dialog (or the installed handler); false when cancelled.
bool ExecuteFileDialog(QWidget* owner, TFileDialogRequest& request);

// Tests answer the dialogs through a handler; it returns the one it replaces.
using TFileDialogHandler = std::function<bool(TFileDialogRequest& request)>;
TFileDialogHandler SetFileDialogHandler(TFileDialogHandler handler);

// The filter as QFileDialog name filters, one for each description.
QStringList QtNameFilters(const QString& filter);
