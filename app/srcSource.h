#pragma once
#include <QWidget>

#include <cstdint>
#include <memory>

#include "MessageBus.h"
#include "RunCommandTarget.h"
#include "SourceStepper.h"

class QAction;
class QMenu;
class TDockSite;
class TSourceEditor;
struct TModuleEntry;

// The source window: the C source of one module of the loaded object file,
// with the execution line and the lines that carry code or breakpoints marked
// in the gutter, carrying out the run commands at source level while the CPU
// window is not the active one. One at a time; the main window opens it only
// once an object file with debug information was loaded.
//
// Messages: UM_TARGETRESET, UM_REFRESH, UM_STOPPED (lParam: the PC after a
// CPU-window command, 0 after a source-level one, or this window's own handle
// on the stop it sends on after asking for the CPU window, ignored here),
// UM_TRACEINTO, UM_STEPOVER, UM_TOGGLEBREAK, UM_GOTOCURSOR, UM_GO.
class TfrmSource : public QWidget, public TMessageReceiver, public TRunCommandTarget {
 public:
  explicit TfrmSource(QWidget* owner);
  ~TfrmSource() override;

  void Dispatch(TMessage& message) override;

  // The commands come here whenever the CPU window does not take them.
  bool TakesRunCommands() const override { return true; }
  void TraceInto() override { RunCommand(&TSourceStepper::TraceInto); }
  void StepOver() override { RunCommand(&TSourceStepper::StepOver); }
  void ToggleBreak() override { ToggleLineBreak(CaretLine()); }
  void GoToCursor() override;
  void Go() override { RunCommand(&TSourceStepper::Go); }

  // Shows a module's source; with full, also forgets the execution line,
  // makes the module current and puts the caret on its first line.
  void LoadModuleSource(const TModuleEntry& module, bool full = true);

  uint16_t CurrentModule() const { return FCurrentModule; }
  int32_t PCLine() const { return FPCLine; }

  TSourceEditor* txtSource;
  // pnlAppend and Splitter1 below the text: the watch window docks there.
  TDockSite* DockSite;
  QMenu* PopupMenu1;
  QAction* mnuOpenSource;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormShow();
  void UMTargetReset();
  void UMRefresh();
  void UMStopped(LPARAM lParam);
  void RunCommand(bool (TSourceStepper::*command)());

  void ToggleLineBreak(int line);
  void PaintGlyphs(int firstLine, int lastLine);
  bool SpecialLineColors(int line, uint32_t& foreground, uint32_t& background) const;
  void SetPCLine(int32_t line);
  void ShowLine(int line);
  int CaretLine() const;
  void RefreshDocked();
  void mnuOpenSourceClick();

  std::unique_ptr<TSourceStepper> FStepper;
  uint16_t FCurrentModule = 0xFFFF;
  int32_t FPCLine = -1;
  bool FSendingOwnStop = false;
};
