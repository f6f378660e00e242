#include "FileDialogs.h"

#include <QFileDialog>

#include <utility>

namespace {

TFileDialogHandler& Handler() {
  static TFileDialogHandler handler;
  return handler;
}

// "*.hex" becomes "*.[hH][eE][xX]": the file system's own matching would
// tell letter cases apart.
QString CaseFreePattern(const QString& pattern) {
  if (pattern == QLatin1String("*.*")) return QStringLiteral("*");
  QString result;
  for (QChar c : pattern) {
    if (c.isLetter() && c.toLower() != c.toUpper())
      result += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
    else
      result += c;
  }
  return result;
}

// The 1-based index of the chosen filter. With its details hidden the dialog
// names the filter without the patterns it added, so the description alone
// ("Mardyn (*.*)" of "Mardyn (*.*) (*)") stands for it too.
int ChosenFilter(const QStringList& filters, const QString& chosen) {
  for (qsizetype i = 0; i < filters.size(); ++i)
    if (filters[i] == chosen || filters[i].startsWith(chosen + QStringLiteral(" (")))
      return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList result;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
      patterns += CaseFreePattern(pattern.trimmed());
    result += parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return result;
}

TFileDialogHandler SetFileDialogHandler(TFileDialogHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

bool ExecuteFileDialog(QWidget* owner, TFileDialogRequest& request) {
  if (Handler()) return Handler()(request);

  QFileDialog dialog(owner, request.Title);
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
  dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.Save || !request.FileMustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QStringList filters = QtNameFilters(request.Filter);
  dialog.setNameFilters(filters);
  if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
    dialog.selectNameFilter(filters[request.FilterIndex - 1]);
  if (!request.DefaultExt.isEmpty()) dialog.setDefaultSuffix(request.DefaultExt);
  if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;

  request.FileName = dialog.selectedFiles().first();
  request.FilterIndex = ChosenFilter(filters, dialog.selectedNameFilter());
  return true;
}
