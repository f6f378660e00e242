#pragma once
#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "MessageBus.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
class TBusyInputGuard;
class TConfiguration;
class TPopupMsg;

// The kinds of view window the main window opens, lists and closes.
enum class TViewKind { Cpu, Source, Regs, SRegs, Symbols, Trace, Watch, DbgProt, Dump };

// The commands of the menus and the tool bar that are not views. A tool
// button and the menu item of the same command run one handler.
enum class TCommand {
  FileOpen,            // MNU_FileOpen, TLB_Open
  FileReload,          // MNU_FileReload, TLB_Reload
  FileSymbol,          // MNU_FileSymbol
  UnasmToFile,         // MNU_UnasmToFile
  ViewReadFrom,        // MNU_ViewReadFrom
  ViewWriteTo,         // MNU_ViewWriteTo
  RunGo,               // MNU_RunGo, TLB_Go
  RunGoFrom,           // MNU_RunGoFrom
  RunResetGo,          // MNU_RunResetGo
  RunAssemblerStep,    // MNU_RunAssemblerStep, TLB_AsmTrace
  RunTraceInto,        // MNU_RunTraceInto, TLB_StepInto
  RunStepOver,         // MNU_RunStepOver, TLB_StepOver
  RunAutoTraceInto,    // MNU_RunAutoTraceInto
  RunAutoStepOver,     // MNU_RunAutoStepOver
  RunGoToAddress,      // MNU_RunGoToAddress
  RunGoToCursor,       // MNU_RunGoToCursor, TLB_GoToCursor
  RunReset,            // MNU_RunReset, TLB_Reset
  BreakToggle,         // MNU_BreakToggle, TLB_ToggleBreak
  BreakClearAll,       // MNU_BreakClearAll, TLB_ClearBreaks (built in)
  ConfigureTrace,      // MNU_ConfigureTrace (also needs a target with trace)
  ConfigureCpu,        // MNU_ConfigureCpu (also needs CPU settings)
  ConfigureExternals,  // MNU_ConfigureExternals (also needs hardware lines)
  ConfigureMemory,     // every area item under MNU_ConfigureMemory; data() is the area
  Refresh,             // TLB_Refresh (built in)
  About,               // TLB_About
  OptionsDisplay,      // MNU_OptionsDisplay (in the hidden Options menu)
  FileExit,            // MNU_FileExit (built in)
};

// The MDI frame of the program. It makes and keeps contact with the target
// from its idle handler, switches the optional commands by the target's
// capabilities, keeps the list of open view windows and re-sends state
// changes to them, and disables the commands while a long operation runs.
//
// Messages it handles (send texts with SendBeginBusy and SendStatusText, post
// UM_VIEWCLOSED with PostViewClosed; nobody casts an LPARAM):
//   UM_REFRESH, UM_STOPPED  re-sent to every listed view (UM_TARGETRESET is only
//                           ever broadcast by this window, never sent to it)
//   UM_BEGINBUSY, UM_ENDBUSY, UM_STATUSTEXT, UM_DISABLECOMMANDS, UM_ENABLECOMMANDS
//   UM_SHOWCPU, UM_TARGETEVENT, UM_QUIT, UM_VIEWCLOSED
//
// How a window unit plugs in (the main window never includes its header):
//
//   // srcRegisters.cpp
//   namespace {
//   const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
//     main.SetViewFactory(TViewKind::Regs, [](TfrmMain& owner) -> QWidget* {
//       auto* form = new TfrmRegs(&owner);  // a QWidget and a TMessageReceiver
//       form->show();
//       return form;                         // the main window lists it
//     });
//   });
//   }  // namespace
//
//   // a command that is not a view: File > Open, the run commands, a dialog
//   main.SetCommandHandler(TCommand::FileOpen, [&main](QAction*) { ... });
//
// Every main window runs the installers of all units at the end of its
// construction (tests that make one get the real windows too). A command
// stays disabled until what carries it out is there: a factory for a view
// command, a handler for the others. Being there never overrides the state:
// while busy the tool buttons stay off, and the commands of a feature the
// target lacks (trace, CPU settings, hardware lines, special registers) stay
// off for good. A view window's close handler calls PostViewClosed(this);
// the main window takes it off the list at once and deletes it once no
// handler runs any more (one may still use it: see TApplication). Windows
// still open when the program ends are deleted with the main window, before
// the engine objects (EndProgram).
//
// The target event that asks for the monitor (action 5) runs the loader set
// with SetMonitorLoader before the connection is set up again.
class TfrmMain : public QMainWindow, public TMessageReceiver {
 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  void Dispatch(TMessage& message) override;

  // Runs install for every main window made from now on; returns true so
  // that a unit can call it in a namespace-scope initialiser.
  using TWindowUnit = std::function<void(TfrmMain& main)>;
  static bool AddWindowUnit(TWindowUnit install);

  // A view factory creates and shows one view window with this window as its
  // owner and returns it; the window is a TMessageReceiver. MDI children go
  // into MdiArea(). A null factory disables the kind's commands again.
  using TViewFactory = std::function<QWidget*(TfrmMain& owner)>;
  void SetViewFactory(TViewKind kind, TViewFactory factory);
  QMdiArea* MdiArea() const { return FMdiArea; }

  // The handler gets the action that was triggered (the menu item or the
  // tool button). A null handler disables the command again.
  using TCommandHandler = std::function<void(QAction* sender)>;
  void SetCommandHandler(TCommand command, TCommandHandler handler);
  void SetMonitorLoader(std::function<void()> loader);

