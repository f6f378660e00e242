#include "srcCpu.h"

#include <QCloseEvent>
#include <QApplication>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QSplitter>
#include <QSplitterHandle>
#include <QtEndian>

#include <algorithm>
#include <vector>

#include "CodeInterior.h"
#include "Configuration.h"
#include "Debug.h"
#include "DockSite.h"
#include "DumpInterior.h"
#include "FixedFont.h"
#include "FlagsInterior.h"
#include "Inputdialogs.h"
#include "MessageBox.h"
#include "Protocol.h"
#include "RegsInterior.h"
#include "SettingsRegistry.h"
#include "StackInterior.h"
#include "Tgtz80.h"
#include "WindowReach.h"
#include "srcMain.h"

namespace {

constexpr int SplitterWidth = 3;
constexpr std::uint32_t MaxRead = 255;

// The "Cpu" value: left, top, width, height and the maximised flag, each a
// signed 32-bit little-endian number.
constexpr std::size_t PlacementSize = 20;

bool ReadPlacement(TWindowRect& rect, bool& maximised) {
  unsigned char bytes[PlacementSize];
  if (!Registry().ReadBinary(RegistryKey, "Cpu", bytes, sizeof bytes)) return false;
  rect = TWindowRect{qFromLittleEndian<std::int32_t>(bytes), qFromLittleEndian<std::int32_t>(bytes + 4),
                     qFromLittleEndian<std::int32_t>(bytes + 8), qFromLittleEndian<std::int32_t>(bytes + 12)};
  maximised = qFromLittleEndian<std::int32_t>(bytes + 16) != 0;
  return true;
}

void WritePlacement(const TWindowRect& rect, bool maximised) {
  unsigned char bytes[PlacementSize];
  qToLittleEndian<std::int32_t>(rect.Left, bytes);
  qToLittleEndian<std::int32_t>(rect.Top, bytes + 4);
  qToLittleEndian<std::int32_t>(rect.Width, bytes + 8);
  qToLittleEndian<std::int32_t>(rect.Height, bytes + 12);
  qToLittleEndian<std::int32_t>(maximised ? 1 : 0, bytes + 16);
  Registry().WriteBinary(RegistryKey, "Cpu", bytes, sizeof bytes);
}

QHBoxLayout* RowLayout(QWidget* panel) {
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  return layout;
}

}  // namespace

TfrmCpu::TfrmCpu(QWidget* owner) : QMdiSubWindow(owner) {
  setObjectName(QStringLiteral("frmCpu"));
  setWindowTitle(QString::fromStdString(TheCpu->CpuName));
  setFont(FixedFont());
  resize(601, 420);
  setMinimumSize(514, 326);

  pnlCpu = new QSplitter(Qt::Vertical);
  pnlCpu->setObjectName(QStringLiteral("pnlCpu"));
  pnlCpu->setMinimumHeight(306);
  pnlCpu->setHandleWidth(SplitterWidth);
  pnlCpu->setChildrenCollapsible(false);
  pnlTop = new QWidget;
  pnlTop->setObjectName(QStringLiteral("pnlTop"));
  RowLayout(pnlTop);
  pnlBottom = new QWidget;
  pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
  pnlBottom->setMinimumHeight(70);
  pnlBottom->setMaximumHeight(267);
  RowLayout(pnlBottom);
  pnlCpu->addWidget(pnlTop);
  pnlCpu->addWidget(pnlBottom);
  pnlCpu->setStretchFactor(0, 1);
  pnlCpu->setStretchFactor(1, 0);
  pnlCpu->handle(1)->setObjectName(QStringLiteral("Splitter1"));
  pnlCpu->setSizes({248, 115});

  CodeArea = new TCodeInterior;
  CodeArea->setObjectName(QStringLiteral("CodeArea"));
  pnlTop->layout()->addWidget(CodeArea);
  RegsArea = new TRegsInterior;
  RegsArea->setObjectName(QStringLiteral("RegsArea"));
  RegsArea->setFixedWidth(121);
  pnlTop->layout()->addWidget(RegsArea);
  FlagsArea = new TFlagsInterior;
  FlagsArea->setObjectName(QStringLiteral("FlagsArea"));
  FlagsArea->setFixedWidth(49);
  pnlTop->layout()->addWidget(FlagsArea);
  DumpArea = new TDumpInterior;
  DumpArea->setObjectName(QStringLiteral("DumpArea"));
  pnlBottom->layout()->addWidget(DumpArea);
  StackArea = new TStackInterior;
  StackArea->setObjectName(QStringLiteral("StackArea"));
  StackArea->setFixedWidth(174);
  pnlBottom->layout()->addWidget(StackArea);

  DockSite = new TDockSite(pnlCpu, QStringLiteral("Splitter2"), nullptr);
  setWidget(DockSite);
  setFocusProxy(CodeArea);

  connect(this, &QMdiSubWindow::windowStateChanged, this, &TfrmCpu::UpdateActive);
  FormCreate();
}

