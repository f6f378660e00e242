#include "srcSource.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

#include "Configuration.h"
#include "Debug.h"
#include "DockSite.h"
#include "FileDialogs.h"
#include "FixedFont.h"
#include "MessageBox.h"
#include "ModalDialog.h"
#include "SettingsRegistry.h"
#include "SourceEditor.h"
#include "SourceGlyphs.h"
#include "SourceGutter.h"
#include "Symbols.h"
#include "Tgtz80.h"
#include "srcMain.h"
#include "srcOpenModule.h"

namespace {

constexpr uint16_t NO_MODULE = 0xFFFF;
const QString NoSource = QStringLiteral("/* No source file available */");

QString ModuleText(const char* text, std::size_t size) {
  return QFile::decodeName(QByteArray(text, static_cast<qsizetype>(qstrnlen(text, size))));
}

// A relative source name counts from the current folder, or else from the
// folder of the loaded object file, as after choosing that file in a dialog
// that moves the current folder there.
QString SourcePath(const QString& name) {
  const QFileInfo file(name);
  if (file.isFile() || !file.isRelative()) return name;
  std::string objectFile;
  TheDebug->GetLoadedFile(&objectFile, nullptr, nullptr);
  return QFileInfo(QFile::decodeName(QByteArray::fromStdString(objectFile))).dir().filePath(name);
}

// The name part of a source path as the object file wrote it, after the last
// folder separator or drive colon.
QString NamePart(const QString& path) {
  const qsizetype cut = std::max({path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')),
                                  path.lastIndexOf(QLatin1Char(':'))});
  return path.mid(cut + 1);
}

}  // namespace

TfrmSource::TfrmSource(QWidget* owner) : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmSource"));
  setMinimumSize(400, 160);
  setFont(FixedFont());

  txtSource = new TSourceEditor(this);
  txtSource->SetGlyphImages(SourceGlyphImages());
  txtSource->OnGutterClick = [this](int line) { ToggleLineBreak(line); };
  txtSource->OnSpecialLineColors = [this](int line, TColor& fg, TColor& bg) {
    return SpecialLineColors(line, fg, bg);
  };
  txtSource->OnAfterPaint = [this](int first, int last) { PaintGlyphs(first, last); };

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  mnuOpenSource = PopupMenu1->addAction(QStringLiteral("Open source..."));
  mnuOpenSource->setObjectName(QStringLiteral("mnuOpenSource"));
  connect(mnuOpenSource, &QAction::triggered, this, &TfrmSource::mnuOpenSourceClick);
  txtSource->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(txtSource, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(txtSource->mapToGlobal(at)); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  DockSite = new TDockSite(txtSource, QStringLiteral("Splitter1"), this);
  layout->addWidget(DockSite, 1);

  FStepper = std::make_unique<TSourceStepper>();
  resize(500, 300);
  RestoreWindowRect("Source", *this);
}

TfrmSource::~TfrmSource() {
  StoreWindowRect("Source", *this);
}

void TfrmSource::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case UM_TARGETRESET: UMTargetReset(); break;
    case UM_REFRESH: UMRefresh(); break;
    case UM_STOPPED: UMStopped(message.LParam); break;
    default: DispatchRunCommand(*this, message); break;
  }
}

void TfrmSource::LoadModuleSource(const TModuleEntry& module, bool full) {
  const QString source = ModuleText(module.SourceFile, sizeof module.SourceFile);
  const QString caption = ModuleText(module.ModuleName, sizeof module.ModuleName);
  const QString path = SourcePath(source);
  if (txtSource->LoadFromFile(path)) {
    setWindowTitle(caption);
  } else {
    TFileDialogRequest request;
    request.Title = QStringLiteral("Open source file");
    request.FileName = NamePart(source);
    const qsizetype dot = request.FileName.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) request.DefaultExt = request.FileName.mid(dot + 1);
    request.FileMustExist = true;
    if (ExecuteFileDialog(this, request) && txtSource->LoadFromFile(request.FileName))
      setWindowTitle(caption);
    else
      txtSource->SetLines(NoSource);
  }
  if (!full) return;
  SetPCLine(-1);
  FCurrentModule = static_cast<uint16_t>(module.ModuleNumber);
  txtSource->CaretToLine(1);
  RefreshDocked();
}

void TfrmSource::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfrmSource::FormShow() {
  FCurrentModule = NO_MODULE;
  uint32_t address = TheCpu->GetPC();
  const TScopeEntry* scope = TheDebug->FindScopeByAddress(address);
  if (!scope) {
    const TSymbolRecord* main = TheSymbols->FindByName(TheDebug->MainProcName.c_str(), false);
    if (!main) return;
    address = main->Value;
    scope = TheDebug->FindScopeByAddress(address);
  }
  if (scope)
    if (const TModuleEntry* module = TheDebug->GetModule(scope->ModuleNumber)) LoadModuleSource(*module);
  RefreshDocked();
}

void TfrmSource::closeEvent(QCloseEvent* event) {
  FStepper->DisarmLineBreaks(true);
  DockSite->CloseDocked();
  PostViewClosed(this);
  event->accept();
}

