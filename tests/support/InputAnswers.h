#pragma once
// Answers the input dialogs shown while it lives, in turn: each answer
// replaces the field's text and presses Ok; an empty optional cancels. It
// keeps what every dialog showed (caption, prompt, the text it started with).
// Once the answers are used up, dialogs are cancelled.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Input.h"
#include "ModalDialog.h"

struct TShownInput {
  std::string Caption;
  std::string Prompt;
  std::string Initial;
};

class TInputAnswers {
 public:
  explicit TInputAnswers(std::deque<std::optional<std::string>> answers = {}) : Answers(std::move(answers)) {
    Previous = SetModalDialogHandler([this](QDialog& dialog) {
      auto* form = dynamic_cast<TInputForm*>(&dialog);
      if (!form) return;
      Shown.push_back({form->windowTitle().toStdString(), form->Prompt->text().toStdString(),
                       form->Input->text().toStdString()});
      if (Answers.empty() || !Answers.front()) {
        if (!Answers.empty()) Answers.pop_front();
        QTest::mouseClick(form->cmCancel, Qt::LeftButton);
        return;
      }
      form->Input->setText(QString::fromStdString(*Answers.front()));
      Answers.pop_front();
      QTest::mouseClick(form->cmOK, Qt::LeftButton);
    });
  }
  ~TInputAnswers() { SetModalDialogHandler(std::move(Previous)); }
  TInputAnswers(const TInputAnswers&) = delete;
  TInputAnswers& operator=(const TInputAnswers&) = delete;

  std::deque<std::optional<std::string>> Answers;
  std::vector<TShownInput> Shown;

 private:
  TModalDialogHandler Previous;
};
