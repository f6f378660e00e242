#include "Application.h"

#include <utility>
#include <vector>

namespace {

int HandlerDepth = 0;

std::vector<std::function<void()>>& Pending() {
  static std::vector<std::function<void()>> jobs;
  return jobs;
}

// A job may deliver events of its own (a freed widget's focus moves), which
// come back here: each runs once, and one queued meanwhile runs too.
void RunPending() {
  while (!Pending().empty()) {
    std::vector<std::function<void()>> jobs = std::exchange(Pending(), {});
    for (std::function<void()>& job : jobs) job();
  }
}

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  struct TDepth {
    TDepth() { ++HandlerDepth; }
    ~TDepth() { --HandlerDepth; }
  };
  bool handled = false;
  {
    TDepth depth;
    handled = QApplication::notify(receiver, event);
  }
  if (HandlerDepth == 0) RunPending();
  return handled;
}

void TApplication::AfterHandlers(std::function<void()> job) {
  if (HandlerDepth == 0) {
    job();
    return;
  }
  Pending().push_back(std::move(job));
}
