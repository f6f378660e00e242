#pragma once
// Records every message box while it lives and answers them as scripted;
// the handler it replaced comes back when it goes.
#include <deque>
#include <utility>
#include <string>
#include <vector>

#include "MessageBox.h"

struct TRecordedMessage {
  std::string Text;
  std::string Caption;
  unsigned Flags = 0;
};

class TMessageBoxRecorder {
 public:
  explicit TMessageBoxRecorder(int answer = IDOK) : Answer(answer) {
    Previous = SetMessageBoxHandler([this](const char* text, const char* caption, unsigned flags) {
      Messages.push_back({text, caption, flags});
      if (Answers.empty()) return Answer;
      int next = Answers.front();
      Answers.pop_front();
      return next;
    });
  }
  ~TMessageBoxRecorder() { SetMessageBoxHandler(std::move(Previous)); }
  TMessageBoxRecorder(const TMessageBoxRecorder&) = delete;
  TMessageBoxRecorder& operator=(const TMessageBoxRecorder&) = delete;

  // The answer to every box once the queued answers are used up.
  int Answer;
  // Answers for the next boxes, in turn.
  std::deque<int> Answers;
  std::vector<TRecordedMessage> Messages;

 private:
  TMessageBoxHandler Previous;
};
