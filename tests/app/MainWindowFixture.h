#pragma once
// A main window on the scripted target, with the clock, message boxes and quit
// requests in the test's hands. The idle timer is stopped: tests run the idle
// handler themselves.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "Configuration.h"
#include "GuiTestApplication.h"
#include "MainFormMessages.h"
#include "MessageBoxRecorder.h"
#include "MessageBus.h"
#include "Scroller.h"
#include "ScriptedProtocol.h"
#include "TickCount.h"
#include "srcMain.h"

// A view window that writes every message it gets into a shared log and,
// like every view window, posts UM_VIEWCLOSED when it is closed.
class FakeView : public QWidget, public TMessageReceiver {
 public:
  FakeView(std::vector<std::string>* log, std::string name, QWidget* owner)
      : QWidget(owner, Qt::Tool), Log(log), Name(std::move(name)) {}

  void Dispatch(TMessage& message) override {
    Log->push_back(Name + ":" + std::to_string(message.Msg) + ":" + std::to_string(message.LParam));
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    PostViewClosed(this);
    event->accept();
  }

 private:
  std::vector<std::string>* Log;
  std::string Name;
};

// A file's bytes; empty when it cannot be read.
inline std::string Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

class MainWindowTest : public ::testing::Test {
 protected:
  static constexpr std::uint32_t Start = 10000;

  void SetUp() override {
    UseTestClock(true, Start);
    ProtocolScript() = {};
    Prepare();
    Holder = std::make_unique<TConfiguration>();
    Form = std::make_unique<TfrmMain>();
    Form->IdleTimer->stop();
    PreviousQuit = SetQuitHandler([this](int code) { QuitCodes.push_back(code); });
  }

  void TearDown() override {
    Form.reset();
    SetQuitHandler(std::move(PreviousQuit));
    Holder.reset();
    UseTestClock(false);
  }

  // Script the target before the engine is made.
  virtual void Prepare() {}

  // Runs the idle handler ms milliseconds later.
  void IdleAfter(std::uint32_t ms) {
    AdvanceTestClock(ms);
    Form->AppIdle();
  }

  void Connect() { IdleAfter(501); }

  TfrmMain::TViewFactory Factory(const std::string& name) {
    return [this, name](TfrmMain& owner) -> QWidget* {
      auto* view = new FakeView(&Log, name, &owner);
      view->show();
      Views.push_back(view);
      return view;
    };
  }

  static std::string Entry(const std::string& view, unsigned msg, LPARAM lParam) {
    return view + ":" + std::to_string(msg) + ":" + std::to_string(lParam);
  }
  // A view's row as it stands on screen, trailing blanks cut, and one cell of it.
  static std::string ViewLine(TScroller* view, int row) {
    view->Update();
    return view->Canvas()->GridLine(row).trimmed().toStdString();
  }
  static TGridCell ViewCell(TScroller* view, int column, int row) {
    view->Update();
    return view->Canvas()->GridCell(column, row);
  }

  TMessageBoxRecorder Boxes;
  std::vector<int> QuitCodes;
  std::vector<std::string> Log;
  std::vector<QPointer<FakeView>> Views;  // made by the factories, in turn
  std::unique_ptr<TConfiguration> Holder;
  std::unique_ptr<TfrmMain> Form;

 private:
  TQuitHandler PreviousQuit;
};

// Whether the main window was busy when each message box came up; the boxes
// go on to the handler that was there before.
class TBusyAtBoxes {
 public:
  explicit TBusyAtBoxes(const TfrmMain& form) {
    Previous = SetMessageBoxHandler([this, &form](const char* text, const char* caption, unsigned flags) {
      Busy.push_back(form.Busy());
      return Previous(text, caption, flags);
    });
  }
  ~TBusyAtBoxes() { SetMessageBoxHandler(std::move(Previous)); }
  TBusyAtBoxes(const TBusyAtBoxes&) = delete;
  TBusyAtBoxes& operator=(const TBusyAtBoxes&) = delete;

  std::vector<bool> Busy;

 private:
  TMessageBoxHandler Previous;
};
