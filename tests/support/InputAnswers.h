#pragma once
// Answers the input dialogs of the commands in turn, as a user would type,
// and records what each dialog showed: "caption|prompt|initial text".
// A missing answer (std::nullopt, or none queued) cancels the dialog.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "Input.h"
#include "ModalDialog.h"

class TInputAnswers {
 public:
  TInputAnswers() {
    Previous = SetModalDialogHandler([this](QDialog& dialog) {
      auto* form = dynamic_cast<TInputForm*>(&dialog);
      ASSERT_NE(form, nullptr);
      Asked.push_back((form->windowTitle() + '|' + form->Prompt->text() + '|' + form->Input->text()).toStdString());
      std::optional<std::string> answer;
      if (!Answers.empty()) {
        answer = Answers.front();
        Answers.pop_front();
      }
      if (!answer) {
        form->done(mrCancel);
        return;
      }
      form->Input->setText(QString::fromStdString(*answer));
      form->done(mrOk);
    });
  }
  ~TInputAnswers() { SetModalDialogHandler(std::move(Previous)); }
  TInputAnswers(const TInputAnswers&) = delete;
  TInputAnswers& operator=(const TInputAnswers&) = delete;

  std::deque<std::optional<std::string>> Answers;
  std::vector<std::string> Asked;

 private:
  TModalDialogHandler Previous;
};
