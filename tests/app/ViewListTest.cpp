#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "MainWindowFixture.h"

namespace {

TEST_F(MainWindowTest, BroadcastsReachTheViewsInTheOrderOfRegistration) {
  auto* a = new FakeView(&Log, "a", Form.get());
  auto* b = new FakeView(&Log, "b", Form.get());
  auto* c = new FakeView(&Log, "c", Form.get());
  for (QWidget* view : {static_cast<QWidget*>(b), static_cast<QWidget*>(a), static_cast<QWidget*>(c)})
    Form->RegisterView(view);
  SendMessage(Form->Handle(), UM_STOPPED, 0, 0x1234);
  EXPECT_EQ(Log, std::vector<std::string>({Entry("b", UM_STOPPED, 0x1234), Entry("a", UM_STOPPED, 0x1234),
                                           Entry("c", UM_STOPPED, 0x1234)}));

  Log.clear();
  Form->UnregisterView(a);
  EXPECT_EQ(Form->ViewCount(), 2);
  EXPECT_EQ(Form->ViewHandle(2), 0u);
  SendMessage(Form->Handle(), UM_REFRESH);
  EXPECT_EQ(Log, std::vector<std::string>({Entry("b", UM_REFRESH, 0), Entry("c", UM_REFRESH, 0)}));
}

struct RelayCase {
  unsigned Msg;
  bool Relayed;
};

// Only the state changes the main window handles reach the views through it;
// messages meant for a view's own handler are not re-sent.
TEST_F(MainWindowTest, OnlyRefreshAndStoppedAreReSentToTheViews) {
  const RelayCase cases[] = {{UM_REFRESH, true},      {UM_STOPPED, true},     {UM_TARGETRESET, false},
                             {UM_TRACEINTO, false},   {UM_STEPOVER, false},   {UM_TOGGLEBREAK, false},
                             {UM_GOTOCURSOR, false},  {UM_GO, false},         {UM_CLOSEDIALOG, false},
                             {WM_USER + 9, false},    {WM_USER + 13, false}};
  Form->RegisterView(new FakeView(&Log, "v", Form.get()));
  for (const RelayCase& c : cases) {
    SCOPED_TRACE(c.Msg);
    Log.clear();
    SendMessage(Form->Handle(), c.Msg, 0, 0x55);
    if (c.Relayed)
      EXPECT_EQ(Log, std::vector<std::string>({Entry("v", c.Msg, 0x55)}));
    else
      EXPECT_TRUE(Log.empty());
  }
}

TEST_F(MainWindowTest, ViewListHoldsAHundredHandlesAndNoMore) {
  for (int i = 0; i < 101; ++i) Form->RegisterView(new FakeView(&Log, std::to_string(i), Form.get()));
  EXPECT_EQ(Form->ViewCount(), 100);
  SendMessage(Form->Handle(), UM_REFRESH);
  ASSERT_EQ(Log.size(), 100u);
  EXPECT_EQ(Log.front(), Entry("0", UM_REFRESH, 0));
  EXPECT_EQ(Log.back(), Entry("99", UM_REFRESH, 0));
}

TEST_F(MainWindowTest, RefreshAndClearAllBreakpointsRefreshTheViews) {
  Connect();
  Form->RegisterView(new FakeView(&Log, "v", Form.get()));
  for (int i = 0; i < 16; ++i) TheProtocol->WriteBreak(1, 0x81, 0x100 + i);
  Form->MNU_BreakClearAll->trigger();
  TBreakEntry entry;
  EXPECT_EQ(TheProtocol->ReadBreak(0x81, 0x100, entry), NO_BREAK);
  EXPECT_EQ(TheProtocol->WriteBreak(5, 0x81, 0x200), 0);
  Form->TLB_Refresh->trigger();
  EXPECT_EQ(Log, std::vector<std::string>({Entry("v", UM_REFRESH, 0), Entry("v", UM_REFRESH, 0)}));
}

TEST_F(MainWindowTest, ToolButtonOpensAndClosesItsWindow) {
  Form->SetViewFactory(TViewKind::Regs, Factory("regs"));
  Connect();
  ASSERT_EQ(Form->ViewCount(), 1);  // the CPU window, opened at connection
  Form->TLB_ViewRegs->trigger();
  EXPECT_TRUE(Form->TLB_ViewRegs->isChecked());
  ASSERT_EQ(Form->ViewCount(), 2);
  ASSERT_EQ(Views.size(), 1u);
  FakeView* view = Views[0];
  EXPECT_EQ(Form->ViewHandle(1), view->Handle());

  // View > Registers while it is open only focuses it.
  Form->MNU_ViewRegs->trigger();
  EXPECT_EQ(Form->ViewCount(), 2);

  Form->TLB_ViewRegs->trigger();
  EXPECT_FALSE(Form->TLB_ViewRegs->isChecked());
  QCoreApplication::processEvents();  // UM_VIEWCLOSED is posted
  EXPECT_EQ(Form->ViewCount(), 1);
  EXPECT_TRUE(Views[0].isNull());

  // The menu item opens it again when it is closed.
  Form->MNU_ViewRegs->trigger();
  EXPECT_TRUE(Form->TLB_ViewRegs->isChecked());
  EXPECT_EQ(Form->ViewCount(), 2);
}

TEST_F(MainWindowTest, AViewClosedByTheUserReleasesItsButton) {
  Form->SetViewFactory(TViewKind::Watch, Factory("watch"));
  Form->TLB_ViewWatch->trigger();
  Views.at(0)->close();
  QCoreApplication::processEvents();
  EXPECT_FALSE(Form->TLB_ViewWatch->isChecked());
  EXPECT_EQ(Form->ViewCount(), 0);
}

TEST_F(MainWindowTest, AViewDestroyedDirectlyLeavesTheListAndItsButton) {
  Form->SetViewFactory(TViewKind::Watch, Factory("watch"));
  Form->SetViewFactory(TViewKind::Symbols, Factory("symbols"));
  Form->TLB_ViewWatch->trigger();
  Form->TLB_ViewSym->trigger();
  ASSERT_EQ(Form->ViewCount(), 2);
  ASSERT_EQ(Form->ViewHandle(0), Views.at(0)->Handle());
  delete Views[0];
  EXPECT_EQ(Form->ViewCount(), 1);
  EXPECT_FALSE(Form->TLB_ViewWatch->isChecked());
  EXPECT_TRUE(Form->TLB_ViewSym->isChecked());
  Log.clear();
  SendMessage(Form->Handle(), UM_REFRESH);
  EXPECT_EQ(Log, std::vector<std::string>({Entry("symbols", UM_REFRESH, 0)}));
}

TEST_F(MainWindowTest, AFifthMemoryWindowIsRefused) {
  Form->SetViewFactory(TViewKind::Dump, Factory("dump"));
  for (int i = 0; i < 4; ++i) Form->TLB_ViewDump->trigger();
  EXPECT_EQ(Form->ViewCount(), 4);
  EXPECT_TRUE(Boxes.Messages.empty());
  Form->MNU_ViewDump->trigger();
  EXPECT_EQ(Form->ViewCount(), 4);
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "No more dump windows available");
  EXPECT_EQ(Boxes.Messages[0].Caption, "WARNING");
  EXPECT_EQ(Boxes.Messages[0].Flags, unsigned(MB_OK | MB_ICONWARNING));

