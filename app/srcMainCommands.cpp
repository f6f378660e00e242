// The menus and the tool bar of the main window, made from one table, and
// the rule that enables each of their commands.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <optional>
#include <utility>

#include "Configuration.h"
#include "Tgtz80.h"
#include "ToolGlyphs.h"
#include "srcMain.h"

namespace {

constexpr int NoGlyph = -1;

// One action: where it goes (a menu, or the tool bar when Menu is null, after
// a separator when Separated), how it looks, and what makes it work: a view
// kind, a command, or neither (it has no action then, and is enabled when
// Inert is false).
struct TActionRow {
  QAction* TfrmMain::*Member;
  const char* Name;
  const char* Text;  // the menu text, or the button's hint
  QKeySequence Shortcut;
  int Glyph;
  QMenu* TfrmMain::*Menu;
  bool Separated;
  std::optional<TViewKind> View;
  std::optional<TCommand> Command;
  bool Inert = false;
};

struct TMenuRow {
  QMenu* TfrmMain::*Member;
  const char* Name;
  const char* Text;
  QMenu* TfrmMain::*Parent;  // null: the menu bar
  bool Separated;
  bool Visible;
};

using M = TfrmMain;
using V = TViewKind;
using C = TCommand;

const TMenuRow menuRows[] = {
    {&M::MNU_File, "MNU_File", "&File", nullptr, false, true},
    {&M::MNU_View, "MNU_View", "&View", nullptr, false, true},
    {&M::MNU_ViewTarget, "MNU_ViewTarget", "T&arget", &M::MNU_View, true, true},
    {&M::MNU_Run, "MNU_Run", "&Run", nullptr, false, true},
    {&M::MNU_Breakpoints, "MNU_Breakpoints", "&Breakpoints", nullptr, false, true},
    {&M::MNU_Configure, "MNU_Configure", "&Configure", nullptr, false, true},
    {&M::MNU_ConfigureMemory, "MNU_ConfigureMemory", "&Memory", &M::MNU_Configure, false, true},
    // Kept from the form but never shown, so none of their items can be reached.
    {&M::MNU_Options, "MNU_Options", "&Options", nullptr, false, false},
    {&M::MNU_Window, "MNU_Window", "&Window", nullptr, false, false},
};

QKeySequence Key(QKeyCombination key) { return QKeySequence(key); }

std::vector<TActionRow> MakeRows() {
  const QKeySequence none;
  return {
      {&M::MNU_FileOpen, "MNU_FileOpen", "&Open...", none, NoGlyph, &M::MNU_File, false, {}, C::FileOpen},
      {&M::MNU_FileReload, "MNU_FileReload", "&Reload", none, NoGlyph, &M::MNU_File, false, {}, C::FileReload},
      {&M::MNU_FileSymbol, "MNU_FileSymbol", "S&ymbol load...", none, NoGlyph, &M::MNU_File, false, {}, C::FileSymbol},
      {&M::MNU_UnasmToFile, "MNU_UnasmToFile", "&Unasm to file...", none, NoGlyph, &M::MNU_File, false, {},
       C::UnasmToFile},
      {&M::MNU_FileExit, "MNU_FileExit", "E&xit", Key(Qt::ALT | Qt::Key_X), NoGlyph, &M::MNU_File, true, {},
       C::FileExit},

      {&M::MNU_ViewCpu, "MNU_ViewCpu", "&Cpu", none, NoGlyph, &M::MNU_View, false, V::Cpu, {}},
      {&M::MNU_ViewDump, "MNU_ViewDump", "&Dump", none, NoGlyph, &M::MNU_View, false, V::Dump, {}},
      {&M::MNU_ViewRegs, "MNU_ViewRegs", "&Registers", none, NoGlyph, &M::MNU_View, false, V::Regs, {}},
      {&M::MNU_ViewSRegs, "MNU_ViewSRegs", "S&pecials", none, NoGlyph, &M::MNU_View, false, V::SRegs, {}},
      {&M::MNU_ViewWatch, "MNU_ViewWatch", "&Watch", none, NoGlyph, &M::MNU_View, false, V::Watch, {}},
      {&M::MNU_ViewVars, "MNU_ViewVars", "&Variables", none, NoGlyph, &M::MNU_View, false, V::Symbols, {}},
      {&M::MNU_ViewSource, "MNU_ViewSource", "&Module...", Key(Qt::Key_F3), NoGlyph, &M::MNU_View, false,
       V::Source, {}},
      {&M::MNU_ViewTrace, "MNU_ViewTrace", "&Trace", none, NoGlyph, &M::MNU_View, false, V::Trace, {}},
      {&M::MNU_ViewReadFrom, "MNU_ViewReadFrom", "&Read from...", none, NoGlyph, &M::MNU_ViewTarget, false, {},
       C::ViewReadFrom},
      {&M::MNU_ViewWriteTo, "MNU_ViewWriteTo", "&Write to...", none, NoGlyph, &M::MNU_ViewTarget, false, {},
       C::ViewWriteTo},

      {&M::MNU_RunGo, "MNU_RunGo", "&Go", Key(Qt::Key_F9), NoGlyph, &M::MNU_Run, false, {}, C::RunGo},
      {&M::MNU_RunGoFrom, "MNU_RunGoFrom", "Go &from...", Key(Qt::ALT | Qt::Key_F9), NoGlyph, &M::MNU_Run, false,
       {}, C::RunGoFrom},
      {&M::MNU_RunResetGo, "MNU_RunResetGo", "R&eset && go", Key(Qt::CTRL | Qt::Key_F9), NoGlyph, &M::MNU_Run,
       false, {}, C::RunResetGo},
      {&M::MNU_RunAssemblerStep, "MNU_RunAssemblerStep", "Assembler step", Key(Qt::CTRL | Qt::Key_F7), NoGlyph,
       &M::MNU_Run, true, {}, C::RunAssemblerStep},
      {&M::MNU_RunTraceInto, "MNU_RunTraceInto", "&Trace into", Key(Qt::Key_F7), NoGlyph, &M::MNU_Run, false, {},
       C::RunTraceInto},
      {&M::MNU_RunStepOver, "MNU_RunStepOver", "&Step over", Key(Qt::Key_F8), NoGlyph, &M::MNU_Run, false, {},
       C::RunStepOver},
      {&M::MNU_RunAutoTraceInto, "MNU_RunAutoTraceInto", "Auto trace into", Key(Qt::ALT | Qt::Key_F7), NoGlyph,
       &M::MNU_Run, true, {}, C::RunAutoTraceInto},
      {&M::MNU_RunAutoStepOver, "MNU_RunAutoStepOver", "Auto step over", Key(Qt::ALT | Qt::Key_F8), NoGlyph,
       &M::MNU_Run, false, {}, C::RunAutoStepOver},
      {&M::MNU_RunGoToAddress, "MNU_RunGoToAddress", "G&oTo address...", Key(Qt::ALT | Qt::Key_F4), NoGlyph,
       &M::MNU_Run, true, {}, C::RunGoToAddress},
      {&M::MNU_RunGoToCursor, "MNU_RunGoToCursor", "GoTo &cursor", Key(Qt::Key_F4), NoGlyph, &M::MNU_Run, false,
       {}, C::RunGoToCursor},
      {&M::MNU_RunReset, "MNU_RunReset", "&Reset", Key(Qt::CTRL | Qt::Key_F2), NoGlyph, &M::MNU_Run, true, {},
       C::RunReset},

      {&M::MNU_BreakToggle, "MNU_BreakToggle", "&Toggle break", Key(Qt::Key_F2), NoGlyph, &M::MNU_Breakpoints,
       false, {}, C::BreakToggle},
      {&M::MNU_BreakClearAll, "MNU_BreakClearAll", "&Clear all", none, NoGlyph, &M::MNU_Breakpoints, false, {},
       C::BreakClearAll},

      {&M::MNU_ConfigureTrace, "MNU_ConfigureTrace", "&Trace...", none, NoGlyph, &M::MNU_Configure, false, {},
       C::ConfigureTrace},
      {&M::MNU_ConfigureCpu, "MNU_ConfigureCpu", "&Cpu...", none, NoGlyph, &M::MNU_Configure, false, {},
       C::ConfigureCpu},
      {&M::MNU_ConfigureExternals, "MNU_ConfigureExternals", "&Externals...", none, NoGlyph, &M::MNU_Configure,
       false, {}, C::ConfigureExternals},

      {&M::MNU_OptionsDisplay, "MNU_OptionsDisplay", "&Display options...", none, NoGlyph, &M::MNU_Options, false,
       {}, C::OptionsDisplay},
      {nullptr, "", "&Change colours...", none, NoGlyph, &M::MNU_Options, false, {}, {}, true},
      {nullptr, "", "&Reload options...", none, NoGlyph, &M::MNU_Options, false, {}, {}, true},
      {nullptr, "", "Restart &options...", none, NoGlyph, &M::MNU_Options, false, {}, {}, true},
      {nullptr, "", "Zoom", Key(Qt::Key_F5), NoGlyph, &M::MNU_Window, false, {}, {}, true},
      {nullptr, "", "Resize", Key(Qt::CTRL | Qt::Key_F5), NoGlyph, &M::MNU_Window, false, {}, {}, true},
      {nullptr, "", "Next", Key(Qt::Key_F6), NoGlyph, &M::MNU_Window, false, {}, {}, true},
      {nullptr, "", "Close", Key(Qt::ALT | Qt::Key_F3), NoGlyph, &M::MNU_Window, false, {}, {}, true},

      {&M::TLB_Open, "TLB_Open", "Open program", none, 0, nullptr, false, {}, C::FileOpen},
      {&M::TLB_Reload, "TLB_Reload", "Reload last program", none, 1, nullptr, false, {}, C::FileReload},
      {&M::TLB_ToggleBreak, "TLB_ToggleBreak", "Toggle break point", none, 2, nullptr, true, {}, C::BreakToggle},
      {&M::TLB_ClearBreaks, "TLB_ClearBreaks", "Remove all breaks", none, 3, nullptr, false, {}, C::BreakClearAll},
      {&M::TLB_GoToCursor, "TLB_GoToCursor", "Run to cursor position", none, 4, nullptr, true, {},
       C::RunGoToCursor},
      {&M::TLB_StepInto, "TLB_StepInto", "Step into call", none, 5, nullptr, false, {}, C::RunTraceInto},
      {&M::TLB_AsmTrace, "TLB_AsmTrace", "Assembler step into call", none, 6, nullptr, false, {},
       C::RunAssemblerStep},
      {&M::TLB_StepOver, "TLB_StepOver", "Step over call", none, 7, nullptr, false, {}, C::RunStepOver},
      {&M::TLB_Go, "TLB_Go", "Start execution", none, 8, nullptr, false, {}, C::RunGo},
      {&M::TLB_Halt, "TLB_Halt", "Halt execution", none, 9, nullptr, false, {}, {}},
      {&M::TLB_Reset, "TLB_Reset", "Reset CPU", none, 10, nullptr, false, {}, C::RunReset},
      {&M::TLB_ViewDump, "TLB_ViewDump", "Open new memory window", none, 11, nullptr, true, V::Dump, {}},
      {&M::TLB_ViewSource, "TLB_ViewSource", "Toggle source window", none, 12, nullptr, false, V::Source, {}},
      {&M::TLB_ViewCpu, "TLB_ViewCpu", "Toggle CPU window", none, 13, nullptr, false, V::Cpu, {}},
      {&M::TLB_ViewRegs, "TLB_ViewRegs", "Toggle Registers Window", none, 14, nullptr, false, V::Regs, {}},
      {&M::TLB_ViewSRegs, "TLB_ViewSRegs", "Toggle special regs window", none, 15, nullptr, false, V::SRegs, {}},
      {&M::TLB_ViewSym, "TLB_ViewSym", "Toggle Symbols Window", none, 16, nullptr, false, V::Symbols, {}},
      {&M::TLB_ViewTrace, "TLB_ViewTrace", "Toggle TRACE Window", none, 17, nullptr, false, V::Trace, {}},
      {&M::TLB_ViewWatch, "TLB_ViewWatch", "Toggle WATCH window", none, 18, nullptr, false, V::Watch, {}},
      {&M::TLB_Refresh, "TLB_Refresh", "Refresh all Windows", none, 19, nullptr, true, {}, C::Refresh},
      {&M::TLB_About, "TLB_About", "Show program informations", none, 20, nullptr, false, {}, C::About},
      {&M::TLB_DbgProt, "TLB_DbgProt", "", none, 21, nullptr, false, V::DbgProt, {}},
  };
}

const std::vector<TActionRow>& Rows() {
  static const std::vector<TActionRow> rows = MakeRows();
  return rows;
}

// The view buttons are check buttons: a click turns them down or up before
// their handler runs.
bool Checkable(const TActionRow& row) { return row.Glyph != NoGlyph && row.View && *row.View != TViewKind::Dump; }

}  // namespace

