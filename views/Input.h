#pragma once
#include <QDialog>
#include <QString>

#include "MessageBus.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The one-line input form of InputQueryDialog: a prompt, the edit field and
// the Ok, Cancel and (hidden) Help buttons. Esc, the close box and
// UM_CLOSEDIALOG close it as Cancel.
class TInputForm : public QDialog, public TMessageReceiver {
 public:
  explicit TInputForm(QWidget* parent = nullptr);

  QLabel* Prompt;
  QLineEdit* Input;
  QPushButton* cmOK;
  QPushButton* cmCancel;
  QPushButton* cmHelp;

  // The help file is not part of the program; the context is kept for it.
  QString HelpFile;
  int HelpContext = 0;

  // Whether the field selects its whole text when entered other than by a click.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }

  void Dispatch(TMessage& message) override;
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool FAutoSelect = false;
};
