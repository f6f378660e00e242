#include "srcMain.h"

#include <QAction>
#include <QByteArray>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <cstdio>
#include <string>

#include "BusyInputGuard.h"
#include "FixedFont.h"
#include "MainFormMessages.h"
#include "MessageBox.h"
#include "Protocol.h"
#include "Configuration.h"
#include "Debug.h"
#include "TickCount.h"
#include "Tgtz80.h"
#include "ToolGlyphs.h"
#include "Utility.h"
#include "srcPopupMsg.h"

namespace {

constexpr std::uint32_t PollRunning = 0xFFFFFFFF;
constexpr int IdleInterval = 50;

TCapabilities* Capabilities() {
  TCapabilities* capabilities = nullptr;
  TheProtocol->GetCapabilities(capabilities);
  return capabilities;
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("OSTREL Corvane"));
  resize(733, 496);
  setMinimumSize(608, 490);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  FMdiArea = new QMdiArea(this);
  FMdiArea->setObjectName(QStringLiteral("MdiArea"));
  setCentralWidget(FMdiArea);

  CreateActions();
  CreateMenus();
  CreateToolBar();

  StatusPanel = new QLabel(QStringLiteral("WAIT...."), this);
  StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
  StatusPanel->setFont(FixedFont());
  statusBar()->setObjectName(QStringLiteral("StatusBar"));
  statusBar()->addWidget(StatusPanel, 1);
  StatusMessage = new TPopupMsg(this);

  FConnected = 0;
  FNextPoll = GetTickCount() + 500;
  setCursor(Qt::WaitCursor);
  FQuitRequested = 0;
  FViewHandles.fill(0);
  FViewCount = 0;
  FDumpCount = 0;
  if (TheCpu->SRegsCount == 0) {
    SetCommandEnabled(TLB_ViewSRegs, false);
    SetCommandEnabled(MNU_ViewSRegs, false);
  }
  FBusy = 0;
  setEnabled(false);

  if (!MainForm()) SetMainForm(this);

  // The idle handler runs from a short timer; the poll interval stays its own.
  IdleTimer = new QTimer(this);
  IdleTimer->setObjectName(QStringLiteral("IdleTimer"));
  IdleTimer->setInterval(IdleInterval);
  connect(IdleTimer, &QTimer::timeout, this, &TfrmMain::AppIdle);
  IdleTimer->start();
}

TfrmMain::~TfrmMain() {
  // The views go down with this window's children; nothing may come back here then.
  for (auto& [handle, view] : FOpenViews) disconnect(view.Destroyed);
  FOpenViews.clear();
}

