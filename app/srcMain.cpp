#include "srcMain.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPalette>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <utility>

#include "BusyInputGuard.h"
#include "Configuration.h"
#include "FixedFont.h"
#include "MainFormMessages.h"
#include "Protocol.h"
#include "TickCount.h"
#include "srcPopupMsg.h"

namespace {

constexpr int IdleInterval = 50;

// The status bar has room for one line; the progress texts of the long
// operations come in several, whose breaks show as gaps there.
QString StatusLine(const char* text) {
  static const QRegularExpression breaks(QStringLiteral("[\r\n]+"));
  return QString::fromUtf8(text).split(breaks, Qt::SkipEmptyParts).join(QStringLiteral("  "));
}

std::vector<TfrmMain::TWindowUnit>& WindowUnits() {
  static std::vector<TfrmMain::TWindowUnit> units;
  return units;
}

}  // namespace

bool TfrmMain::AddWindowUnit(TWindowUnit install) {
  WindowUnits().push_back(std::move(install));
  return true;
}

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("OSTREL Corvane"));
  resize(733, 496);
  setMinimumSize(608, 490);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  FMdiArea = new QMdiArea(this);
  FMdiArea->setObjectName(QStringLiteral("MdiArea"));
  // A child larger than the area, or left outside it when the main window
  // shrank, can then still be reached.
  FMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  FMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(FMdiArea);

  FBusy = 0;
  CreateCommands();

  StatusPanel = new QLabel(QStringLiteral("WAIT...."), this);
  StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
  StatusPanel->setFont(FixedFont());
  // The window is disabled until the target answers, and its status text is
  // what the user reads meanwhile: it keeps the colour of enabled text.
  QPalette palette = StatusPanel->palette();
  palette.setColor(QPalette::Disabled, QPalette::WindowText, palette.color(QPalette::Active, QPalette::WindowText));
  StatusPanel->setPalette(palette);
  statusBar()->setObjectName(QStringLiteral("StatusBar"));
  statusBar()->addWidget(StatusPanel, 1);
  StatusMessage = new TPopupMsg(this);

  FConnected = 0;
  FNextPoll = GetTickCount() + 500;
  setCursor(Qt::WaitCursor);
  FQuitRequested = 0;
  FDumpCount = 0;
  setEnabled(false);

  if (!MainForm()) SetMainForm(this);

  // The idle handler runs from a short timer; the poll interval stays its own.
  IdleTimer = new QTimer(this);
  IdleTimer->setObjectName(QStringLiteral("IdleTimer"));
  IdleTimer->setInterval(IdleInterval);
  connect(IdleTimer, &QTimer::timeout, this, &TfrmMain::AppIdle);
  IdleTimer->start();

  for (const TWindowUnit& install : WindowUnits()) install(*this);
}

TfrmMain::~TfrmMain() {
  // The views go down with this window's children; nothing may come back here then.
  for (TOpenView& view : FViews) disconnect(view.Destroyed);
  FViews.clear();
}

QString TfrmMain::StatusText() const { return StatusPanel->text(); }

void TfrmMain::SetMonitorLoader(std::function<void()> loader) { FMonitorLoader = std::move(loader); }

// ---- Message bus ------------------------------------------------------------------

void TfrmMain::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case UM_REFRESH:
    case UM_STOPPED:
      BroadcastToViews(message.Msg, message.WParam, message.LParam);
      break;
    case UM_BEGINBUSY:
      BeginBusy(MessageText(message.LParam));
      break;
    case UM_ENDBUSY:
      EndBusy();
      break;
    case UM_STATUSTEXT:
      StatusPanel->setText(StatusLine(MessageText(message.LParam)));
      break;
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
      ViewClosed(ClosedView(message));
      break;
    case UM_DISABLECOMMANDS:
      FBusy = 1;
      UpdateCommands();
      for (QMenu* menu : {MNU_File, MNU_View, MNU_Run, MNU_Breakpoints, MNU_Configure}) menu->setEnabled(false);
      break;
    case UM_ENABLECOMMANDS:
      FBusy = 0;
      UpdateCommands();
      for (QMenu* menu : {MNU_File, MNU_View, MNU_Run, MNU_Breakpoints, MNU_Configure}) menu->setEnabled(true);
      break;
    default:
      break;
  }
}

// ---- Busy state ------------------------------------------------------------------

void TfrmMain::BeginBusy(const char* text) {
  SendMessage(MainForm(), UM_DISABLECOMMANDS, 0, 0);
  if (!FInputGuard) FInputGuard = std::make_unique<TBusyInputGuard>();
  StatusPanel->setText(StatusLine(text));
}

void TfrmMain::EndBusy() {
  SendMessage(MainForm(), UM_ENABLECOMMANDS, 0, 0);
  StatusPanel->clear();
  FInputGuard.reset();
}

// ---- Shut-down -------------------------------------------------------------------

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

void TfrmMain::BreakClearAllClick() {
  TheProtocol->ClearAllBreaks();
  BroadcastToViews(UM_REFRESH, 0, 0);
}

void EndProgram(TfrmMain* mainForm) {
  delete mainForm;
  delete TheConfiguration;
  TheConfiguration = nullptr;
}
