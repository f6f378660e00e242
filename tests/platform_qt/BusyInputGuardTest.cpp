#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include "BusyInputGuard.h"
#include "GuiTestApplication.h"
#include "KeyState.h"

namespace {

class InputCounter : public QWidget {
 public:
  int Keys = 0;
  int Clicks = 0;

 protected:
  void keyPressEvent(QKeyEvent*) override { ++Keys; }
  void mousePressEvent(QMouseEvent*) override { ++Clicks; }
};

// Keys QTest cannot type go straight through the application.
void SendKeyClick(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QCoreApplication::sendEvent(widget, &press);
  QCoreApplication::sendEvent(widget, &release);
}

class BusyInputGuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Widget.resize(50, 50);
    Widget.show();
  }
  InputCounter Widget;
};

TEST_F(BusyInputGuardTest, KeysAndClicksReachTheWindowsOnlyWithoutAGuard) {
  QTest::keyClick(&Widget, Qt::Key_A);
  QTest::mouseClick(&Widget, Qt::LeftButton);
  EXPECT_EQ(Widget.Keys, 1);
  EXPECT_EQ(Widget.Clicks, 1);
  {
    TBusyInputGuard guard;
    EXPECT_TRUE(TBusyInputGuard::Active());
    QTest::keyClick(&Widget, Qt::Key_A);
    QTest::mouseClick(&Widget, Qt::LeftButton);
    EXPECT_EQ(Widget.Keys, 1);
    EXPECT_EQ(Widget.Clicks, 1);
  }
  EXPECT_FALSE(TBusyInputGuard::Active());
  QTest::keyClick(&Widget, Qt::Key_A);
  EXPECT_EQ(Widget.Keys, 2);
}

// A message box or dialog that a long operation shows must still be
// answerable: only the windows under the operation lose their input.
TEST_F(BusyInputGuardTest, AModalWindowShownDuringTheOperationStillGetsItsInput) {
  TBusyInputGuard guard;
  InputCounter dialog;
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.resize(50, 50);
  dialog.show();
  ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
  struct Case {
    InputCounter* Target;
    int Keys;
    int Clicks;
  };
  const Case cases[] = {{&dialog, 1, 1}, {&Widget, 0, 0}};
  for (const Case& c : cases) {
    QTest::keyClick(c.Target, Qt::Key_Return);
    QTest::mouseClick(c.Target, Qt::LeftButton);
    EXPECT_EQ(c.Target->Keys, c.Keys);
    EXPECT_EQ(c.Target->Clicks, c.Clicks);
  }
  // What the box was told does not count as an abort key.
  QTest::keyClick(&dialog, Qt::Key_H);
  EXPECT_EQ(GetAsyncKeyState(VkKeyScan('h')), 0);
  dialog.close();
}

TEST_F(BusyInputGuardTest, HPressedMeanwhileIsReportedOnceThenCleared) {
  TBusyInputGuard guard;
  const int h = VkKeyScan('h');
  EXPECT_EQ(GetAsyncKeyState(h), 0);
  QTest::keyPress(&Widget, Qt::Key_H);
  EXPECT_EQ(GetAsyncKeyState(h) & 0xFFFF, 0x8001);
  EXPECT_EQ(GetAsyncKeyState(h) & 0xFFFF, 0x8000);
  QTest::keyRelease(&Widget, Qt::Key_H);
  EXPECT_EQ(GetAsyncKeyState(h), 0);
  QTest::keyClick(&Widget, Qt::Key_H);
  EXPECT_EQ(GetAsyncKeyState(h), 0x0001);
  EXPECT_EQ(GetAsyncKeyState('X'), 0);
}

TEST_F(BusyInputGuardTest, CtrlBreakIsTheCancelKey) {
  TBusyInputGuard guard;
  SendKeyClick(&Widget, Qt::Key_Pause);
  EXPECT_EQ(GetAsyncKeyState(VK_CANCEL), 0);
  SendKeyClick(&Widget, Qt::Key_Pause, Qt::ControlModifier);
  EXPECT_NE(GetAsyncKeyState(VK_CANCEL), 0);
  SendKeyClick(&Widget, Qt::Key_Cancel);
  EXPECT_NE(GetAsyncKeyState(VK_CANCEL), 0);
}

TEST_F(BusyInputGuardTest, InputQueuedDuringTheOperationIsDiscardedAtItsEnd) {
  {
    TBusyInputGuard guard;
    QCoreApplication::postEvent(&Widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier));
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(Widget.Keys, 0);
}

TEST_F(BusyInputGuardTest, NestedGuardsKeepTheInputAwayUntilTheLastEnds) {
  auto outer = std::make_unique<TBusyInputGuard>();
  {
    TBusyInputGuard inner;
  }
  EXPECT_TRUE(TBusyInputGuard::Active());
  QTest::keyClick(&Widget, Qt::Key_A);
  EXPECT_EQ(Widget.Keys, 0);
  outer.reset();
  EXPECT_FALSE(TBusyInputGuard::Active());
  EXPECT_EQ(GetAsyncKeyState('A'), 0);
}

}  // namespace