void TfrmMain::CreateActions() {
  auto command = [this](const char* name, const QString& text, const QKeySequence& shortcut = {}) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
  };
  auto button = [this](const char* name, const QString& hint, int glyph, bool check = false) {
    auto* action = new QAction(ToolGlyph(glyph), hint, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    action->setCheckable(check);
    return action;
  };

  TLB_Open = button("TLB_Open", QStringLiteral("Open program"), 0);
  TLB_Reload = button("TLB_Reload", QStringLiteral("Reload last program"), 1);
  TLB_ToggleBreak = button("TLB_ToggleBreak", QStringLiteral("Toggle break point"), 2);
  TLB_ClearBreaks = button("TLB_ClearBreaks", QStringLiteral("Remove all breaks"), 3);
  TLB_GoToCursor = button("TLB_GoToCursor", QStringLiteral("Run to cursor position"), 4);
  TLB_StepInto = button("TLB_StepInto", QStringLiteral("Step into call"), 5);
  TLB_AsmTrace = button("TLB_AsmTrace", QStringLiteral("Assembler step into call"), 6);
  TLB_StepOver = button("TLB_StepOver", QStringLiteral("Step over call"), 7);
  TLB_Go = button("TLB_Go", QStringLiteral("Start execution"), 8);
  TLB_Halt = button("TLB_Halt", QStringLiteral("Halt execution"), 9);
  TLB_Reset = button("TLB_Reset", QStringLiteral("Reset CPU"), 10);
  TLB_ViewDump = button("TLB_ViewDump", QStringLiteral("Open new memory window"), 11);
  TLB_ViewSource = button("TLB_ViewSource", QStringLiteral("Toggle source window"), 12, true);
  TLB_ViewCpu = button("TLB_ViewCpu", QStringLiteral("Toggle CPU window"), 13, true);
  TLB_ViewRegs = button("TLB_ViewRegs", QStringLiteral("Toggle Registers Window"), 14, true);
  TLB_ViewSRegs = button("TLB_ViewSRegs", QStringLiteral("Toggle special regs window"), 15, true);
  TLB_ViewSym = button("TLB_ViewSym", QStringLiteral("Toggle Symbols Window"), 16, true);
  TLB_ViewTrace = button("TLB_ViewTrace", QStringLiteral("Toggle TRACE Window"), 17, true);
  TLB_ViewWatch = button("TLB_ViewWatch", QStringLiteral("Toggle WATCH window"), 18, true);
  TLB_Refresh = button("TLB_Refresh", QStringLiteral("Refresh all Windows"), 19);
  TLB_About = button("TLB_About", QStringLiteral("Show program informations"), 20);
  TLB_DbgProt = button("TLB_DbgProt", QString(), 21, true);

  MNU_FileOpen = command("MNU_FileOpen", QStringLiteral("&Open..."));
  MNU_FileReload = command("MNU_FileReload", QStringLiteral("&Reload"));
  MNU_FileSymbol = command("MNU_FileSymbol", QStringLiteral("S&ymbol load..."));
  MNU_UnasmToFile = command("MNU_UnasmToFile", QStringLiteral("&Unasm to file..."));
  MNU_FileExit = command("MNU_FileExit", QStringLiteral("E&xit"), QKeySequence(Qt::ALT | Qt::Key_X));

  MNU_ViewCpu = command("MNU_ViewCpu", QStringLiteral("&Cpu"));
  MNU_ViewDump = command("MNU_ViewDump", QStringLiteral("&Dump"));
  MNU_ViewRegs = command("MNU_ViewRegs", QStringLiteral("&Registers"));
  MNU_ViewSRegs = command("MNU_ViewSRegs", QStringLiteral("S&pecials"));
  MNU_ViewWatch = command("MNU_ViewWatch", QStringLiteral("&Watch"));
  MNU_ViewVars = command("MNU_ViewVars", QStringLiteral("&Variables"));
  MNU_ViewSource = command("MNU_ViewSource", QStringLiteral("&Module..."), QKeySequence(Qt::Key_F3));
  MNU_ViewTrace = command("MNU_ViewTrace", QStringLiteral("&Trace"));
  MNU_ViewReadFrom = command("MNU_ViewReadFrom", QStringLiteral("&Read from..."));
  MNU_ViewWriteTo = command("MNU_ViewWriteTo", QStringLiteral("&Write to..."));

  MNU_RunGo = command("MNU_RunGo", QStringLiteral("&Go"), QKeySequence(Qt::Key_F9));
  MNU_RunGoFrom = command("MNU_RunGoFrom", QStringLiteral("Go &from..."), QKeySequence(Qt::ALT | Qt::Key_F9));
  MNU_RunResetGo = command("MNU_RunResetGo", QStringLiteral("R&eset && go"), QKeySequence(Qt::CTRL | Qt::Key_F9));
  MNU_RunAssemblerStep =
      command("MNU_RunAssemblerStep", QStringLiteral("Assembler step"), QKeySequence(Qt::CTRL | Qt::Key_F7));
  MNU_RunTraceInto = command("MNU_RunTraceInto", QStringLiteral("&Trace into"), QKeySequence(Qt::Key_F7));
  MNU_RunStepOver = command("MNU_RunStepOver", QStringLiteral("&Step over"), QKeySequence(Qt::Key_F8));
  MNU_RunAutoTraceInto =
      command("MNU_RunAutoTraceInto", QStringLiteral("Auto trace into"), QKeySequence(Qt::ALT | Qt::Key_F7));
  MNU_RunAutoStepOver =
      command("MNU_RunAutoStepOver", QStringLiteral("Auto step over"), QKeySequence(Qt::ALT | Qt::Key_F8));
  MNU_RunGoToAddress =
      command("MNU_RunGoToAddress", QStringLiteral("G&oTo address..."), QKeySequence(Qt::ALT | Qt::Key_F4));
  MNU_RunGoToCursor = command("MNU_RunGoToCursor", QStringLiteral("GoTo &cursor"), QKeySequence(Qt::Key_F4));
  MNU_RunReset = command("MNU_RunReset", QStringLiteral("&Reset"), QKeySequence(Qt::CTRL | Qt::Key_F2));

  MNU_BreakToggle = command("MNU_BreakToggle", QStringLiteral("&Toggle break"), QKeySequence(Qt::Key_F2));
  MNU_BreakClearAll = command("MNU_BreakClearAll", QStringLiteral("&Clear all"));

  MNU_ConfigureTrace = command("MNU_ConfigureTrace", QStringLiteral("&Trace..."));
  MNU_ConfigureCpu = command("MNU_ConfigureCpu", QStringLiteral("&Cpu..."));
  MNU_ConfigureExternals = command("MNU_ConfigureExternals", QStringLiteral("&Externals..."));

  // Commands whose windows, dialogs or run control this program does not build.
  FUnbuilt = {TLB_Open,         TLB_Reload,          TLB_ToggleBreak,       TLB_GoToCursor,
              TLB_StepInto,     TLB_AsmTrace,        TLB_StepOver,          TLB_Go,
              TLB_Reset,        TLB_About,           MNU_FileOpen,          MNU_FileReload,
              MNU_FileSymbol,   MNU_UnasmToFile,     MNU_ViewReadFrom,      MNU_ViewWriteTo,
              MNU_RunGo,        MNU_RunGoFrom,       MNU_RunResetGo,        MNU_RunAssemblerStep,
              MNU_RunTraceInto, MNU_RunStepOver,     MNU_RunAutoTraceInto,  MNU_RunAutoStepOver,
              MNU_RunGoToAddress, MNU_RunGoToCursor, MNU_RunReset,          MNU_BreakToggle,
              MNU_ConfigureTrace, MNU_ConfigureCpu,  MNU_ConfigureExternals};
  for (TViewKind kind : {TViewKind::Cpu, TViewKind::Source, TViewKind::Regs, TViewKind::SRegs, TViewKind::Symbols,
                         TViewKind::Trace, TViewKind::Watch, TViewKind::DbgProt, TViewKind::Dump}) {
    FUnbuilt.insert(ViewButton(kind));
    if (QAction* item = ViewMenuItem(kind)) FUnbuilt.insert(item);
  }
  for (QAction* command : FUnbuilt) command->setEnabled(false);

  for (TViewKind kind : {TViewKind::Cpu, TViewKind::Source, TViewKind::Regs, TViewKind::SRegs, TViewKind::Symbols,
                         TViewKind::Trace, TViewKind::Watch, TViewKind::DbgProt}) {
    connect(ViewButton(kind), &QAction::triggered, this, [this, kind] { ViewButtonClick(kind); });
    if (QAction* item = ViewMenuItem(kind))
      connect(item, &QAction::triggered, this, [this, kind] { ViewMenuClick(kind); });
  }
  connect(TLB_ViewDump, &QAction::triggered, this, &TfrmMain::ViewDumpClick);
  connect(MNU_ViewDump, &QAction::triggered, this, &TfrmMain::ViewDumpClick);
  connect(MNU_FileExit, &QAction::triggered, this, &TfrmMain::FileExitClick);
  connect(MNU_BreakClearAll, &QAction::triggered, this, &TfrmMain::BreakClearAllClick);
  connect(TLB_ClearBreaks, &QAction::triggered, this, &TfrmMain::BreakClearAllClick);
  connect(TLB_Refresh, &QAction::triggered, this, &TfrmMain::RefreshClick);
}