void TfrmMain::CreateCommands() {
  for (const TMenuRow& row : menuRows) {
    auto* menu = new QMenu(QString::fromLatin1(row.Text), this);
    menu->setObjectName(QString::fromLatin1(row.Name));
    menu->menuAction()->setObjectName(QString::fromLatin1(row.Name));
    this->*row.Member = menu;
  }
  MNU_ConfigureMemory->menuAction()->setData(0);

  ToolBar = addToolBar(QStringLiteral("ToolBar"));
  ToolBar->setObjectName(QStringLiteral("ToolBar"));
  ToolBar->setMovable(false);
  ToolBar->setIconSize(QSize(18, 18));
  // The frame offers no menu that hides its tool bar: nothing could bring it back.
  setContextMenuPolicy(Qt::NoContextMenu);

  for (const TActionRow& row : Rows()) {
    auto* action = row.Glyph == NoGlyph ? new QAction(QString::fromLatin1(row.Text), this)
                                        : new QAction(ToolGlyph(row.Glyph), QString::fromLatin1(row.Text), this);
    action->setObjectName(QString::fromLatin1(row.Name));
    action->setShortcut(row.Shortcut);
    action->setCheckable(Checkable(row));
    if (row.Glyph != NoGlyph) action->setToolTip(QString::fromLatin1(row.Text));
    if (row.Member) this->*row.Member = action;
    if (row.Menu) {
      if (row.Separated) (this->*row.Menu)->addSeparator();
      (this->*row.Menu)->addAction(action);
    } else {
      if (row.Separated) ToolBar->addSeparator();
      ToolBar->addAction(action);
      ToolBar->widgetForAction(action)->setFixedSize(26, 27);
    }
    if (row.Inert) {
      action->setEnabled(false);
    } else if (row.View) {
      const TViewKind kind = *row.View;
      FViewOf[action] = kind;
      if (kind == TViewKind::Dump)
        connect(action, &QAction::triggered, this, &TfrmMain::ViewDumpClick);
      else if (row.Glyph != NoGlyph)
        connect(action, &QAction::triggered, this, [this, kind] { ViewButtonClick(kind); });
      else
        connect(action, &QAction::triggered, this, [this, kind] { ViewMenuClick(kind); });
    } else if (row.Command) {
      const TCommand command = *row.Command;
      FCommandOf[action] = command;
      connect(action, &QAction::triggered, this, [this, command, action] { RunCommand(command, action); });
    }
  }

  for (const TMenuRow& row : menuRows) {
    QMenu* menu = this->*row.Member;
    QWidget* parent = row.Parent ? static_cast<QWidget*>(this->*row.Parent) : menuBar();
    if (row.Separated) (this->*row.Parent)->addSeparator();
    parent->addAction(menu->menuAction());
    menu->menuAction()->setVisible(row.Visible);
  }

  SetCommandHandler(TCommand::FileExit, [this](QAction*) { FileExitClick(); });
  SetCommandHandler(TCommand::BreakClearAll, [this](QAction*) { BreakClearAllClick(); });
  SetCommandHandler(TCommand::Refresh, [this](QAction*) { BroadcastToViews(UM_REFRESH, 0, 0); });
  if (TheCpu->SRegsCount == 0) {
    SetLacking(TLB_ViewSRegs);
    SetLacking(MNU_ViewSRegs);
  }
  UpdateCommands();
}

