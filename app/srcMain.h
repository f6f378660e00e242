#pragma once
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "MessageBus.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
class TBusyInputGuard;
class TPopupMsg;

// The kinds of view window the main window opens, lists and closes.
enum class TViewKind { Cpu, Source, Regs, SRegs, Symbols, Trace, Watch, DbgProt, Dump };

// The MDI frame of the program. It makes and keeps contact with the target
// from its idle handler, switches the optional commands by the target's
// capabilities, keeps the list of open view windows and re-sends state
// changes to them, and disables the commands while a long operation runs.
//
// Messages it handles (lParam of UM_BEGINBUSY and UM_STATUSTEXT: a
// NUL-terminated UTF-8 text):
//   UM_REFRESH, UM_STOPPED  re-sent to every listed view (UM_TARGETRESET is only
//                           ever broadcast by this window, never sent to it)
//   UM_BEGINBUSY, UM_ENDBUSY, UM_STATUSTEXT, UM_DISABLECOMMANDS, UM_ENABLECOMMANDS
//   UM_SHOWCPU, UM_TARGETEVENT, UM_QUIT, UM_VIEWCLOSED (lParam: the view's QWidget*)
class TfrmMain : public QMainWindow, public TMessageReceiver {
 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  void Dispatch(TMessage& message) override;

  // A view factory creates and shows one view window with this window as its
  // owner and returns it; the window is a TMessageReceiver and posts
  // UM_VIEWCLOSED to the main form when it closes. A kind without a factory
  // keeps its commands disabled. MDI children go into MdiArea().
  using TViewFactory = std::function<QWidget*(TfrmMain& owner)>;
  void SetViewFactory(TViewKind kind, TViewFactory factory);
  QMdiArea* MdiArea() const { return FMdiArea; }

  // The view list: window handles in the order of registration.
  void RegisterView(QWidget* view);
  void UnregisterView(QWidget* view);
  void BroadcastToViews(unsigned msg, WPARAM wParam, LPARAM lParam);

  // Run by a short timer whenever the event loop is idle: polls the target at
  // most every 500 ms and sets the connection up after the first answer.
  void AppIdle();

  bool Connected() const { return FConnected != 0; }
  bool Busy() const { return FBusy != 0; }
  int ViewCount() const { return FViewCount; }
  HWND ViewHandle(int index) const { return FViewHandles.at(static_cast<std::size_t>(index)); }
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
  QMenu* MNU_Window;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct TOpenView {
    QPointer<QWidget> Form;
    TViewKind Kind;
    QMetaObject::Connection Destroyed;
  };

  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  QAction* ViewButton(TViewKind kind) const;
  QAction* ViewMenuItem(TViewKind kind) const;

  // A command whose window or dialog this program does not build stays
  // disabled whatever the state asks.
  void SetCommandEnabled(QAction* command, bool enabled);
  void SetCommandsEnabled(bool enabled);

  void SetupConnection();
  void SetupCapabilities();

  void ViewButtonClick(TViewKind kind);
  void ViewMenuClick(TViewKind kind);
  void ViewDumpClick();
  bool OpenView(TViewKind kind);
  void CloseView(TViewKind kind);
  QWidget* OpenForm(TViewKind kind) const;
  void UnregisterHandle(HWND handle);
  void ForgetView(HWND handle);
  void ViewClosed(QWidget* form);
  void ShowCpu();

  void BeginBusy(const char* text);
  void EndBusy();
  void TargetEvent(WPARAM code, LPARAM value);
  void FileExitClick();
  void BreakClearAllClick();
  void RefreshClick();

  std::uint32_t FNextPoll;
  std::uint8_t FConnected;
  std::uint8_t FQuitRequested;
  std::array<HWND, 100> FViewHandles;
  int FViewCount;
  int FDumpCount;
  std::uint8_t FBusy;

  bool FInIdle = false;
  std::map<TViewKind, TViewFactory> FFactories;
  std::map<HWND, TOpenView> FOpenViews;
  std::set<QAction*> FUnbuilt;
  std::unique_ptr<TBusyInputGuard> FInputGuard;
};
