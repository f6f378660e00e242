#pragma once
// Answers the input dialogs (InputQueryDialog) shown while it lives: each
// takes the next scripted answer and Ok, or Cancel when the answer is empty
// or the script is used up. Records what each dialog asked.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Input.h"
#include "ModalDialog.h"

class TInputScript {
 public:
  struct TAsked {
    std::string Caption;
    std::string Prompt;
    std::string Value;  // the text the dialog started with
  };

  explicit TInputScript(std::deque<std::optional<std::string>> answers = {}) : Answers(std::move(answers)) {
    Previous = SetModalDialogHandler([this](QDialog& dialog) {
      auto* form = dynamic_cast<TInputForm*>(&dialog);
      if (!form) return;
      Asked.push_back({form->windowTitle().toStdString(), form->Prompt->text().toStdString(),
                       form->Input->text().toStdString()});
      std::optional<std::string> answer;
      if (!Answers.empty()) {
        answer = Answers.front();
        Answers.pop_front();
      }
      if (!answer) return;
      form->Input->setText(QString::fromStdString(*answer));
      form->cmOK->click();
    });
  }
  ~TInputScript() { SetModalDialogHandler(std::move(Previous)); }
  TInputScript(const TInputScript&) = delete;
  TInputScript& operator=(const TInputScript&) = delete;

  std::deque<std::optional<std::string>> Answers;
  std::vector<TAsked> Asked;

 private:
  TModalDialogHandler Previous;
};
