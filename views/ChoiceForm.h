#pragma once
#include <QDialog>
#include <QStringList>

#include "MessageBus.h"

class QButtonGroup;
class QGroupBox;
class QPushButton;

// The form of ChoiceDialog: one radio button per item in a group, in one
// column for fewer than eight items and in two from eight on, with Ok and
// Cancel below. The button ids are the item indexes.
class TChoiceForm : public QDialog, public TMessageReceiver {
 public:
  TChoiceForm(const QString& caption, const QStringList& items);

  QGroupBox* Group;
  QButtonGroup* Buttons;
  QPushButton* OkButton;
  QPushButton* CancelButton;

  void Dispatch(TMessage& message) override;
  void reject() override;
};
