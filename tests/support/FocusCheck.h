#pragma once
// Qt keeps, in every widget, a pointer to the descendant that last had the
// focus, and clears it only along the parents a widget has when it loses the
// focus or dies. A widget moved away with the focus leaves that pointer
// behind in its old ancestors, and activating them then reaches a freed
// widget. Comparing pointers, never following them, finds such widgets.
#include <QApplication>
#include <QSet>
#include <QString>
#include <QWidget>

#include <string>

// The widgets whose remembered focus is a widget that no longer exists, by
// class and object name; empty when every focus pointer is live.
inline std::string DanglingFocus() {
  const QWidgetList all = QApplication::allWidgets();
  const QSet<QWidget*> live(all.cbegin(), all.cend());
  QString found;
  for (QWidget* widget : all) {
    if (QWidget* focus = widget->focusWidget(); focus && !live.contains(focus))
      found += QStringLiteral("%1 \"%2\"; ").arg(widget->metaObject()->className(), widget->objectName());
  }
  if (QWidget* focus = QApplication::focusWidget(); focus && !live.contains(focus))
    found += QStringLiteral("application");
  return found.toStdString();
}
