// File > Open, Reload and Symbol load, and the monitor download the target
// asks for: the main window's side of program and monitor loading.
#include <QObject>
#include <QString>

#include <string>

#include "Configuration.h"
#include "Debug.h"
#include "FileDialogs.h"
#include "ImageLoad.h"
#include "MonitorLoad.h"
#include "Tgtz80.h"
#include "srcMain.h"
#include "srcPopupMsg.h"

namespace {

// TLoadFormat: the filter index of the open dialog. 1 to 8 are Brenlow's
// formats, 9 and 10 the object-file readers; -1 means none chosen yet.
constexpr int NoFormat = -1;
constexpr int FirstObjectFormat = 9;

const char* const LoadFilter =
    "IAR Symbolic (*.A?\?)|*.A?\?|"
    "Intel HEX & SYM (*.HEX;*.A?\?)|*.HEX;*.A?\?|"
    "Motorola HEX & SYM (*.HEX)|*.HEX|"
    "Intel HEX & M51 (*.HEX)|*.HEX|"
    "AD2500 HEX & SYM (*.HEX)|*.HEX|"
    "Toshiba HEX & SYM (*.HEX)|*.HEX|"
    "Avrasm HEX & LST (*.HEX)|*.HEX|"
    "Binary (*.BIN)|*.BIN|"
    "Mardyn (*.*)|*.*|"
    "Pellis (*.*)|*.*|";

// The download's progress in the main window's pop-up.
class TPopupProgress : public TMonitorProgress {
 public:
  explicit TPopupProgress(TPopupMsg* popup) : Popup(popup) {}
  void Show(const std::string& text, std::size_t maximum) override {
    Popup->SetMessage(QString::fromStdString(text));
    Popup->SetProgressMax(static_cast<int>(maximum));
    Popup->SetProgressPosition(0);
    Popup->ShowPopup(true);
  }
  void Update(const std::string& text, std::size_t position) override {
    Popup->SetProgressPosition(static_cast<int>(position));
    Popup->SetMessage(QString::fromStdString(text));
  }
  void Hide() override { Popup->HidePopup(); }

 private:
  TPopupMsg* Popup;
};

// The program chosen last and its format; lives as long as its main window.
class TProgramLoader : public QObject {
 public:
  explicit TProgramLoader(TfrmMain& main) : QObject(&main), Main(main) {}

  void Open() {
    FLoadFormat = NoFormat;
    FProgramFile.clear();
    LoadProgramFile(true);
  }

  // Asks for the file and its format first when none was chosen yet.
  void LoadProgramFile(bool loadCode) {
    if (FLoadFormat == NoFormat && !Choose()) return;
    if (FLoadFormat >= FirstObjectFormat) {
      TheDebug->LoadProgram(FProgramFile, loadCode ? 1 : 0, static_cast<uint8_t>(FLoadFormat));
    } else {
      switch (LoadProgramImage(FProgramFile, FLoadFormat, loadCode)) {
        case TImageLoadResult::NotBound:
          return;
        case TImageLoadResult::FileNotFound:
          // The next Reload asks again.
          FLoadFormat = NoFormat;
          FProgramFile.clear();
          return;
        case TImageLoadResult::Loaded:
          break;
      }
    }
    Main.BroadcastToViews(UM_REFRESH, 0, 0);
  }

  void LoadMonitor() {
    const std::string file = MonitorFileName(TheCpu->CpuType);
    if (file.empty()) return;
    TPopupProgress progress(Main.StatusMessage);
    ::LoadMonitor(file, progress);
  }

 private:
  bool Choose() {
    TFileDialogRequest request;
    request.Title = QStringLiteral("Load file");
    request.Filter = QString::fromLatin1(LoadFilter);
    request.FilterIndex = 1;
    request.FileMustExist = true;
    if (!ExecuteFileDialog(&Main, request)) return false;
    FLoadFormat = request.FilterIndex;
    FProgramFile = request.FileName.toStdString();
    return true;
  }

  TfrmMain& Main;
  std::string FProgramFile;
  int FLoadFormat = NoFormat;
};

const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  auto* loader = new TProgramLoader(main);
  main.SetCommandHandler(TCommand::FileOpen, [loader](QAction*) { loader->Open(); });
  main.SetCommandHandler(TCommand::FileReload, [loader](QAction*) { loader->LoadProgramFile(true); });
  main.SetCommandHandler(TCommand::FileSymbol, [loader](QAction*) { loader->LoadProgramFile(false); });
  main.SetMonitorLoader([loader] { loader->LoadMonitor(); });
});

}  // namespace
