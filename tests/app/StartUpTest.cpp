#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "MainWindowFixture.h"

namespace {

struct ButtonCase {
  const char* Name;
  const char* Hint;
  bool Check;
};

const ButtonCase Buttons[] = {
    {"TLB_Open", "Open program", false},
    {"TLB_Reload", "Reload last program", false},
    {"TLB_ToggleBreak", "Toggle break point", false},
    {"TLB_ClearBreaks", "Remove all breaks", false},
    {"TLB_GoToCursor", "Run to cursor position", false},
    {"TLB_StepInto", "Step into call", false},
    {"TLB_AsmTrace", "Assembler step into call", false},
    {"TLB_StepOver", "Step over call", false},
    {"TLB_Go", "Start execution", false},
    {"TLB_Halt", "Halt execution", false},
    {"TLB_Reset", "Reset CPU", false},
    {"TLB_ViewDump", "Open new memory window", false},
    {"TLB_ViewSource", "Toggle source window", true},
    {"TLB_ViewCpu", "Toggle CPU window", true},
    {"TLB_ViewRegs", "Toggle Registers Window", true},
    {"TLB_ViewSRegs", "Toggle special regs window", true},
    {"TLB_ViewSym", "Toggle Symbols Window", true},
    {"TLB_ViewTrace", "Toggle TRACE Window", true},
    {"TLB_ViewWatch", "Toggle WATCH window", true},
    {"TLB_Refresh", "Refresh all Windows", false},
    {"TLB_About", "Show program informations", false},
    {"TLB_DbgProt", "", true},
};

TEST_F(MainWindowTest, StartsDisabledWaitingWithAnHourGlass) {
  EXPECT_FALSE(Form->isEnabled());
  EXPECT_EQ(Form->StatusText(), QStringLiteral("WAIT...."));
  EXPECT_EQ(Form->cursor().shape(), Qt::WaitCursor);
  EXPECT_FALSE(Form->Connected());
  EXPECT_FALSE(Form->Busy());
  EXPECT_EQ(Form->ViewCount(), 0);
  EXPECT_EQ(Form->windowTitle(), QStringLiteral("OSTREL Corvane"));
  EXPECT_EQ(Form->size(), QSize(733, 496));
  EXPECT_EQ(Form->minimumSize(), QSize(608, 490));
  EXPECT_EQ(MainForm(), Form->Handle());
}

TEST_F(MainWindowTest, ToolBarHoldsTheTwentyTwoButtonsInOrder) {
  QList<QAction*> actions;
  for (QAction* action : Form->ToolBar->actions())
    if (!action->isSeparator()) actions += action;
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(Buttons)));
  for (std::size_t i = 0; i < std::size(Buttons); ++i) {
    const ButtonCase& b = Buttons[i];
    SCOPED_TRACE(b.Name);
    EXPECT_EQ(actions[static_cast<qsizetype>(i)]->objectName(), QString::fromLatin1(b.Name));
    EXPECT_EQ(actions[static_cast<qsizetype>(i)]->toolTip(), QString::fromLatin1(b.Hint));
    EXPECT_EQ(actions[static_cast<qsizetype>(i)]->isCheckable(), b.Check);
    EXPECT_FALSE(actions[static_cast<qsizetype>(i)]->isChecked());
    EXPECT_EQ(Form->ToolBar->widgetForAction(actions[static_cast<qsizetype>(i)])->size(), QSize(26, 27));
  }
  EXPECT_EQ(Form->ToolBar->iconSize(), QSize(18, 18));
}

struct ItemCase {
  const char* Menu;
  const char* Name;
  const char* Text;
  QKeySequence Shortcut;
};