  // The view list, in the order of registration (at most 100 views).
  void RegisterView(QWidget* view);
  void UnregisterView(QWidget* view);
  void BroadcastToViews(unsigned msg, WPARAM wParam, LPARAM lParam);

  // Run by a short timer whenever the event loop is idle: polls the target at
  // most every 500 ms and sets the connection up after the first answer.
  void AppIdle();

  bool Connected() const { return FConnected != 0; }
  bool Busy() const { return FBusy != 0; }
  int ViewCount() const { return static_cast<int>(FViews.size()); }
  // 0 past the used entries.
  HWND ViewHandle(int index) const;
  QString StatusText() const;

  // Components.
  QMdiArea* FMdiArea;
  QToolBar* ToolBar;
  QLabel* StatusPanel;
  TPopupMsg* StatusMessage;
  QTimer* IdleTimer;

  QAction* TLB_Open;
  QAction* TLB_Reload;
  QAction* TLB_ToggleBreak;
  QAction* TLB_ClearBreaks;
  QAction* TLB_GoToCursor;
  QAction* TLB_StepInto;
  QAction* TLB_AsmTrace;
  QAction* TLB_StepOver;
  QAction* TLB_Go;
  QAction* TLB_Halt;
  QAction* TLB_Reset;
  QAction* TLB_ViewDump;
  QAction* TLB_ViewSource;
  QAction* TLB_ViewCpu;
  QAction* TLB_ViewRegs;
  QAction* TLB_ViewSRegs;
  QAction* TLB_ViewSym;
  QAction* TLB_ViewTrace;
  QAction* TLB_ViewWatch;
  QAction* TLB_Refresh;
  QAction* TLB_About;
  QAction* TLB_DbgProt;

  QMenu* MNU_File;
  QAction* MNU_FileOpen;
  QAction* MNU_FileReload;
  QAction* MNU_FileSymbol;
  QAction* MNU_UnasmToFile;
  QAction* MNU_FileExit;
  QMenu* MNU_View;
  QAction* MNU_ViewCpu;
  QAction* MNU_ViewDump;
  QAction* MNU_ViewRegs;
  QAction* MNU_ViewSRegs;
  QAction* MNU_ViewWatch;
  QAction* MNU_ViewVars;
  QAction* MNU_ViewSource;
  QAction* MNU_ViewTrace;
  QMenu* MNU_ViewTarget;
  QAction* MNU_ViewReadFrom;
  QAction* MNU_ViewWriteTo;
  QMenu* MNU_Run;
  QAction* MNU_RunGo;
  QAction* MNU_RunGoFrom;
  QAction* MNU_RunResetGo;
  QAction* MNU_RunAssemblerStep;
  QAction* MNU_RunTraceInto;
  QAction* MNU_RunStepOver;
  QAction* MNU_RunAutoTraceInto;
  QAction* MNU_RunAutoStepOver;
  QAction* MNU_RunGoToAddress;
  QAction* MNU_RunGoToCursor;
  QAction* MNU_RunReset;
  QMenu* MNU_Breakpoints;
  QAction* MNU_BreakToggle;
  QAction* MNU_BreakClearAll;
  QMenu* MNU_Configure;
  QAction* MNU_ConfigureTrace;
  QAction* MNU_ConfigureCpu;
  QAction* MNU_ConfigureExternals;
  QMenu* MNU_ConfigureMemory;
  QMenu* MNU_Options;
  QAction* MNU_OptionsDisplay;
  QMenu* MNU_Window;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct TOpenView {
    HWND Handle;
    QPointer<QWidget> Form;
    std::optional<TViewKind> Kind;  // none for a view registered from outside
    QMetaObject::Connection Destroyed;
  };

  // srcMainCommands.cpp: the menus, the tool bar and what enables them.
  void CreateCommands();
  QAction* ViewButton(TViewKind kind) const;
  QAction* ViewMenuItem(TViewKind kind) const;
  std::vector<QAction*> CommandActions(TCommand command) const;
  void RunCommand(TCommand command, QAction* sender);
  // Enables a command exactly when it is built, the target has its feature
  // and, for a tool button but About, no long operation runs.
  void UpdateCommand(QAction* action);
  void UpdateCommands();
  void SetLacking(QAction* action);

  // srcMainConnection.cpp
  void SetupConnection();
  void SetupCapabilities();
  void TargetEvent(WPARAM code, LPARAM value);

  // srcMainViews.cpp
  void ViewButtonClick(TViewKind kind);
  void ViewMenuClick(TViewKind kind);
  void ViewDumpClick();
  bool OpenView(TViewKind kind);
  void CloseView(TViewKind kind);
  QWidget* OpenForm(TViewKind kind) const;
  void ForgetView(HWND handle);
  void ViewClosed(QWidget* form);
  void ShowCpu();

  void BeginBusy(const char* text);
  void EndBusy();
  void FileExitClick();
  void BreakClearAllClick();

  std::uint32_t FNextPoll;
  std::uint8_t FConnected;
  std::uint8_t FQuitRequested;
  std::vector<TOpenView> FViews;
  int FDumpCount;
  std::uint8_t FBusy;

  bool FInIdle = false;
  std::map<TViewKind, TViewFactory> FFactories;
  std::map<TCommand, TCommandHandler> FHandlers;
  std::map<QAction*, TCommand> FCommandOf;
  std::map<QAction*, TViewKind> FViewOf;
  std::set<QAction*> FLacking;
  std::function<void()> FMonitorLoader;
  std::unique_ptr<TBusyInputGuard> FInputGuard;
};

// The end of the program: the main window goes with every window it still
// owns, then the engine objects, so no window outlives what it shows.
void EndProgram(TfrmMain* mainForm);
