#pragma once
#include <QDialog>

class QComboBox;
class QLineEdit;
class QSpinBox;
class QLabel;
class QPushButton;

// Offers a font, a size and a tab size; nothing reads the choices. Shown
// modeless, and freed when it closes.
class TfrmDisplayOptions : public QDialog {
 public:
  explicit TfrmDisplayOptions(QWidget* Owner);

  QPushButton* cmOK;
  QPushButton* cmCancel;
  QPushButton* cmHelp;
  QComboBox* cbFontName;
  QComboBox* cbFontSize;
  QSpinBox* setTabSize;
  QLabel* pnSampleText;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate();
};
