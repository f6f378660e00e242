#pragma once
// Answers the file dialogs shown while it lives, in turn, and keeps every
// request as it came. Once the answers are used up, dialogs are cancelled.
#include <deque>
#include <utility>
#include <vector>

#include "FileDialogs.h"

struct TFileAnswer {
  QString FileName;
  int FilterIndex = 0;  // 0: the filter the dialog came with
};

class TFileDialogAnswers {
 public:
  explicit TFileDialogAnswers(std::deque<TFileAnswer> answers = {}) : Answers(std::move(answers)) {
    Previous = SetFileDialogHandler([this](TFileDialogRequest& request) {
      Requests.push_back(request);
      if (Answers.empty()) return false;
      request.FileName = Answers.front().FileName;
      if (Answers.front().FilterIndex) request.FilterIndex = Answers.front().FilterIndex;
      Answers.pop_front();
      return true;
    });
  }
  ~TFileDialogAnswers() { SetFileDialogHandler(std::move(Previous)); }
  TFileDialogAnswers(const TFileDialogAnswers&) = delete;
  TFileDialogAnswers& operator=(const TFileDialogAnswers&) = delete;

  std::deque<TFileAnswer> Answers;
  std::vector<TFileDialogRequest> Requests;

 private:
  TFileDialogHandler Previous;
};
