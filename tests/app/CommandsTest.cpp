#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

#include "MainWindowFixture.h"
#include "Tgtz80.h"

namespace {

struct EnablingCase {
  bool TargetHasTrace;
  bool BuiltAfterConnecting;
  bool Enabled;
};

class CommandEnabling : public MainWindowTest, public ::testing::WithParamInterface<EnablingCase> {
 protected:
  void Prepare() override {
    if (GetParam().TargetHasTrace) ProtocolScript().Trace = {1, 2, 3};
  }
  void Build() {
    Form->SetViewFactory(TViewKind::Trace, Factory("trace"));
    Form->SetCommandHandler(TCommand::ConfigureTrace, [](QAction*) {});
  }
};

// What carries a command out enables it, but never past what the target offers.
TEST_P(CommandEnabling, FollowsWhatIsBuiltAndWhatTheTargetOffers) {
  Form->SetViewFactory(TViewKind::Trace, nullptr);
  Form->SetCommandHandler(TCommand::ConfigureTrace, nullptr);
  if (!GetParam().BuiltAfterConnecting) Build();
  Connect();
  if (GetParam().BuiltAfterConnecting) Build();
  for (QAction* command : {Form->TLB_ViewTrace, Form->MNU_ViewTrace, Form->MNU_ConfigureTrace})
    EXPECT_EQ(command->isEnabled(), GetParam().Enabled) << command->objectName().toStdString();
  SendBeginBusy("Loading");
  SendMessage(Form->Handle(), UM_ENDBUSY);
  EXPECT_EQ(Form->TLB_ViewTrace->isEnabled(), GetParam().Enabled);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, CommandEnabling,
                         ::testing::Values(EnablingCase{false, false, false}, EnablingCase{false, true, false},
                                           EnablingCase{true, false, true}, EnablingCase{true, true, true}));

TEST_F(MainWindowTest, AHandlerEnablesItsMenuItemAndButtonButNotWhileBusy) {
  std::vector<QAction*> senders;
  Form->SetCommandHandler(TCommand::FileOpen, nullptr);
  Connect();
  EXPECT_FALSE(Form->TLB_Open->isEnabled());
  SendBeginBusy("Loading");
  Form->SetCommandHandler(TCommand::FileOpen, [&](QAction* sender) { senders.push_back(sender); });
  EXPECT_FALSE(Form->TLB_Open->isEnabled());
  SendMessage(Form->Handle(), UM_ENDBUSY);
  EXPECT_TRUE(Form->TLB_Open->isEnabled());
  Form->MNU_FileOpen->trigger();
  Form->TLB_Open->trigger();
  EXPECT_EQ(senders, (std::vector<QAction*>{Form->MNU_FileOpen, Form->TLB_Open}));
  Form->SetCommandHandler(TCommand::FileOpen, nullptr);
  EXPECT_FALSE(Form->MNU_FileOpen->isEnabled());
}

class MemoryAreas : public MainWindowTest {
  void Prepare() override {
    const char areas[] = "\x10\x00" "CODE\0ROM\0\x01\x00" "DATA\0A\0\x02\x01";
    ProtocolScript().Areas.assign(areas, areas + sizeof areas);
  }
};

TEST_F(MemoryAreas, AreaItemsWaitForTheirHandlerAndTellItTheArea) {
  std::vector<int> opened;
  Form->SetCommandHandler(TCommand::ConfigureMemory, nullptr);
  Connect();
  const QList<QAction*> items = Form->MNU_ConfigureMemory->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_FALSE(items[1]->isEnabled());
  Form->SetCommandHandler(TCommand::ConfigureMemory, [&](QAction* sender) { opened.push_back(sender->data().toInt()); });
  EXPECT_TRUE(items[1]->isEnabled());
  items[1]->trigger();
  EXPECT_EQ(opened, std::vector<int>{1});
}

TEST_F(MainWindowTest, EveryMainWindowRunsTheInstallersOfTheWindowUnits) {
  // Stays installed for the windows of later tests, so it changes none.
  static std::vector<TfrmMain*> installedInto;
  TfrmMain::AddWindowUnit([](TfrmMain& main) { installedInto.push_back(&main); });
  TfrmMain second;
  EXPECT_EQ(installedInto, std::vector<TfrmMain*>{&second});
  EXPECT_TRUE(second.TLB_About->isEnabled());  // installed by the about box's own unit
}

// A window that reads the engine when it goes, as a view keeping its state might.
class EngineReadingView : public FakeView {
 public:
  EngineReadingView(std::vector<std::string>* log, QWidget* owner) : FakeView(log, "reader", owner), Log(log) {}
  ~EngineReadingView() override {
    Log->push_back(TheConfiguration ? "engine there" : "engine gone");
    if (TheConfiguration) TheCpu->GetPC();
  }

