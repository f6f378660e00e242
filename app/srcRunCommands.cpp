// The Run and Breakpoints commands of the main window and File > "Unasm to
// file...". Stepping, running to the cursor, going and toggling a breakpoint
// go to the window that takes run commands (the CPU window while it is the
// active child, otherwise the source window); the others drive the target
// from here.
#include <QAction>
#include <QFile>
#include <QMenu>

#include <cstdio>
#include <string>

#include "CodeListing.h"
#include "Configuration.h"
#include "FileDialogs.h"
#include "InputQuery.h"
#include "Inputdialogs.h"
#include "KeyState.h"
#include "MainFormMessages.h"
#include "MessageBox.h"
#include "Protocol.h"
#include "RegularFile.h"
#include "RunCommandTarget.h"
#include "Tgtz80.h"
#include "TickCount.h"
#include "Utility.h"
#include "srcMain.h"

namespace {

using TTargetCommand = void (TRunCommandTarget::*)();

constexpr int ProgressInterval = 500;

short AbortKey() { return VkKeyScan('h'); }
bool AbortPressed() { return GetAsyncKeyState(AbortKey()) & 0x8001; }

void SendToTarget(TTargetCommand command) {
  if (TRunCommandTarget* target = RunCommandTarget()) (target->*command)();
}

// The input box of Go to address and Go from; false for an empty answer or
// one the parser refused (it has said why).
bool AskAddress(const char* caption, std::uint32_t& value) {
  std::string answer;
  if (!InputQuery(caption, "Address :", answer, 0) || answer.empty()) return false;
  return ParseArgs("D", answer.c_str(), &value, sizeof value) == 0;
}

void AutoStep(TfrmMain& main, TTargetCommand command, const char* text) {
  SendMessage(MainForm(), UM_DISABLECOMMANDS);
  SendBeginBusy(text);
  AbortPressed();  // forget a press from before
  while (!AbortPressed()) {
    SendToTarget(command);
    main.repaint();
  }
  SendMessage(MainForm(), UM_ENDBUSY);
  SendMessage(MainForm(), UM_ENABLECOMMANDS);
}

std::string ListingProgress(std::uint32_t address) {
  char text[80];
  std::snprintf(text, sizeof text, "Saving assemble at address [%08X]. Press <H> to quit load", address);
  return text;
}

void UnasmToFile(TfrmMain& main) {
  std::string answer;
  if (!InputQueryDialog("Unassemble to file", "Start, End addresses:", answer, 0, 0)) return;
  std::uint32_t range[2] = {};
  if (ParseArgs("D,D", answer.c_str(), range, sizeof range) != 0) return;
  TFileDialogRequest request;
  request.Save = true;
  request.Title = QStringLiteral("Unassemble to file");
  request.DefaultExt = QStringLiteral("asm");
  request.Filter = QStringLiteral("Assembler file (*.asm)|*.asm|Text file (*.txt)|*.txt|All files (*.*)|*.*");
  if (!ExecuteFileDialog(&main, request)) return;
  std::FILE* out = CreateUserFile(QFile::encodeName(request.FileName).toStdString());
  if (!out) {
    MessageBox("Unable to create file!", "ERROR", MB_OK | MB_ICONSTOP);
    return;
  }

  SendBeginBusy(ListingProgress(range[0]));
  std::uint32_t deadline = GetTickCount() + ProgressInterval;
  AbortPressed();
  const bool listed = TCodeListing::Write(
      out, range[0], range[1],
      [](std::uint32_t address, std::uint8_t count, std::uint8_t* code) {
        TheProtocol->ReadMemory(1, address, count, code);
      },
      [&deadline](std::uint32_t next) {
        if (GetTickCount() <= deadline) return true;
        if (AbortPressed()) return false;
        SendStatusText(ListingProgress(next));
        deadline = GetTickCount() + ProgressInterval;
        return true;
      });
  // Buffered lines may fail only when fclose writes them out.
  const bool closed = std::fclose(out) == 0;
  SendMessage(MainForm(), UM_ENDBUSY);
  if (!listed || !closed) MessageBox("Cannot write file!", "ERROR", MB_OK | MB_ICONSTOP);
}

void Install(TfrmMain& main) {
  const auto target = [&main](TCommand command, TTargetCommand run) {
    main.SetCommandHandler(command, [run](QAction*) { SendToTarget(run); });
  };
  target(TCommand::RunGo, &TRunCommandTarget::Go);
  target(TCommand::RunTraceInto, &TRunCommandTarget::TraceInto);
  target(TCommand::RunStepOver, &TRunCommandTarget::StepOver);
  target(TCommand::RunGoToCursor, &TRunCommandTarget::GoToCursor);
  target(TCommand::BreakToggle, &TRunCommandTarget::ToggleBreak);

  main.SetCommandHandler(TCommand::RunAssemblerStep, [](QAction*) {
    std::uint32_t pc = 0;
    TheProtocol->Step(pc);
    SendMessage(MainForm(), UM_STOPPED, 0, static_cast<LPARAM>(pc));
  });
  main.SetCommandHandler(TCommand::RunReset, [&main](QAction*) {
    std::uint32_t pc = 0;
    TheProtocol->Reset(pc);
    main.BroadcastToViews(UM_TARGETRESET, 0, static_cast<LPARAM>(pc));
  });
  main.SetCommandHandler(TCommand::RunResetGo, [&main](QAction*) {
    std::uint32_t pc = 0;
    TheProtocol->Reset(pc);
    TheProtocol->Go(pc, 1);
    main.BroadcastToViews(UM_STOPPED, 0, static_cast<LPARAM>(pc));
  });
  main.SetCommandHandler(TCommand::RunGoToAddress, [&main](QAction*) {
    std::uint32_t address = 0;
    if (!AskAddress("GOTO ADDRESS", address)) return;
    TheProtocol->GoTo(address);
    Sleep(100);
    main.BroadcastToViews(UM_STOPPED, 0, 0);
  });
  main.SetCommandHandler(TCommand::RunGoFrom, [&main](QAction*) {
    std::uint32_t address = 0;
    if (!AskAddress("GO FROM ADDRESS", address)) return;
    // The other registers are written back as the target holds them.
    TheCpu->GetPC();
    TheCpu->SetPC(static_cast<std::uint16_t>(address));
    TheProtocol->WriteRegisters();
    TheProtocol->Go(address, 1);
    Sleep(100);
    main.BroadcastToViews(UM_STOPPED, 0, 0);
  });
  main.SetCommandHandler(TCommand::RunAutoTraceInto, [&main](QAction*) {
    AutoStep(main, &TRunCommandTarget::TraceInto, "Press <H> to stop auto trace into");
  });
  main.SetCommandHandler(TCommand::RunAutoStepOver, [&main](QAction*) {
    AutoStep(main, &TRunCommandTarget::StepOver, "Press <H> to stop auto step over");
  });
  main.SetCommandHandler(TCommand::UnasmToFile, [&main](QAction*) { UnasmToFile(main); });

  // The stepping keys work from every window, the tool windows included.
  for (QMenu* menu : {main.MNU_Run, main.MNU_Breakpoints})
    for (QAction* action : menu->actions()) action->setShortcutContext(Qt::ApplicationShortcut);
}

const bool installed = TfrmMain::AddWindowUnit(Install);

}  // namespace