void TfrmCpu::FormCreate() {
  FNormalGeometry = geometry();
  TWindowRect placement;
  if (ReadPlacement(placement, FStoredMaximised)) FStoredPlacement = placement;

  CodeArea->SetHMargin(18);
  CodeArea->SetScrollBars(ssBoth);
  CodeArea->SetBorderStyle(TScroller::bsSingle);
  CodeArea->SetCtl3D(true);
  CodeArea->SetColor(clWhite);
  CodeArea->AddressColor = 0xFFDFB5;
  CodeArea->OnReadData = [this](QObject*, std::uint16_t area, std::uint32_t address, std::uint16_t count,
                                std::uint8_t* buffer) { CodeAreaReadData(area, address, count, buffer); };
  CodeArea->OnReadBreak = [this](QObject*, std::uint16_t area, std::uint32_t address, bool& state) {
    CodeAreaReadBreak(area, address, state);
  };
  CodeArea->OnWriteBreak = [this](QObject*, std::uint16_t area, std::uint32_t address, int mode) {
    CodeAreaWriteBreak(area, address, mode);
  };
  CodeArea->OnReadPC = [](QObject*, std::uint32_t& address) { address = TheCpu->GetPC(); };
  CodeArea->OnWritePC = [](QObject*, std::uint32_t address) {
    TheCpu->SetPC(static_cast<std::uint16_t>(address));
    TheProtocol->WriteRegisters();
  };
  CodeArea->OnAssemble = [this](QObject*, std::uint16_t area, std::uint32_t address, const std::string& text,
                                bool& done) { CodeAreaAssemble(area, address, text, done); };
  CodeArea->OnGetSource = [this](QObject*, std::uint16_t, std::uint32_t address, std::string& text, bool& done) {
    CodeAreaGetSource(address, text, done);
  };
  CodeArea->OnChange = [this](QObject*) { OnChange(); };
  RegsArea->SetColor(clWhite);
  RegsArea->SetScrollBars(ssVertical);
  RegsArea->OnChange = [this](QObject*) { OnChange(); };
  FlagsArea->SetColor(clWhite);
  FlagsArea->OnChange = [this](QObject*) { OnChange(); };
  StackArea->SetColor(clWhite);
  StackArea->SetScrollBars(ssVertical);
  StackArea->SetHMargin(16);
  StackArea->SetDataMode(TStackInterior::DATA16);
  StackArea->AddrColor = 0xFFDFB5;
  StackArea->OnChange = [this](QObject*) { OnChange(); };
  CodeArea->SetAddrMode(static_cast<TCodeInterior::TAddrMode>(TheCpu->AddrMode));

  DumpArea->SetScrollBars(ssBoth);
  DumpArea->SetBorderStyle(TScroller::bsSingle);
  DumpArea->SetColor(clWhite);
  DumpArea->SetAddressColor(0xFFDFB5);
  DumpArea->OnChange = [this](QObject*) { OnChange(); };
  DumpArea->SetAddrMode(static_cast<TDumpInterior::TAddrMode>(TheCpu->AddrMode));
  DumpArea->SetDataMode(TDumpInterior::BYTEx8);
}