void TfrmSource::UMTargetReset() {
  FCurrentModule = NO_MODULE;
  FStepper->TargetReset();
  if (const TScopeEntry* scope = TheDebug->FindScopeByAddress(FStepper->MainAddress()))
    if (const TModuleEntry* module = TheDebug->GetModule(scope->ModuleNumber)) LoadModuleSource(*module);
  RefreshDocked();
}

void TfrmSource::UMRefresh() {
  txtSource->viewport()->update();
  RefreshDocked();
}

void TfrmSource::UMStopped(LPARAM lParam) {
  // Handles are small numbers that a PC may equal: only the stop this window
  // is sending itself is its own.
  if (FSendingOwnStop && lParam == static_cast<LPARAM>(Handle())) return;
  FStepper->Stopped();
  txtSource->InvalidateGutter();
  const uint32_t pc = SourcePC();
  if (const TLineEntry* entry = TheDebug->FindLineByAddress(pc)) {
    const int line = SourceTextLine(entry->Line);
    const TScopeEntry* scope = TheDebug->GetCurrentScope();
    if (scope && static_cast<uint16_t>(scope->ModuleNumber) != FCurrentModule) {
      if (const TModuleEntry* module = TheDebug->GetModule(scope->ModuleNumber)) {
        LoadModuleSource(*module, false);
        FCurrentModule = static_cast<uint16_t>(module->ModuleNumber);
        setWindowTitle(ModuleText(module->ModuleName, sizeof module->ModuleName));
      }
    }
    ShowLine(line);
  } else if (isActiveWindow()) {
    // No source line here: the CPU window shows the stop, and every other view follows it.
    SendMessage(MainForm(), UM_SHOWCPU, 0, 0);
    const QScopedValueRollback sending(FSendingOwnStop, true);
    SendMessage(MainForm(), UM_STOPPED, 0, static_cast<LPARAM>(Handle()));
  }
  RefreshDocked();
}

void TfrmSource::ShowLine(int line) {
  SetPCLine(line);
  txtSource->CaretToLine(line);
}

void TfrmSource::RunCommand(bool (TSourceStepper::*command)()) {
  if ((FStepper.get()->*command)()) PostMessage(MainForm(), UM_STOPPED, 0, 0);
}

void TfrmSource::GoToCursor() {
  if (FStepper->GoToCursor(FCurrentModule, static_cast<uint32_t>(CaretLine())))
    PostMessage(MainForm(), UM_STOPPED, 0, 0);
}

void TfrmSource::ToggleLineBreak(int line) {
  switch (ToggleSourceBreak(FCurrentModule, static_cast<uint32_t>(line))) {
    case TToggleResult::NoCode:
      MessageBox("Can't set a break point on this line.", "ERROR", MB_OK | MB_ICONSTOP);
      break;
    case TToggleResult::TableFull:
      MessageBox("Too many breaks.", "ERROR", MB_OK | MB_ICONSTOP);
      break;
    case TToggleResult::Toggled:
      SendMessage(MainForm(), UM_REFRESH, 0, 0);
      break;
  }
}

void TfrmSource::PaintGlyphs(int firstLine, int lastLine) {
  const int32_t executionLine = SourceExecutionLine(FCurrentModule);
  const int top = txtSource->TopLine();
  const int height = txtSource->LineHeight();
  for (int n = firstLine; n <= lastLine; ++n) {
    const int y = GlyphTop(n, top, height);
    if (n == executionLine) txtSource->DrawGlyph(n, 16, y, GLYPH_EXECUTION);
    switch (SourceLineGlyph(FCurrentModule, static_cast<uint32_t>(n))) {
      case TLineGlyph::None: break;
      case TLineGlyph::Code: txtSource->DrawGlyph(n, 2, y, GLYPH_CODE); break;
      case TLineGlyph::Break: txtSource->DrawGlyph(n, 2, y, GLYPH_BREAK); break;
      case TLineGlyph::Disabled: txtSource->DrawGlyph(n, 2, y, GLYPH_BREAK_DISABLED); break;
    }
  }
}

bool TfrmSource::SpecialLineColors(int line, uint32_t& foreground, uint32_t& background) const {
  if (line != FPCLine) return false;
  foreground = clWhite;
  background = clHighlight;
  return true;
}

void TfrmSource::SetPCLine(int32_t line) {
  const int32_t old = FPCLine;
  FPCLine = line;
  txtSource->InvalidateLine(old);
  txtSource->InvalidateLine(line);
  txtSource->InvalidateGutter();
}

int TfrmSource::CaretLine() const { return txtSource->CaretLine(); }

void TfrmSource::RefreshDocked() {
  if (QWidget* docked = DockSite->DockedControl())
    if (auto* receiver = dynamic_cast<TMessageReceiver*>(docked)) SendMessage(receiver->Handle(), UM_REFRESH);
}

void TfrmSource::mnuOpenSourceClick() {
  TfrmOpenModule dialog(this);
  if (ShowModal(dialog) == mrOk && dialog.FSelectedModule) LoadModuleSource(*dialog.FSelectedModule);
}

namespace {
// The main window opens it from its button and F3, once debug information is loaded.
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetViewFactory(TViewKind::Source, [](TfrmMain& owner) -> QWidget* {
    auto* form = new TfrmSource(&owner);
    form->show();
    return form;
  });
});
}  // namespace