QAction* TfrmMain::ViewButton(TViewKind kind) const {
  for (const TActionRow& row : Rows())
    if (row.View == kind && row.Glyph != NoGlyph) return this->*row.Member;
  return nullptr;
}

QAction* TfrmMain::ViewMenuItem(TViewKind kind) const {
  for (const TActionRow& row : Rows())
    if (row.View == kind && row.Glyph == NoGlyph) return this->*row.Member;
  return nullptr;
}

std::vector<QAction*> TfrmMain::CommandActions(TCommand command) const {
  std::vector<QAction*> actions;
  for (const auto& [action, of] : FCommandOf)
    if (of == command) actions.push_back(action);
  return actions;
}

void TfrmMain::SetViewFactory(TViewKind kind, TViewFactory factory) {
  FFactories[kind] = std::move(factory);
  for (QAction* command : {ViewButton(kind), ViewMenuItem(kind)})
    if (command) UpdateCommand(command);
}

void TfrmMain::SetCommandHandler(TCommand command, TCommandHandler handler) {
  FHandlers[command] = std::move(handler);
  for (QAction* action : CommandActions(command)) UpdateCommand(action);
}

void TfrmMain::RunCommand(TCommand command, QAction* sender) {
  auto handler = FHandlers.find(command);
  if (handler != FHandlers.end() && handler->second) handler->second(sender);
}

void TfrmMain::SetLacking(QAction* action) {
  FLacking.insert(action);
  UpdateCommand(action);
}

void TfrmMain::UpdateCommand(QAction* action) {
  bool built = true;
  if (auto view = FViewOf.find(action); view != FViewOf.end()) {
    auto factory = FFactories.find(view->second);
    built = factory != FFactories.end() && factory->second;
  } else if (auto command = FCommandOf.find(action); command != FCommandOf.end()) {
    auto handler = FHandlers.find(command->second);
    built = handler != FHandlers.end() && handler->second;
  }
  const bool heldByBusy = FBusy && ToolBar->widgetForAction(action) && action != TLB_About;
  action->setEnabled(built && !FLacking.count(action) && !heldByBusy);
}

void TfrmMain::UpdateCommands() {
  for (const auto& [action, kind] : FViewOf) UpdateCommand(action);
  for (const auto& [action, command] : FCommandOf) UpdateCommand(action);
  UpdateCommand(TLB_Halt);
}
