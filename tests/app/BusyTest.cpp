#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "KeyState.h"
#include "MainWindowFixture.h"

namespace {

class BusyTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Connect();
    Form->show();
  }
  void BeginBusy(const char* text) { SendBeginBusy(text); }
  void EndBusy() { SendMessage(Form->Handle(), UM_ENDBUSY); }
};

TEST_F(BusyTest, LongOperationDisablesTheCommandsAndShowsItsText) {
  Form->SetViewFactory(TViewKind::Regs, Factory("regs"));
  BeginBusy("Loading program...");
  EXPECT_TRUE(Form->Busy());
  EXPECT_EQ(Form->StatusText(), QStringLiteral("Loading program..."));
  for (QMenu* menu : {Form->MNU_File, Form->MNU_View, Form->MNU_Run, Form->MNU_Breakpoints, Form->MNU_Configure})
    EXPECT_FALSE(menu->menuAction()->isEnabled());
  for (QAction* button : {Form->TLB_ClearBreaks, Form->TLB_Halt, Form->TLB_Refresh, Form->TLB_ViewRegs})
    EXPECT_FALSE(button->isEnabled());

  SendStatusText("Loading 40%");
  EXPECT_EQ(Form->StatusText(), QStringLiteral("Loading 40%"));

  EndBusy();
  EXPECT_FALSE(Form->Busy());
  EXPECT_EQ(Form->StatusText(), QString());
  for (QMenu* menu : {Form->MNU_File, Form->MNU_View, Form->MNU_Run, Form->MNU_Breakpoints, Form->MNU_Configure})
    EXPECT_TRUE(menu->menuAction()->isEnabled());
  for (QAction* button : {Form->TLB_ClearBreaks, Form->TLB_Halt, Form->TLB_Refresh, Form->TLB_ViewRegs})
    EXPECT_TRUE(button->isEnabled());
  // Sub-items switched off by the target's capabilities stay off.
  EXPECT_FALSE(Form->MNU_ConfigureMemory->menuAction()->isEnabled());
}

// The status bar keeps its one line; a text's line breaks show as gaps.
TEST_F(BusyTest, ProgressTextsOfSeveralLinesShowOnOneLine) {
  BeginBusy("Loading program [0]");
  const int height = Form->StatusPanel->sizeHint().height();
  SendStatusText("Loading program\r\n[0] Bytes, [0] Symbols read\r\nPress <H> to quit load");
  EXPECT_EQ(Form->StatusText(), QStringLiteral("Loading program  [0] Bytes, [0] Symbols read  Press <H> to quit load"));
  EXPECT_EQ(Form->StatusPanel->sizeHint().height(), height);
  SendStatusText("Loading program: [16] Bytes, [2] Symbols read\r\n\r\nPress <Ctrl + Break> to stop");
  EXPECT_EQ(Form->StatusText(), QStringLiteral("Loading program: [16] Bytes, [2] Symbols read  Press <Ctrl + Break> to stop"));
  EXPECT_EQ(Form->StatusPanel->sizeHint().height(), height);
  EndBusy();
}

struct ButtonAfterBusy {
  QAction* TfrmMain::*Button;
  bool EnabledAfter;  // on a target without special registers and trace
};

TEST_F(BusyTest, EveryCommandButtonButAboutIsOffWhileBusy) {
  for (TViewKind kind : {TViewKind::Cpu, TViewKind::Source, TViewKind::Regs, TViewKind::SRegs, TViewKind::Symbols,
                         TViewKind::Trace, TViewKind::Watch, TViewKind::DbgProt, TViewKind::Dump})
    Form->SetViewFactory(kind, Factory("view"));
  const ButtonAfterBusy buttons[] = {
      {&TfrmMain::TLB_ClearBreaks, true}, {&TfrmMain::TLB_Halt, true},       {&TfrmMain::TLB_ViewDump, true},
      {&TfrmMain::TLB_ViewSource, true},  {&TfrmMain::TLB_ViewCpu, true},    {&TfrmMain::TLB_ViewRegs, true},
      {&TfrmMain::TLB_ViewSRegs, false},  {&TfrmMain::TLB_ViewSym, true},    {&TfrmMain::TLB_ViewTrace, false},
      {&TfrmMain::TLB_ViewWatch, true},   {&TfrmMain::TLB_Refresh, true},    {&TfrmMain::TLB_DbgProt, true},
  };
  BeginBusy("Loading");
  for (const ButtonAfterBusy& b : buttons) EXPECT_FALSE((Form.get()->*b.Button)->isEnabled());
  EndBusy();
  for (const ButtonAfterBusy& b : buttons) {
    const QAction* button = Form.get()->*b.Button;
    EXPECT_EQ(button->isEnabled(), b.EnabledAfter) << button->objectName().toStdString();
  }
}

TEST_F(BusyTest, ClosingIsRefusedWhileBusy) {
  BeginBusy("Saving");
  EXPECT_FALSE(Form->close());
  Form->MNU_FileExit->trigger();
  EXPECT_TRUE(Form->isVisible());
  EndBusy();
  EXPECT_TRUE(Form->close());
  EXPECT_FALSE(Form->isVisible());
}

TEST_F(BusyTest, NoPollWhileBusyAndTheNextOneFiveHundredMillisecondsAfter) {
  const int polls = ProtocolScript().PollCount;
  BeginBusy("Stepping");
  IdleAfter(2000);
  IdleAfter(2000);
  EXPECT_EQ(ProtocolScript().PollCount, polls);
  EndBusy();
  IdleAfter(500);
  EXPECT_EQ(ProtocolScript().PollCount, polls);
  IdleAfter(1);
  EXPECT_EQ(ProtocolScript().PollCount, polls + 1);
}

TEST_F(BusyTest, KeysGoToTheAbortCheckNotToTheWindows) {
  BeginBusy("Press <H> to stop auto trace into");
  EXPECT_EQ(GetAsyncKeyState(VkKeyScan('h')), 0);
  QTest::keyClick(Form.get(), Qt::Key_H);
  EXPECT_NE(GetAsyncKeyState(VkKeyScan('h')) & 0x0001, 0);
  EndBusy();
  EXPECT_EQ(GetAsyncKeyState(VkKeyScan('h')), 0);
}

TEST_F(BusyTest, AutomaticSteppingBracketIsBalanced) {
  SendMessage(Form->Handle(), UM_DISABLECOMMANDS);
  BeginBusy("Press <H> to stop auto step over");
  EndBusy();
  EXPECT_FALSE(Form->Busy());
  SendMessage(Form->Handle(), UM_ENABLECOMMANDS);
  EXPECT_FALSE(Form->Busy());
  EXPECT_TRUE(Form->MNU_File->menuAction()->isEnabled());
}

}  // namespace
