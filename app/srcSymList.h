#pragma once
#include <QWidget>

#include "MessageBus.h"

class QFrame;
class QLabel;
class QStatusBar;
class TSymInterior;

// The symbol window: the whole symbol table under two column headers. It
// needs no messages: the view reads the table whenever it paints.
class TfrmSymList : public QWidget, public TMessageReceiver {
 public:
  explicit TfrmSymList(QWidget* Owner);
  ~TfrmSymList() override;

  void Dispatch(TMessage&) override {}

  QFrame* Panel1;
  QLabel* Panel2;
  QLabel* Panel3;
  TSymInterior* SymInterior;
  QStatusBar* StatusBar;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
};
