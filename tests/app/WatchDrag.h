#pragma once
// Takes the watch window by its tab, moves it to a point on the screen and
// lets go, the way a user docks it into a window or drags it off again.
#include <QApplication>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>

#include "srcWatchList.h"

inline void DragWatchWindow(TfrmWatchList* form, const QPoint& global) {
  QTabBar* target = form->PageControl1->tabBar();
  const QPoint local = target->tabRect(target->currentIndex()).center();
  QMouseEvent press(QEvent::MouseButtonPress, local, target->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(target, &press);
  QMouseEvent move(QEvent::MouseMove, target->mapFromGlobal(global), global, Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(target, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, target->mapFromGlobal(global), global, Qt::LeftButton, Qt::NoButton,
                      {});
  QApplication::sendEvent(target, &release);
  QCoreApplication::processEvents();
}