void TfrmMain::CreateMenus() {
  auto menu = [this](QWidget* parent, const char* name, const QString& title) {
    auto* m = new QMenu(title, parent);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
  };
  QMenuBar* bar = menuBar();

  MNU_File = menu(bar, "MNU_File", QStringLiteral("&File"));
  MNU_File->addActions({MNU_FileOpen, MNU_FileReload, MNU_FileSymbol, MNU_UnasmToFile});
  MNU_File->addSeparator();
  MNU_File->addAction(MNU_FileExit);

  MNU_View = menu(bar, "MNU_View", QStringLiteral("&View"));
  MNU_View->addActions({MNU_ViewCpu, MNU_ViewDump, MNU_ViewRegs, MNU_ViewSRegs, MNU_ViewWatch, MNU_ViewVars,
                        MNU_ViewSource, MNU_ViewTrace});
  MNU_View->addSeparator();
  MNU_ViewTarget = menu(MNU_View, "MNU_ViewTarget", QStringLiteral("T&arget"));
  MNU_ViewTarget->addActions({MNU_ViewReadFrom, MNU_ViewWriteTo});
  MNU_View->addMenu(MNU_ViewTarget);

  MNU_Run = menu(bar, "MNU_Run", QStringLiteral("&Run"));
  MNU_Run->addActions({MNU_RunGo, MNU_RunGoFrom, MNU_RunResetGo});
  MNU_Run->addSeparator();
  MNU_Run->addActions({MNU_RunAssemblerStep, MNU_RunTraceInto, MNU_RunStepOver});
  MNU_Run->addSeparator();
  MNU_Run->addActions({MNU_RunAutoTraceInto, MNU_RunAutoStepOver});
  MNU_Run->addSeparator();
  MNU_Run->addActions({MNU_RunGoToAddress, MNU_RunGoToCursor});
  MNU_Run->addSeparator();
  MNU_Run->addAction(MNU_RunReset);

  MNU_Breakpoints = menu(bar, "MNU_Breakpoints", QStringLiteral("&Breakpoints"));
  MNU_Breakpoints->addActions({MNU_BreakToggle, MNU_BreakClearAll});

  MNU_Configure = menu(bar, "MNU_Configure", QStringLiteral("&Configure"));
  MNU_Configure->addActions({MNU_ConfigureTrace, MNU_ConfigureCpu, MNU_ConfigureExternals});
  MNU_ConfigureMemory = menu(MNU_Configure, "MNU_ConfigureMemory", QStringLiteral("&Memory"));
  MNU_ConfigureMemory->menuAction()->setData(0);
  MNU_Configure->addMenu(MNU_ConfigureMemory);

  // Kept from the form but never shown, so none of their items can be reached.
  MNU_Options = menu(bar, "MNU_Options", QStringLiteral("&Options"));
  for (const char* text : {"&Display options...", "&Change colours...", "&Reload options...", "Restart &options..."})
    MNU_Options->addAction(QString::fromLatin1(text))->setEnabled(false);
  MNU_Window = menu(bar, "MNU_Window", QStringLiteral("&Window"));
  const std::pair<const char*, QKeySequence> windowItems[] = {{"Zoom", QKeySequence(Qt::Key_F5)},
                                                               {"Resize", QKeySequence(Qt::CTRL | Qt::Key_F5)},
                                                               {"Next", QKeySequence(Qt::Key_F6)},
                                                               {"Close", QKeySequence(Qt::ALT | Qt::Key_F3)}};
  for (const auto& [text, shortcut] : windowItems) {
    QAction* item = MNU_Window->addAction(QString::fromLatin1(text));
    item->setShortcut(shortcut);
    item->setEnabled(false);
  }

  for (QMenu* m : {MNU_File, MNU_View, MNU_Run, MNU_Breakpoints, MNU_Configure, MNU_Options, MNU_Window})
    bar->addMenu(m);
  MNU_Options->menuAction()->setVisible(false);
  MNU_Window->menuAction()->setVisible(false);
}