TfrmCpu::~TfrmCpu() {
  // The sub-window reports its last state change from its own destructor,
  // when this part of the object is gone.
  disconnect(this, &QMdiSubWindow::windowStateChanged, this, nullptr);
  // The engine may be gone by now: only the registry is touched.
  TWindowRect old;
  bool oldMaximised = false;
  const bool maximised = isMaximized();
  if (maximised && ReadPlacement(old, oldMaximised))
    WritePlacement(old, true);
  else
    WritePlacement(TWindowRect{FNormalGeometry.x(), FNormalGeometry.y(), FNormalGeometry.width(),
                               FNormalGeometry.height()},
                   maximised);
}

void TfrmCpu::ShowIn(QMdiArea& area) {
  area.addSubWindow(this);
  // The area puts a new child where it overlaps the others least; a stored
  // place holds, no larger than the area and moved only as far as it needs.
  if (FStoredPlacement) {
    const TWindowRect& stored = *FStoredPlacement;
    setGeometry(GeometryInReach(QPoint(stored.Left, stored.Top), QSize(stored.Width, stored.Height),
                                area.viewport()->rect(), *this));
    FNormalGeometry = geometry();
  }
  // Only a child already in its area fills it when maximised and keeps the
  // geometry that it had as the one to restore.
  if (FStoredMaximised)
    showMaximized();
  else
    show();
}

void TfrmCpu::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case UM_TARGETRESET:
    case UM_STOPPED: UMStopped(); break;
    case UM_REFRESH: UMRefresh(); break;
    default: DispatchRunCommand(*this, message); break;
  }
}

void TfrmCpu::UpdateActive() { FActive = windowState() & Qt::WindowActive ? 1 : 0; }

bool TfrmCpu::TakesRunCommands() const {
  // A tool window of its own with the focus (the source window) takes the
  // commands. With no window of the program focused, as after a dialog closed
  // on a display without a window manager, a press on the tool bar still
  // means this window.
  const QWidget* focused = QApplication::activeWindow();
  return FActive != 0 && (!focused || focused == window());
}

void TfrmCpu::closeEvent(QCloseEvent* event) {
  DockSite->CloseDocked();
  QMdiSubWindow::closeEvent(event);
  PostViewClosed(this);
  event->accept();
}

void TfrmCpu::moveEvent(QMoveEvent* event) {
  QMdiSubWindow::moveEvent(event);
  KeepNormalGeometry();
}

void TfrmCpu::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  KeepNormalGeometry();
}

void TfrmCpu::KeepNormalGeometry() {
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) FNormalGeometry = geometry();
}

// ---- Views ------------------------------------------------------------------------

void TfrmCpu::UMStopped() {
  CodeArea->Stopped();
  RegsArea->Refresh();
  FlagsArea->Refresh();
  StackArea->Stopped();
  DumpArea->Refresh();
  if (QWidget* docked = DockSite->DockedControl())
    if (auto* receiver = dynamic_cast<TMessageReceiver*>(docked)) SendMessage(receiver->Handle(), UM_REFRESH);
}

void TfrmCpu::UMRefresh() {
  CodeArea->Refresh();
  RegsArea->Refresh();
  FlagsArea->Refresh();
  StackArea->Refresh();
  DumpArea->Refresh();
  if (QWidget* docked = DockSite->DockedControl())
    if (auto* receiver = dynamic_cast<TMessageReceiver*>(docked)) SendMessage(receiver->Handle(), UM_REFRESH);
}

void TfrmCpu::OnChange() { SendMessage(MainForm(), UM_REFRESH); }

void TfrmCpu::CodeAreaReadData(std::uint16_t area, std::uint32_t address, std::uint16_t count, std::uint8_t* buffer) {
  // A view taller than 63 lines asks for more than one transfer carries.
  for (std::uint32_t left = count; left > 0;) {
    const std::uint32_t n = std::min(left, MaxRead);
    TheProtocol->ReadMemory(static_cast<std::uint8_t>(area), address, static_cast<std::uint8_t>(n), buffer);
    address += n;
    buffer += n;
    left -= n;
  }
}

