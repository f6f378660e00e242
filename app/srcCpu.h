#pragma once
#include <QMdiSubWindow>
#include <QRect>

#include <cstdint>
#include <optional>
#include <string>

#include "MessageBus.h"
#include "RunCommandTarget.h"
#include "SettingsRegistry.h"

class QMdiArea;
class QSplitter;
class TCodeInterior;
class TDockSite;
class TDumpInterior;
class TFlagsInterior;
class TRegsInterior;
class TStackInterior;

// The CPU window: the target at instruction level. Its code view shows the
// disassembly around the program counter; the register, flag, stack and dump
// views sit beside and below it, and the watch window may dock at its bottom.
// While it is the active child window it carries out the stepping and
// breakpoint commands.
//
// Layout: pnlCpu splits pnlTop (CodeArea, then the register and flag views,
// left to right) from pnlBottom (the dump view, then the stack view) with
// Splitter1; the dock site's pnlAppend and Splitter2 lie below pnlCpu.
//
// Messages: UM_TARGETRESET and UM_STOPPED follow the program counter,
// UM_REFRESH rebuilds every view, the run messages run their command.
class TfrmCpu : public QMdiSubWindow, public TMessageReceiver, public TRunCommandTarget {
 public:
  explicit TfrmCpu(QWidget* owner = nullptr);
  ~TfrmCpu() override;

  void Dispatch(TMessage& message) override;
  // Adds the window to the area at its stored place, kept within reach, and
  // shows it as it was stored (maximised or not).
  void ShowIn(QMdiArea& area);

  bool InstructionLevel() const override { return true; }
  bool TakesRunCommands() const override;
  void TraceInto() override;
  void StepOver() override;
  void ToggleBreak() override;
  void GoToCursor() override;
  void Go() override;

  // Components.
  QSplitter* pnlCpu;
  QWidget* pnlTop;
  QWidget* pnlBottom;
  TCodeInterior* CodeArea;
  TRegsInterior* RegsArea;
  TFlagsInterior* FlagsArea;
  TStackInterior* StackArea;
  TDumpInterior* DumpArea;
  TDockSite* DockSite;

  std::uint8_t FActive = 1;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  void KeepNormalGeometry();
  void UpdateActive();
  void UMStopped();
  void UMRefresh();
  // Every run command ends by telling the main window where the target stopped.
  void Stopped(std::uint32_t pc);

  void CodeAreaReadData(std::uint16_t area, std::uint32_t address, std::uint16_t count, std::uint8_t* buffer);
  void CodeAreaReadBreak(std::uint16_t area, std::uint32_t address, bool& state);
  void CodeAreaWriteBreak(std::uint16_t area, std::uint32_t address, int mode);
  void CodeAreaAssemble(std::uint16_t area, std::uint32_t address, const std::string& text, bool& done);
  void CodeAreaGetSource(std::uint32_t address, std::string& text, bool& done);
  void OnChange();
  // The geometry of the normal (not maximised) window, kept for the registry.
  QRect FNormalGeometry;
  // The stored geometry and window state, taken when the window is put in
  // its area, as only there the size it may have is known.
  std::optional<TWindowRect> FStoredPlacement;
  bool FStoredMaximised = false;
};