void TfrmMain::CreateToolBar() {
  ToolBar = addToolBar(QStringLiteral("ToolBar"));
  ToolBar->setObjectName(QStringLiteral("ToolBar"));
  ToolBar->setMovable(false);
  ToolBar->setIconSize(QSize(18, 18));
  ToolBar->addActions({TLB_Open, TLB_Reload});
  ToolBar->addSeparator();
  ToolBar->addActions({TLB_ToggleBreak, TLB_ClearBreaks});
  ToolBar->addSeparator();
  ToolBar->addActions({TLB_GoToCursor, TLB_StepInto, TLB_AsmTrace, TLB_StepOver, TLB_Go, TLB_Halt, TLB_Reset});
  ToolBar->addSeparator();
  ToolBar->addActions({TLB_ViewDump, TLB_ViewSource, TLB_ViewCpu, TLB_ViewRegs, TLB_ViewSRegs, TLB_ViewSym,
                       TLB_ViewTrace, TLB_ViewWatch});
  ToolBar->addSeparator();
  ToolBar->addActions({TLB_Refresh, TLB_About, TLB_DbgProt});
  for (QAction* action : ToolBar->actions())
    if (!action->isSeparator()) ToolBar->widgetForAction(action)->setFixedSize(26, 27);
}

QAction* TfrmMain::ViewButton(TViewKind kind) const {
  switch (kind) {
    case TViewKind::Cpu: return TLB_ViewCpu;
    case TViewKind::Source: return TLB_ViewSource;
    case TViewKind::Regs: return TLB_ViewRegs;
    case TViewKind::SRegs: return TLB_ViewSRegs;
    case TViewKind::Symbols: return TLB_ViewSym;
    case TViewKind::Trace: return TLB_ViewTrace;
    case TViewKind::Watch: return TLB_ViewWatch;
    case TViewKind::DbgProt: return TLB_DbgProt;
    case TViewKind::Dump: return TLB_ViewDump;
  }
  return nullptr;
}