void TfrmCpu::CodeAreaReadBreak(std::uint16_t area, std::uint32_t address, bool& state) {
  const std::uint32_t a = TheCpu->CurrentBankAddress(area, address);
  TBreakEntry entry{};
  state = TheProtocol->ReadBreak(static_cast<std::uint8_t>(area | AREA_PROGRAM), a, entry) != NO_BREAK;
}

void TfrmCpu::CodeAreaWriteBreak(std::uint16_t area, std::uint32_t address, int mode) {
  const std::uint32_t a = TheCpu->CurrentBankAddress(area, address);
  if (TheProtocol->WriteBreak(static_cast<std::uint8_t>(mode), static_cast<std::uint8_t>(area | AREA_PROGRAM), a) ==
      NO_BREAK)
    MessageBox("Too many breaks.", "ERROR", MB_OK | MB_ICONSTOP);
  else
    SendMessage(MainForm(), UM_REFRESH);
}

void TfrmCpu::CodeAreaAssemble(std::uint16_t area, std::uint32_t address, const std::string& text, bool& done) {
  std::string answer = text;
  if (!InputQueryDialog("Assemble line", "Source line:", answer, 0, 0)) return;
  std::vector<char> source(answer.begin(), answer.end());
  source.push_back('\0');
  std::uint8_t code[16] = {};
  const std::uint16_t length = TheCpu->Assemble(address, source.data(), code);
  if (length == 0) return;
  TheProtocol->WriteMemory(static_cast<std::uint8_t>(area), address, static_cast<std::uint8_t>(length), code);
  done = true;
}

void TfrmCpu::CodeAreaGetSource(std::uint32_t address, std::string& text, bool& done) {
  done = false;
  if (!TheDebug->GetLoadedFile(nullptr, nullptr, nullptr)) return;
  const TScopeEntry* scope = TheDebug->FindScopeByAddress(address);
  const TLineEntry* line = TheDebug->FindLineByAddress(address);
  if (!scope || !line || line->Address != address || scope->ModuleNumber == 255) return;
  const TModuleEntry* module = TheDebug->GetModule(scope->ModuleNumber);
  if (!module) return;
  text = "#" + std::string(module->ModuleName, qstrnlen(module->ModuleName, sizeof module->ModuleName)) + "#" +
         std::to_string(line->Line);
  done = true;
}

// ---- Run commands -------------------------------------------------------------------

void TfrmCpu::Stopped(std::uint32_t pc) { SendMessage(MainForm(), UM_STOPPED, 0, static_cast<LPARAM>(pc)); }

void TfrmCpu::TraceInto() {
  std::uint32_t pc = 0;
  TheProtocol->Step(pc);
  Stopped(pc);
}

void TfrmCpu::Go() {
  std::uint32_t pc = 0;
  TheProtocol->Go(pc, 1);
  Stopped(pc);
}

void TfrmCpu::GoToCursor() {
  std::uint32_t pc = CodeArea->CurrAddr();
  TheProtocol->GoTo(pc);
  Stopped(pc);
}

void TfrmCpu::StepOver() {
  std::uint8_t code[4] = {};
  const std::uint32_t at = TheCpu->GetPC();
  TheProtocol->ReadMemory(static_cast<std::uint8_t>(CodeArea->Area()), at, TheCpu->MaxInstrSize, code);
  std::uint32_t target = 0;
  const std::uint8_t operands = TheCpu->GetCallTarget(code, at, target);
  std::uint32_t pc = 0;
  if (operands != 0) {
    // The target runs to the instruction after the call, which follows a
    // call at the top of memory at its bottom.
    pc = TheCpu->MaskAddress(CodeArea->Area(), at + operands + 1);
    TheProtocol->GoTo(pc);
  } else {
    TheProtocol->Step(pc);
  }
  Stopped(pc);
}

void TfrmCpu::ToggleBreak() { CodeArea->BreakToggle(); }

// ---- Factory ------------------------------------------------------------------------

namespace {

const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetViewFactory(TViewKind::Cpu, [](TfrmMain& owner) -> QWidget* {
    auto* form = new TfrmCpu;
    form->ShowIn(*owner.MdiArea());
    form->CodeArea->Stopped();
    form->CodeArea->setFocus();
    return form;
  });
});

}  // namespace