 private:
  std::vector<std::string>* Log;
};

TEST_F(MainWindowTest, WindowsOpenAtTheEndGoBeforeTheEngine) {
  Form->SetViewFactory(TViewKind::Regs, [this](TfrmMain& owner) -> QWidget* {
    auto* view = new EngineReadingView(&Log, &owner);
    view->show();
    return view;
  });
  Connect();
  Form->TLB_ViewRegs->trigger();
  ASSERT_EQ(Form->ViewCount(), 2);  // and the CPU window
  Log.clear();
  TheConfiguration = Holder.release();
  EndProgram(Form.release());
  EXPECT_EQ(Log, std::vector<std::string>{"engine there"});
  EXPECT_EQ(TheConfiguration, nullptr);
}

TEST_F(MainWindowTest, TheToolBarHasNoMenuThatHidesIt) {
  Connect();
  Form->show();
  const QPoint at = Form->ToolBar->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, Form->ToolBar->mapToGlobal(at));
  QApplication::sendEvent(Form->ToolBar, &event);
  QCoreApplication::processEvents();
  for (const QMenu* menu : Form->findChildren<QMenu*>())
    EXPECT_FALSE(menu->isVisible() && menu->actions().contains(Form->ToolBar->toggleViewAction()));
}

// The darkest grey level among the pixels of what the widget paints.
int Darkest(QWidget* widget) {
  const QImage image = widget->grab().toImage();
  int darkest = 255;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
  return darkest;
}

TEST_F(MainWindowTest, WhatTheUserReadsWhileWaitingAndWhatIsOffLooksSo) {
  Form->show();
  ASSERT_FALSE(Form->isEnabled());
  EXPECT_LT(Darkest(Form->StatusPanel), 80);  // "WAIT...." in dark text

  Connect();
  Form->SetViewFactory(TViewKind::Watch, nullptr);
  QWidget* off = Form->ToolBar->widgetForAction(Form->TLB_ViewWatch);
  QWidget* on = Form->ToolBar->widgetForAction(Form->TLB_ViewRegs);
  Form->SetViewFactory(TViewKind::Regs, Factory("regs"));
  EXPECT_LT(Darkest(on), 80);
  EXPECT_GT(Darkest(off), 120);
}

class EveryWindowAtTheEnd : public MainWindowTest {
  void Prepare() override { ProtocolScript().Trace = {1, 2, 3}; }
};

// Every window the program has, left open when the program ends.
TEST_F(EveryWindowAtTheEnd, GoesBeforeTheEngine) {
  Connect();
  for (QAction* button : {Form->TLB_ViewDump, Form->TLB_ViewSource, Form->TLB_ViewRegs, Form->TLB_ViewSRegs,
                          Form->TLB_ViewSym, Form->TLB_ViewTrace, Form->TLB_ViewWatch, Form->TLB_DbgProt})
    if (button->isEnabled() && !button->isChecked()) button->trigger();
  EXPECT_GE(Form->ViewCount(), 2);
  TheConfiguration = Holder.release();
  EndProgram(Form.release());
  EXPECT_EQ(TheConfiguration, nullptr);
}

}  // namespace