QAction* TfrmMain::ViewMenuItem(TViewKind kind) const {
  switch (kind) {
    case TViewKind::Cpu: return MNU_ViewCpu;
    case TViewKind::Source: return MNU_ViewSource;
    case TViewKind::Regs: return MNU_ViewRegs;
    case TViewKind::SRegs: return MNU_ViewSRegs;
    case TViewKind::Symbols: return MNU_ViewVars;
    case TViewKind::Trace: return MNU_ViewTrace;
    case TViewKind::Watch: return MNU_ViewWatch;
    case TViewKind::Dump: return MNU_ViewDump;
    case TViewKind::DbgProt: return nullptr;
  }
  return nullptr;
}

void TfrmMain::SetViewFactory(TViewKind kind, TViewFactory factory) {
  const bool built = static_cast<bool>(factory);
  FFactories[kind] = std::move(factory);
  for (QAction* command : {ViewButton(kind), ViewMenuItem(kind)}) {
    if (!command) continue;
    if (built)
      FUnbuilt.erase(command);
    else
      FUnbuilt.insert(command);
    SetCommandEnabled(command, built);
  }
  if (kind == TViewKind::SRegs && TheCpu->SRegsCount == 0) {
    SetCommandEnabled(TLB_ViewSRegs, false);
    SetCommandEnabled(MNU_ViewSRegs, false);
  }
}

void TfrmMain::SetCommandEnabled(QAction* command, bool enabled) {
  command->setEnabled(enabled && !FUnbuilt.count(command));
}

QString TfrmMain::StatusText() const { return StatusPanel->text(); }

// ---- Message bus ------------------------------------------------------------------

void TfrmMain::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case UM_REFRESH:
    case UM_STOPPED:
      BroadcastToViews(message.Msg, message.WParam, message.LParam);
      break;
    case UM_BEGINBUSY:
      BeginBusy(reinterpret_cast<const char*>(message.LParam));
      break;
    case UM_ENDBUSY:
      EndBusy();
      break;
    case UM_STATUSTEXT: {
      const char* text = reinterpret_cast<const char*>(message.LParam);
      StatusPanel->setText(text ? QString::fromUtf8(text) : QString());
      break;
    }
    case UM_SHOWCPU:
      ShowCpu();
      break;
    case UM_TARGETEVENT:
      TargetEvent(message.WParam, message.LParam);
      break;
    case UM_QUIT:
      FQuitRequested = 1;
      break;
    case UM_VIEWCLOSED:
      ViewClosed(reinterpret_cast<QWidget*>(message.LParam));
      break;
    case UM_DISABLECOMMANDS:
      FBusy = 1;
      SetCommandsEnabled(false);
      break;
    case UM_ENABLECOMMANDS:
      FBusy = 0;
      SetCommandsEnabled(true);
      break;
    default:
      break;
  }
}

