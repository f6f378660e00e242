// How the main window makes and keeps contact with the target: the idle
// poll, the set-up after the first answer, the commands the target's
// capabilities switch, and the events the target raises.
#include <QAction>
#include <QLabel>
#include <QMenu>

#include <cstdio>

#include "Configuration.h"
#include "MainFormMessages.h"
#include "MessageBox.h"
#include "Protocol.h"
#include "TickCount.h"
#include "Utility.h"
#include "srcMain.h"

namespace {

constexpr std::uint32_t PollRunning = 0xFFFFFFFF;

TCapabilities* Capabilities() {
  TCapabilities* capabilities = nullptr;
  TheProtocol->GetCapabilities(capabilities);
  return capabilities;
}

}  // namespace

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
  if (capabilities->HwLinesOffset == NO_TABLE) SetLacking(MNU_ConfigureExternals);
  if (capabilities->TraceOffset == NO_TABLE) {
    SetLacking(MNU_ViewTrace);
    SetLacking(MNU_ConfigureTrace);
    SetLacking(TLB_ViewTrace);
  }
  if (capabilities->CpuSettingsOffset == NO_TABLE) SetLacking(MNU_ConfigureCpu);

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
    FCommandOf[item] = TCommand::ConfigureMemory;
    connect(item, &QAction::triggered, this, [this, item] { RunCommand(TCommand::ConfigureMemory, item); });
    UpdateCommand(item);
  }
}

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
      if (FMonitorLoader) FMonitorLoader();
      // The next successful poll sets the connection up again, firmware check included.
      FConnected = 0;
      unsetCursor();
      break;
    default:
      break;
  }
}
