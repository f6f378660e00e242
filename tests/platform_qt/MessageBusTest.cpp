#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include <memory>
#include <vector>

#include "GuiTestApplication.h"
#include "MainFormMessages.h"
#include "MessageBus.h"

namespace {

struct Recorder : TMessageReceiver {
  std::vector<TMessage> Received;
  LRESULT Answer = 0;
  void Dispatch(TMessage& message) override {
    Received.push_back(message);
    message.Result = Answer;
  }
};

TEST(MessageBus, SendDeliversAtOnceAndReturnsTheResult) {
  Recorder receiver;
  receiver.Answer = 42;
  EXPECT_EQ(SendMessage(receiver.Handle(), UM_REFRESH, 7, -3), 42);
  ASSERT_EQ(receiver.Received.size(), 1u);
  EXPECT_EQ(receiver.Received[0].Msg, UM_REFRESH);
  EXPECT_EQ(receiver.Received[0].WParam, 7u);
  EXPECT_EQ(receiver.Received[0].LParam, -3);
}

TEST(MessageBus, HandlesAreNeverReused) {
  HWND first;
  {
    Recorder gone;
    first = gone.Handle();
    EXPECT_TRUE(IsWindow(first));
  }
  Recorder next;
  EXPECT_NE(next.Handle(), first);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(SendMessage(first, UM_REFRESH), 0);
  EXPECT_EQ(SendMessage(0, UM_REFRESH), 0);
}

TEST(MessageBus, PostedMessagesArriveInOrderThroughTheEventLoop) {
  Recorder receiver;
  EXPECT_TRUE(PostMessage(receiver.Handle(), UM_STOPPED, 0, 1));
  EXPECT_TRUE(PostMessage(receiver.Handle(), UM_REFRESH, 0, 2));
  EXPECT_TRUE(receiver.Received.empty());
  QCoreApplication::processEvents();
  ASSERT_EQ(receiver.Received.size(), 2u);
  EXPECT_EQ(receiver.Received[0].LParam, 1);
  EXPECT_EQ(receiver.Received[1].LParam, 2);
}

TEST(MessageBus, PostedMessageToAReceiverGoneMeanwhileIsDropped) {
  auto receiver = std::make_unique<Recorder>();
  Recorder bystander;
  EXPECT_TRUE(PostMessage(receiver->Handle(), UM_VIEWCLOSED, 0, 0));
  receiver.reset();
  QCoreApplication::processEvents();
  EXPECT_TRUE(bystander.Received.empty());
  EXPECT_FALSE(PostMessage(12345678, UM_REFRESH));
}

TEST(MessageBus, MainFormReceivesTheEngineMessagesUntilItGoes) {
  {
    Recorder main;
    SetMainForm(&main);
    EXPECT_EQ(MainForm(), main.Handle());
    SendToMainForm(UM_STATUSTEXT, 0, 5);
    ASSERT_EQ(main.Received.size(), 1u);
    EXPECT_EQ(main.Received[0].Msg, UM_STATUSTEXT);
  }
  EXPECT_EQ(MainForm(), 0u);
  EXPECT_EQ(SendToMainForm(UM_STATUSTEXT, 0, 5), 0);
}

TEST(MessageBus, QuitRequestEndsTheEventLoopWithItsCode) {
  Recorder main;
  SetMainForm(&main);
  QTimer::singleShot(0, [] { PostQuitMessage(3); });
  EXPECT_EQ(QCoreApplication::exec(), 3);
  SetMainForm(nullptr);
}

}  // namespace