// ---- Idle poll and connection ----------------------------------------------------

void TfrmMain::AppIdle() {
  // A message box of the set-up runs its own loop, which runs this timer again.
  if (FInIdle) return;
  FInIdle = true;
  if (FBusy == 1) {
    FNextPoll = GetTickCount() + 500;
  } else if (FQuitRequested == 1) {
    PostQuitMessage(0);
  } else {
    std::uint16_t status = 0;
    if (GetTickCount() > FNextPoll) {
      FNextPoll = PollRunning;
      status = TheProtocol->Poll(1);
      FNextPoll = GetTickCount() + 500;
    }
    if (FConnected == 0 && status == STATUS_OK && FNextPoll != PollRunning) SetupConnection();
  }
  FInIdle = false;
}

void TfrmMain::SetupConnection() {
  Sleep(100);
  TheProtocol->ResetState();

  char version[3] = {};
  TheProtocol->GetFirmwareVersion(version);
  if (static_cast<unsigned char>(version[0]) < 4) {
    MessageBox("Incompatible firmware version !", "FATAL ERROR", MB_OK | MB_ICONSTOP);
    // The set-up still runs to its end; the program ends when the loop reaches the request.
    PostQuitMessage(1);
  }

  SetupCapabilities();

  FConnected = 1;
  setEnabled(true);
  StatusPanel->clear();
  unsetCursor();
  FNextPoll = GetTickCount() + 500;

  if (!TLB_ViewCpu->isChecked()) {
    TLB_ViewCpu->setChecked(true);
    ViewButtonClick(TViewKind::Cpu);
  }
  BroadcastToViews(UM_TARGETRESET, 0, 0);
}

void TfrmMain::SetupCapabilities() {
  const TCapabilities* capabilities = Capabilities();
  if (capabilities->HwLinesOffset == NO_TABLE) SetCommandEnabled(MNU_ConfigureExternals, false);
  if (capabilities->TraceOffset == NO_TABLE) {
    SetCommandEnabled(MNU_ViewTrace, false);
    SetCommandEnabled(MNU_ConfigureTrace, false);
    SetCommandEnabled(TLB_ViewTrace, false);
  }
  if (capabilities->CpuSettingsOffset == NO_TABLE) SetCommandEnabled(MNU_ConfigureCpu, false);

  QAction* memory = MNU_ConfigureMemory->menuAction();
  if (capabilities->AreasOffset == NO_TABLE) {
    MNU_ConfigureMemory->setEnabled(false);
    return;
  }
  if (memory->data().toInt() != 0) return;
  memory->setData(-1);
  TAreaDescriptor descriptor{};
  for (int i = 0; i <= 0xFF && GetAreaDescriptor(static_cast<std::uint8_t>(i), 1, descriptor); ++i) {
    const auto length = static_cast<qsizetype>(qstrnlen(descriptor.Name, sizeof descriptor.Name));
    QAction* item = MNU_ConfigureMemory->addAction(QString::fromLatin1(descriptor.Name, length));
    item->setObjectName(QStringLiteral("MNU_ConfigureMemory_%1").arg(i));
    item->setData(i);
    // Without the memory-map dialog an area item has nothing to open.
    item->setEnabled(false);
  }
}

// ---- Busy state ------------------------------------------------------------------

void TfrmMain::BeginBusy(const char* text) {
  SendMessage(MainForm(), UM_DISABLECOMMANDS, 0, 0);
  if (!FInputGuard) FInputGuard = std::make_unique<TBusyInputGuard>();
  StatusPanel->setText(text ? QString::fromUtf8(text) : QString());
}

void TfrmMain::EndBusy() {
  SendMessage(MainForm(), UM_ENABLECOMMANDS, 0, 0);
  StatusPanel->clear();
  FInputGuard.reset();
}