TEST_F(MainWindowTest, MenusHoldTheirItemsWithTextsAndShortcuts) {
  const ItemCase items[] = {
      {"MNU_File", "MNU_FileOpen", "&Open...", {}},
      {"MNU_File", "MNU_FileReload", "&Reload", {}},
      {"MNU_File", "MNU_FileSymbol", "S&ymbol load...", {}},
      {"MNU_File", "MNU_UnasmToFile", "&Unasm to file...", {}},
      {"MNU_File", "MNU_FileExit", "E&xit", QKeySequence(Qt::ALT | Qt::Key_X)},
      {"MNU_View", "MNU_ViewCpu", "&Cpu", {}},
      {"MNU_View", "MNU_ViewDump", "&Dump", {}},
      {"MNU_View", "MNU_ViewRegs", "&Registers", {}},
      {"MNU_View", "MNU_ViewSRegs", "S&pecials", {}},
      {"MNU_View", "MNU_ViewWatch", "&Watch", {}},
      {"MNU_View", "MNU_ViewVars", "&Variables", {}},
      {"MNU_View", "MNU_ViewSource", "&Module...", QKeySequence(Qt::Key_F3)},
      {"MNU_View", "MNU_ViewTrace", "&Trace", {}},
      {"MNU_ViewTarget", "MNU_ViewReadFrom", "&Read from...", {}},
      {"MNU_ViewTarget", "MNU_ViewWriteTo", "&Write to...", {}},
      {"MNU_Run", "MNU_RunGo", "&Go", QKeySequence(Qt::Key_F9)},
      {"MNU_Run", "MNU_RunGoFrom", "Go &from...", QKeySequence(Qt::ALT | Qt::Key_F9)},
      {"MNU_Run", "MNU_RunResetGo", "R&eset && go", QKeySequence(Qt::CTRL | Qt::Key_F9)},
      {"MNU_Run", "MNU_RunAssemblerStep", "Assembler step", QKeySequence(Qt::CTRL | Qt::Key_F7)},
      {"MNU_Run", "MNU_RunTraceInto", "&Trace into", QKeySequence(Qt::Key_F7)},
      {"MNU_Run", "MNU_RunStepOver", "&Step over", QKeySequence(Qt::Key_F8)},
      {"MNU_Run", "MNU_RunAutoTraceInto", "Auto trace into", QKeySequence(Qt::ALT | Qt::Key_F7)},
      {"MNU_Run", "MNU_RunAutoStepOver", "Auto step over", QKeySequence(Qt::ALT | Qt::Key_F8)},
      {"MNU_Run", "MNU_RunGoToAddress", "G&oTo address...", QKeySequence(Qt::ALT | Qt::Key_F4)},
      {"MNU_Run", "MNU_RunGoToCursor", "GoTo &cursor", QKeySequence(Qt::Key_F4)},
      {"MNU_Run", "MNU_RunReset", "&Reset", QKeySequence(Qt::CTRL | Qt::Key_F2)},
      {"MNU_Breakpoints", "MNU_BreakToggle", "&Toggle break", QKeySequence(Qt::Key_F2)},
      {"MNU_Breakpoints", "MNU_BreakClearAll", "&Clear all", {}},
      {"MNU_Configure", "MNU_ConfigureTrace", "&Trace...", {}},
      {"MNU_Configure", "MNU_ConfigureCpu", "&Cpu...", {}},
      {"MNU_Configure", "MNU_ConfigureExternals", "&Externals...", {}},
      {"MNU_Configure", "MNU_ConfigureMemory", "&Memory", {}},
  };
  for (const ItemCase& item : items) {
    SCOPED_TRACE(item.Name);
    auto* menu = Form->findChild<QMenu*>(QString::fromLatin1(item.Menu));
    ASSERT_NE(menu, nullptr);
    QAction* found = nullptr;
    for (QAction* action : menu->actions())
      if (action->objectName() == QLatin1String(item.Name)) found = action;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->text(), QString::fromLatin1(item.Text));
    EXPECT_EQ(found->shortcut(), item.Shortcut);
  }
}

TEST_F(MainWindowTest, OptionsAndWindowMenusAreHidden) {
  QStringList visible;
  for (QAction* action : Form->menuBar()->actions())
    if (action->isVisible()) visible += action->objectName();
  EXPECT_EQ(visible, QStringList({"MNU_File", "MNU_View", "MNU_Run", "MNU_Breakpoints", "MNU_Configure"}));
}

TEST_F(MainWindowTest, CommandsOfWindowsNotBuiltStayDisabled) {
  // Without the units that carry them out.
  for (TCommand command : {TCommand::FileOpen, TCommand::RunGo, TCommand::RunReset, TCommand::About})
    Form->SetCommandHandler(command, nullptr);
  for (QAction* command : {Form->TLB_Open, Form->TLB_Go, Form->TLB_About, Form->MNU_RunReset, Form->MNU_FileOpen})
    EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();
  for (QAction* command : {Form->TLB_ClearBreaks, Form->TLB_Refresh, Form->TLB_Halt, Form->MNU_FileExit,
                           Form->MNU_BreakClearAll, Form->TLB_ViewCpu, Form->MNU_ViewCpu})
    EXPECT_TRUE(command->isEnabled()) << command->objectName().toStdString();

  Form->SetViewFactory(TViewKind::Regs, Factory("regs"));
  EXPECT_TRUE(Form->TLB_ViewRegs->isEnabled());
  EXPECT_TRUE(Form->MNU_ViewRegs->isEnabled());
  Form->SetViewFactory(TViewKind::Regs, nullptr);
  EXPECT_FALSE(Form->TLB_ViewRegs->isEnabled());
}

TEST_F(MainWindowTest, SpecialRegisterCommandsStayOffWithoutSpecialRegisters) {
  Form->SetViewFactory(TViewKind::SRegs, Factory("sregs"));
  EXPECT_FALSE(Form->TLB_ViewSRegs->isEnabled());
  EXPECT_FALSE(Form->MNU_ViewSRegs->isEnabled());
  SendMessage(Form->Handle(), UM_DISABLECOMMANDS);
  SendMessage(Form->Handle(), UM_ENABLECOMMANDS);
  EXPECT_FALSE(Form->TLB_ViewSRegs->isEnabled());
}

}  // namespace
