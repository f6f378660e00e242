#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's picture, title, maker, version and date.
class TfrmAbout : public QDialog {
 public:
  explicit TfrmAbout(QWidget* Owner);

  QLabel* Image1;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QPushButton* Button1;
};