void TfrmMain::SetCommandsEnabled(bool enabled) {
  for (QAction* button : {TLB_Open, TLB_Reload, TLB_ToggleBreak, TLB_ClearBreaks, TLB_GoToCursor, TLB_StepInto,
                          TLB_AsmTrace, TLB_StepOver, TLB_Go, TLB_Halt, TLB_Reset, TLB_ViewDump, TLB_ViewSource,
                          TLB_ViewCpu, TLB_ViewRegs, TLB_Refresh, TLB_DbgProt, TLB_ViewSym, TLB_ViewWatch})
    SetCommandEnabled(button, enabled);
  SetCommandEnabled(TLB_ViewSRegs, enabled && TheCpu->SRegsCount > 0);
  SetCommandEnabled(TLB_ViewTrace, enabled && Capabilities()->TraceOffset != NO_TABLE);
  for (QMenu* menu : {MNU_File, MNU_View, MNU_Run, MNU_Breakpoints, MNU_Configure}) menu->setEnabled(enabled);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  // The File menu's own state counts, not that of the window around it.
  if (!MNU_File->isEnabledTo(this)) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void TfrmMain::FileExitClick() {
  if (QWidget* source = OpenForm(TViewKind::Source)) source->close();
  close();
}

// ---- View list ----------------------------------------------------------------------

void TfrmMain::RegisterView(QWidget* view) {
  auto* receiver = dynamic_cast<TMessageReceiver*>(view);
  if (!receiver || FViewCount >= static_cast<int>(FViewHandles.size())) return;
  FViewHandles[static_cast<std::size_t>(FViewCount++)] = receiver->Handle();
}

void TfrmMain::UnregisterView(QWidget* view) {
  if (auto* receiver = dynamic_cast<TMessageReceiver*>(view)) UnregisterHandle(receiver->Handle());
}

void TfrmMain::UnregisterHandle(HWND handle) {
  for (int i = 0; i < FViewCount; ++i) {
    if (FViewHandles[static_cast<std::size_t>(i)] != handle) continue;
    std::copy(FViewHandles.begin() + i + 1, FViewHandles.end(), FViewHandles.begin() + i);
    FViewHandles.back() = 0;
    --FViewCount;
    break;
  }
  auto open = FOpenViews.find(handle);
  if (open != FOpenViews.end() && open->second.Kind == TViewKind::Dump) --FDumpCount;
}

void TfrmMain::BroadcastToViews(unsigned msg, WPARAM wParam, LPARAM lParam) {
  // A view may close itself meanwhile; the list is copied so that every view
  // listed now hears the message once, in the order of registration.
  const std::array<HWND, 100> handles = FViewHandles;
  const int count = FViewCount;
  for (int i = 0; i < count; ++i) SendMessage(handles[static_cast<std::size_t>(i)], msg, wParam, lParam);
}

QWidget* TfrmMain::OpenForm(TViewKind kind) const {
  for (const auto& [handle, view] : FOpenViews)
    if (view.Kind == kind && view.Form) return view.Form;
  return nullptr;
}

bool TfrmMain::OpenView(TViewKind kind) {
  auto factory = FFactories.find(kind);
  if (factory == FFactories.end() || !factory->second) return false;
  QWidget* form = factory->second(*this);
  auto* receiver = dynamic_cast<TMessageReceiver*>(form);
  if (!receiver) {
    delete form;
    return false;
  }
  const HWND handle = receiver->Handle();
  // However the window goes, it leaves the list and releases its button.
  QMetaObject::Connection destroyed =
      connect(form, &QObject::destroyed, this, [this, handle] { ForgetView(handle); });
  FOpenViews[handle] = TOpenView{form, kind, destroyed};
  RegisterView(form);
  return true;
}

void TfrmMain::CloseView(TViewKind kind) {
  if (QWidget* form = OpenForm(kind)) form->close();
}

void TfrmMain::ForgetView(HWND handle) {
  auto open = FOpenViews.find(handle);
  if (open == FOpenViews.end()) return;
  UnregisterHandle(handle);
  const TViewKind kind = open->second.Kind;
  disconnect(open->second.Destroyed);
  FOpenViews.erase(open);
  if (kind != TViewKind::Dump) ViewButton(kind)->setChecked(false);
}

void TfrmMain::ViewClosed(QWidget* form) {
  for (auto& [handle, view] : FOpenViews) {
    if (view.Form != form || !form) continue;
    ForgetView(handle);
    delete form;
    return;
  }
}

void TfrmMain::ViewButtonClick(TViewKind kind) {
  QAction* button = ViewButton(kind);
  if (!button->isChecked()) {
    CloseView(kind);
    return;
  }
  if (kind == TViewKind::Source && !TheDebug->GetLoadedFile(nullptr, nullptr, nullptr)) {
    MessageBox("No source files available !", "ERROR", MB_OK | MB_ICONSTOP);
    button->setChecked(false);
    return;
  }
  if (!OpenView(kind)) button->setChecked(false);
}

void TfrmMain::ViewMenuClick(TViewKind kind) {
  QAction* button = ViewButton(kind);
  if (!button->isChecked()) {
    button->setChecked(true);
    ViewButtonClick(kind);
    return;
  }
  QWidget* form = OpenForm(kind);
  if (!form) return;
  // An MDI child's form sits inside the sub-window that the area activates.
  auto* child = qobject_cast<QMdiSubWindow*>(form);
  if (!child) child = qobject_cast<QMdiSubWindow*>(form->parentWidget());
  if (child) FMdiArea->setActiveSubWindow(child);
  form->activateWindow();
  form->setFocus();
}

void TfrmMain::ViewDumpClick() {
  if (FDumpCount >= 4) {
    MessageBox("No more dump windows available", "WARNING", MB_OK | MB_ICONWARNING);
    return;
  }
  if (OpenView(TViewKind::Dump)) ++FDumpCount;
}

void TfrmMain::ShowCpu() {
  for (QMdiSubWindow* child : FMdiArea->subWindowList()) {
    if (child->objectName() != QLatin1String("frmCpu") &&
        !(child->widget() && child->widget()->objectName() == QLatin1String("frmCpu")))
      continue;
    FMdiArea->setActiveSubWindow(child);
    child->raise();
    return;
  }
  ViewMenuClick(TViewKind::Cpu);
}

// ---- Commands -----------------------------------------------------------------------

void TfrmMain::BreakClearAllClick() {
  TheProtocol->ClearAllBreaks();
  BroadcastToViews(UM_REFRESH, 0, 0);
}

void TfrmMain::RefreshClick() { BroadcastToViews(UM_REFRESH, 0, 0); }

// ---- Target events ------------------------------------------------------------------

void TfrmMain::TargetEvent(WPARAM code, LPARAM value) {
  TheProtocol->ResetState();
  Sleep(100);
  std::uint8_t action = 0;
  char text[1024] = {};
  TheProtocol->GetWarning(static_cast<std::uint16_t>(code & 0xFFFF), action, text, sizeof text);
  if (text[0] == '\0' && action == 0) {
    char message[64];
    std::snprintf(message, sizeof message, "Unknown warning code : %04llX", static_cast<unsigned long long>(code));
    MessageBox(message, "WARNING", MB_OK | MB_ICONWARNING);
    return;
  }
  if (text[0] != '\0') MessageBox(text, "WARNING", MB_OK | MB_ICONWARNING);

  switch (action) {
    case EVENT_RESET:
      TheProtocol->InvalidateCache();
      BroadcastToViews(UM_TARGETRESET, 0, value);
      break;
    case EVENT_REFRESH:
    case EVENT_REFRESH_ALL:
      TheProtocol->InvalidateCache();
      BroadcastToViews(UM_REFRESH, 0, value);
      break;
    case EVENT_STOPPED:
      TheProtocol->InvalidateCache();
      BroadcastToViews(UM_STOPPED, 0, value);
      break;
    case EVENT_RELOAD_MONITOR:
      // The next successful poll sets the connection up again, firmware check included.
      FConnected = 0;
      unsetCursor();
      break;
    default:
      break;
  }
}
