#pragma once
#include <QFrame>

class QLabel;
class QProgressBar;

// The message pop-up of the main window: a raised panel with a centred bold
// text and an optional progress bar, shown in the middle of its parent.
class TPopupMsg : public QFrame {
 public:
  explicit TPopupMsg(QWidget* parent);

  void SetMessage(const QString& text);
  void SetProgressMax(int maximum);
  void SetProgressPosition(int position);
  void ShowPopup(bool withProgress);
  void HidePopup();

  QLabel* Memo1;
  QProgressBar* ProgressBar1;
};