  Views.at(1)->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(Form->ViewCount(), 3);
  Form->TLB_ViewDump->trigger();
  EXPECT_EQ(Form->ViewCount(), 4);
  EXPECT_EQ(Boxes.Messages.size(), 1u);
}

TEST_F(MainWindowTest, ShowCpuBringsTheCpuWindowUpOrOpensIt) {
  Form->SetViewFactory(TViewKind::Cpu, [this](TfrmMain& owner) -> QWidget* {
    auto* view = new FakeView(&Log, "cpu", nullptr);
    view->setObjectName(QStringLiteral("frmCpu"));
    QMdiSubWindow* child = owner.MdiArea()->addSubWindow(view);
    child->show();
    return view;
  });
  Connect();
  ASSERT_EQ(Form->MdiArea()->subWindowList().size(), 1);
  Form->TLB_ViewCpu->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(Form->TLB_ViewCpu->isChecked());

  SendMessage(Form->Handle(), UM_SHOWCPU);
  EXPECT_TRUE(Form->TLB_ViewCpu->isChecked());
  EXPECT_EQ(Form->ViewCount(), 1);
  SendMessage(Form->Handle(), UM_SHOWCPU);
  EXPECT_EQ(Form->ViewCount(), 1);
}

TEST_F(MainWindowTest, ViewCpuWhileItIsOpenMakesItTheActiveChild) {
  auto mdiFactory = [this](const char* name) {
    return [this, name](TfrmMain& owner) -> QWidget* {
      auto* view = new FakeView(&Log, name, nullptr);
      view->setObjectName(QString::fromLatin1(name));
      owner.MdiArea()->addSubWindow(view)->show();
      return view;
    };
  };
  Form->SetViewFactory(TViewKind::Cpu, mdiFactory("frmCpu"));
  Form->SetViewFactory(TViewKind::DbgProt, mdiFactory("frmDbgProt"));
  Form->show();
  Connect();
  Form->TLB_DbgProt->trigger();
  ASSERT_EQ(Form->MdiArea()->subWindowList().size(), 2);
  Form->MdiArea()->setActiveSubWindow(Form->MdiArea()->subWindowList().at(1));
  ASSERT_EQ(Form->MdiArea()->activeSubWindow()->widget()->objectName(), QStringLiteral("frmDbgProt"));
  Form->MNU_ViewCpu->trigger();
  ASSERT_NE(Form->MdiArea()->activeSubWindow(), nullptr);
  EXPECT_EQ(Form->MdiArea()->activeSubWindow()->widget()->objectName(), QStringLiteral("frmCpu"));
  EXPECT_EQ(Form->ViewCount(), 2);
}

TEST_F(MainWindowTest, SourceWindowNeedsDebugInformation) {
  Form->SetViewFactory(TViewKind::Source, Factory("source"));
  Connect();
  for (QAction* command : {Form->MNU_ViewSource, Form->TLB_ViewSource}) {
    command->trigger();
    EXPECT_FALSE(Form->TLB_ViewSource->isChecked());
  }
  EXPECT_EQ(Form->ViewCount(), 1);  // the CPU window alone
  EXPECT_TRUE(Views.empty());
  ASSERT_EQ(Boxes.Messages.size(), 2u);
  EXPECT_EQ(Boxes.Messages[1].Text, "No source files available !");
  EXPECT_EQ(Boxes.Messages[1].Caption, "ERROR");
  EXPECT_EQ(Boxes.Messages[1].Flags, unsigned(MB_OK | MB_ICONSTOP));
}

}  // namespace
