#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QSplitter>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "CodeInterior.h"
#include "Debug.h"
#include "DockSite.h"
#include "FileDialogAnswers.h"
#include "FileSizeLimit.h"
#include "InputAnswers.h"
#include "InputQuery.h"
#include "MainWindowFixture.h"
#include "MemoryRegistry.h"
#include "NonRegularFile.h"
#include "Protocol.h"
#include "RunCommandTarget.h"
#include "SettingsRegistry.h"
#include "TargetPokes.h"
#include "srcCpu.h"

namespace {

// Answers the address box of the run commands with one text and keeps what each box asked.
struct TAddressAnswer {
  explicit TAddressAnswer(std::string answer)
      : Previous(SetInputQueryHandler([this, answer](const char* caption, const char* prompt, std::string& value, int) {
          Asked.push_back(std::string(caption) + "|" + prompt + "|" + value);
          value = answer;
          return true;
        })) {}
  ~TAddressAnswer() { SetInputQueryHandler(std::move(Previous)); }
  std::vector<std::string> Asked;
  TInputQueryHandler Previous;
};

class CpuWindowTest : public MainWindowTest {
 public:
  using MainWindowTest::Boxes;
  using MainWindowTest::Form;

  void SetUp() override {
    MainWindowTest::SetUp();
    Form->resize(900, 700);
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    Connect();
    Cpu = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
    ASSERT_NE(Cpu, nullptr);
    Code = Cpu->CodeArea;
  }

  void Poke(uint32_t address, std::vector<uint8_t> bytes) {
    TheProtocol->WriteMemory(1, address, static_cast<uint8_t>(bytes.size()), bytes.data());
  }
  // The code view's row as it stands on screen, trailing blanks cut.
  std::string Row(int row) {
    Code->Update();
    return Code->Canvas()->GridLine(row).trimmed().toStdString();
  }
  std::string Glyph(int row) {
    Code->Update();
    return Code->Canvas()->GridGlyph(row).toStdString();
  }
  void Press(int x, int row) {
    QTest::mouseClick(Code->viewport(), Qt::LeftButton, {}, QPoint(x, row * Code->GetLineHeight() + 5));
  }

  // Closes the CPU window, lets the main window free it, and opens it anew,
  // on the stored value given.
  void Reopen(const std::vector<int32_t>& stored = {}) {
    Cpu->close();
    QCoreApplication::processEvents();
    if (!stored.empty()) Store.WriteBinary(RegistryKey, "Cpu", stored.data(), stored.size() * sizeof stored[0]);
    Form->TLB_ViewCpu->trigger();
    Cpu = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
    QCoreApplication::processEvents();
  }

  TMemoryRegistry Store;
  TfrmCpu* Cpu = nullptr;
  TCodeInterior* Code = nullptr;
};

TEST_F(CpuWindowTest, OpensAtConnectionWithTheArrowOnTheProgramCounter) {
  EXPECT_EQ(Cpu->windowTitle(), QStringLiteral("Z80"));
  EXPECT_EQ(Form->MdiArea()->subWindowList(), QList<QMdiSubWindow*>{Cpu});
  EXPECT_TRUE(Form->TLB_ViewCpu->isChecked());
  EXPECT_EQ(Form->ViewCount(), 1);
  EXPECT_EQ(Cpu->focusWidget(), Code);
  EXPECT_EQ(Row(0), "0000:00" + std::string(24, ' ') + "NOP");
  EXPECT_EQ(Glyph(0), "IMG_CURRPC");
  EXPECT_EQ(Glyph(1), "");
  EXPECT_EQ(Cpu->pnlBottom->height(), 115);
}

TEST_F(CpuWindowTest, MarginPressTogglesTheBreakpointUpToSixteenAndTextPressOnlyMovesTheCursor) {
  Press(11, 2);
  EXPECT_EQ(Code->CursorRow(), 2);
  EXPECT_EQ(Glyph(2), "");
  Press(10, 3);
  EXPECT_EQ(Code->CursorRow(), 3);
  EXPECT_EQ(Glyph(3), "IMG_BREAK");
  TBreakEntry entry;
  EXPECT_NE(TheProtocol->ReadBreak(0x81, 3, entry), NO_BREAK);
  SendMessage(Cpu->Handle(), UM_TOGGLEBREAK);
  EXPECT_EQ(Glyph(3), "");
  Press(10, 0);
  EXPECT_EQ(Glyph(0), "IMG_BRKPC");
  EXPECT_TRUE(Boxes.Messages.empty());
  for (uint32_t i = 0; i < 15; ++i) TheProtocol->WriteBreak(1, 0x81, 0x100 + i);
  Press(10, 1);
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "Too many breaks.");
  EXPECT_EQ(Boxes.Messages[0].Caption, "ERROR");
  EXPECT_EQ(TheProtocol->ReadBreak(0x81, 1, entry), NO_BREAK);
}

TEST_F(CpuWindowTest, ATallCodeViewReadsItsCodeInPiecesATransferCarries) {
  Cpu->showMaximized();
  Form->resize(900, 1400);
  QCoreApplication::processEvents();
  ASSERT_GT(Code->GetNumLines(), 63);
  ProtocolScript().Transfers.clear();
  Code->Refresh();
  const uint32_t bytes = 4 * (Code->GetNumLines() + 1);
  ASSERT_EQ(ProtocolScript().Transfers.size(), 2u);
  EXPECT_EQ(ProtocolScript().Transfers[0].Count, 255u);
  EXPECT_EQ(ProtocolScript().Transfers[1].Address, 255u);
  EXPECT_EQ(ProtocolScript().Transfers[1].Count, bytes - 255);
}

TEST_F(CpuWindowTest, TypedLetterStartsTheLineAssembler) {
  Poke(0, {0xFF, 0xFF});
  SendMessage(Form->Handle(), UM_REFRESH);
  TInputAnswers answers({"nop", std::nullopt});
  QTest::keyClick(Code, Qt::Key_N);
  ASSERT_EQ(answers.Shown.size(), 1u);
  EXPECT_EQ(answers.Shown[0].Caption, "Assemble line");
  EXPECT_EQ(answers.Shown[0].Prompt, "Source line:");
  EXPECT_EQ(answers.Shown[0].Initial, "n");
  EXPECT_EQ(Row(0), "0000:00" + std::string(24, ' ') + "NOP");
  EXPECT_EQ(Code->CursorRow(), 1);
  // Cancelled, nothing is written and the cursor stays.
  QTest::keyClick(Code, Qt::Key_L);
  EXPECT_EQ(Row(1), "0001:FF" + std::string(24, ' ') + "RST     38");
  EXPECT_EQ(Code->CursorRow(), 1);
}

TEST_F(CpuWindowTest, OnlyTheWatchWindowDocksAndTheWindowKeepsItsSize) {
  auto* stranger = new FakeView(&Log, "x", Form.get());
  stranger->setObjectName(QStringLiteral("frmSymList"));
  Form->SetViewFactory(TViewKind::Watch, Factory("w"));
  Form->TLB_ViewWatch->trigger();
  ASSERT_EQ(Views.size(), 1u);
  QPointer<FakeView> watch = Views[0];
  watch->setObjectName(QStringLiteral("frmWatchList"));
  Cpu->resize(600, 600);
  TDockSite* site = Cpu->DockSite;
  const QPoint inside = site->Panel()->mapToGlobal(QPoint(5, 5));
  const QPoint above = site->Panel()->mapToGlobal(QPoint(5, -70));
  EXPECT_FALSE(TDockSite::DockAt(stranger, inside));
  EXPECT_FALSE(TDockSite::DockAt(watch, site->Panel()->mapToGlobal(QPoint(5, -90))));
  const QSize size = Cpu->size();

  ASSERT_TRUE(TDockSite::DockAt(watch, above));
  QCoreApplication::processEvents();
  EXPECT_EQ(site->DockedControl(), watch);
  EXPECT_EQ(watch->height(), 80);
  EXPECT_TRUE(site->Splitter()->isVisible());
  EXPECT_EQ(site->Splitter()->geometry().bottom() + 1, site->Panel()->y());
  EXPECT_EQ(Cpu->size(), size);
  site->SplitterResize(150);
  QCoreApplication::processEvents();
  EXPECT_EQ(watch->height(), 150);
  site->SplitterResize(300);
  QCoreApplication::processEvents();
  EXPECT_EQ(watch->height(), 200);
  EXPECT_EQ(Cpu->size(), size);

  Log.clear();
  SendMessage(Form->Handle(), UM_REFRESH);
  EXPECT_EQ(Log, (std::vector<std::string>{Entry("w", UM_REFRESH, 0), Entry("w", UM_REFRESH, 0)}));

  site->UnDock();
  QCoreApplication::processEvents();
  EXPECT_FALSE(site->Splitter()->isVisible());
  EXPECT_EQ(Cpu->size(), size);
  EXPECT_TRUE(watch->isWindow());

  // Closing the CPU window closes the docked window as its own close would.
  ASSERT_TRUE(TDockSite::DockAt(watch, inside));
  Cpu->close();
  QCoreApplication::processEvents();
  EXPECT_TRUE(watch.isNull());
  EXPECT_FALSE(Form->TLB_ViewCpu->isChecked());
  EXPECT_FALSE(Form->TLB_ViewWatch->isChecked());
  EXPECT_EQ(Form->ViewCount(), 0);
}

// How a command is given: its menu item, its tool button or its key.
struct TRunCase {
  const char* Name;
  std::function<void(CpuWindowTest&)> Give;
  std::vector<std::string> Calls;
  int CursorRow;  // where the code view's cursor ends
  const char* Glyph;  // on that row
};

class RunCommands : public CpuWindowTest, public ::testing::WithParamInterface<TRunCase> {};

// Code at 1000h: CALL 2000h, NOP, NOP; the PC on the call, the cursor on the
// second NOP.
TEST_P(RunCommands, ReachTheTargetByMenuButtonAndKey) {
  const TRunCase& c = GetParam();
  Poke(0x1000, {0xCD, 0x00, 0x20, 0x00, 0x00});
  SetPC(0x1000);
  SendMessage(Form->Handle(), UM_STOPPED);
  Press(20, 2);
  c.Give(*this);
  EXPECT_EQ(ProtocolScript().RunCalls, c.Calls);
  EXPECT_EQ(Code->CursorRow(), c.CursorRow);
  EXPECT_EQ(Glyph(c.CursorRow), c.Glyph);
}

void Key(CpuWindowTest& test, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  QTest::keyClick(test.Code, key, modifiers);
}

INSTANTIATE_TEST_SUITE_P(
    Cpu, RunCommands,
    ::testing::Values(
        TRunCase{"StepOverKeyRunsPastTheCall", [](CpuWindowTest& t) { Key(t, Qt::Key_F8); }, {"GoTo 1003"}, 1,
                 "IMG_CURRPC"},
        TRunCase{"StepOverACallAtTheTopOfMemory",
                 [](CpuWindowTest& t) {
                   t.Poke(0xFFFE, {0xCD, 0x00, 0x20});
                   SetPC(0xFFFE);
                   Key(t, Qt::Key_F8);
                 },
                 {"GoTo 1"}, 0, "IMG_CURRPC"},
        TRunCase{"TraceIntoButton", [](CpuWindowTest& t) { t.Form->TLB_StepInto->trigger(); }, {"Step"}, 0,
                 "IMG_CURRPC"},
        TRunCase{"GoToCursorKey", [](CpuWindowTest& t) { Key(t, Qt::Key_F4); }, {"GoTo 1004"}, 2, "IMG_CURRPC"},
        TRunCase{"GoMenu", [](CpuWindowTest& t) { t.Form->MNU_RunGo->trigger(); }, {"Go"}, 0, "IMG_CURRPC"},
        TRunCase{"ToggleBreakButton", [](CpuWindowTest& t) { t.Form->TLB_ToggleBreak->trigger(); }, {}, 2,
                 "IMG_BREAK"},
        TRunCase{"AssemblerStepKey", [](CpuWindowTest& t) { Key(t, Qt::Key_F7, Qt::ControlModifier); }, {"Step"}, 0,
                 "IMG_CURRPC"},
        TRunCase{"ResetKey",
                 [](CpuWindowTest& t) {
                   ProtocolScript().Stops = {0x1003};
                   Key(t, Qt::Key_F2, Qt::ControlModifier);
                 },
                 {"Reset"}, 1, "IMG_CURRPC"},
        TRunCase{"ResetAndGoKey",
                 [](CpuWindowTest& t) {
                   ProtocolScript().Stops = {0, 0x1004};
                   Key(t, Qt::Key_F9, Qt::ControlModifier);
                 },
                 {"Reset", "Go"}, 2, "IMG_CURRPC"},
        TRunCase{"GoFromAsksForTheAddress",
                 [](CpuWindowTest& t) {
                   TAddressAnswer answer("100H");
                   Key(t, Qt::Key_F9, Qt::AltModifier);
                   EXPECT_EQ(answer.Asked, (std::vector<std::string>{"GO FROM ADDRESS|Address :|"}));
                   EXPECT_EQ(t.Row(0).substr(0, 5), "0100:");
                 },
                 {"Go"}, 0, "IMG_CURRPC"},
        TRunCase{"GoToAddressAsksForTheAddress",
                 [](CpuWindowTest& t) {
                   TAddressAnswer answer("2000h");
                   t.Form->MNU_RunGoToAddress->trigger();
                   EXPECT_EQ(answer.Asked, (std::vector<std::string>{"GOTO ADDRESS|Address :|"}));
                 },
                 {"GoTo 2000"}, 0, "IMG_CURRPC"},
        TRunCase{"AnEmptyAddressRunsNothing",
                 [](CpuWindowTest& t) {
                   TAddressAnswer answer("");
                   t.Form->MNU_RunGoToAddress->trigger();
                 },
                 {}, 2, ""},
        TRunCase{"AnAddressThatIsNoNumberRunsNothing",
                 [](CpuWindowTest& t) {
                   TAddressAnswer answer("nosuch");
                   t.Form->MNU_RunGoFrom->trigger();
                   EXPECT_EQ(t.Boxes.Messages.size(), 1u);
                 },
                 {}, 2, ""}),
    [](const ::testing::TestParamInfo<TRunCase>& info) { return std::string(info.param.Name); });

TEST_F(CpuWindowTest, SourceModeShowsTheModuleAndLineAboveTheirInstruction) {
  TheDebug->LoadProgram(TARVIK_SAMPLES "/demo.abs", 1, 9);
  SetPC(0x23D);
  SendMessage(Form->Handle(), UM_STOPPED);
  Code->Menu()->findChild<QAction*>(QStringLiteral("ToggleSource"))->trigger();
  EXPECT_EQ(Row(0), "#demo#27");
  EXPECT_EQ(Row(1).substr(0, 5), "023D:");
  EXPECT_EQ(Glyph(0), "IMG_CURRPC");
  EXPECT_EQ(Glyph(1), "IMG_CURRPC");
}

// A source window stand-in: takes the commands whenever the CPU window does not.
class SourceStandIn : public TRunCommandTarget {
 public:
  bool TakesRunCommands() const override { return true; }
  void TraceInto() override { Calls.push_back("TraceInto"); }
  void StepOver() override { Calls.push_back("StepOver"); }
  void ToggleBreak() override { Calls.push_back("ToggleBreak"); }
  void GoToCursor() override { Calls.push_back("GoToCursor"); }
  void Go() override { Calls.push_back("Go"); }
  std::vector<std::string> Calls;
};

TEST_F(CpuWindowTest, CommandsGoToTheSourceWindowWhileTheCpuWindowIsNotActive) {
  SourceStandIn source;
  Form->TLB_StepInto->trigger();
  EXPECT_EQ(ProtocolScript().RunCalls, (std::vector<std::string>{"Step"}));
  QWidget other;  // a window of its own, as the source window is
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_FALSE(Cpu->TakesRunCommands());
  Form->TLB_StepInto->trigger();
  Form->MNU_RunStepOver->trigger();
  Form->TLB_ToggleBreak->trigger();
  Form->MNU_RunGoToCursor->trigger();
  Form->TLB_Go->trigger();
  EXPECT_EQ(source.Calls, (std::vector<std::string>{"TraceInto", "StepOver", "ToggleBreak", "GoToCursor", "Go"}));
  // F7 typed in that window reaches the commands too.
  QTest::keyClick(&other, Qt::Key_F7);
  EXPECT_EQ(source.Calls.size(), 6u);
  EXPECT_EQ(ProtocolScript().RunCalls.size(), 1u);
  // Closing it, as a dialog closes on a display without a window manager,
  // leaves no window focused: the tool bar means the CPU window again.
  other.hide();
  QApplication::setActiveWindow(nullptr);
  Form->TLB_StepInto->trigger();
  EXPECT_EQ(ProtocolScript().RunCalls.size(), 2u);
}

TEST_F(CpuWindowTest, AutoTraceStepsUntilHAndHReachesNoWindow) {
  TInputAnswers answers;
  QTimer::singleShot(60, Form.get(), [this] { QTest::keyClick(Code, Qt::Key_H); });
  Form->MNU_RunAutoTraceInto->trigger();
  EXPECT_FALSE(Form->Busy());
  EXPECT_FALSE(ProtocolScript().RunCalls.empty());
  EXPECT_EQ(std::count(ProtocolScript().RunCalls.begin(), ProtocolScript().RunCalls.end(), "Step"),
            static_cast<long>(ProtocolScript().RunCalls.size()));
  EXPECT_TRUE(answers.Shown.empty());
  EXPECT_TRUE(Form->MNU_Run->isEnabled());
}

TEST_F(CpuWindowTest, ListingOntoAPipeNobodyReadsIsAFileItCannotMake) {
  QTemporaryDir dir;
  TNonRegularFile pipe("pipe", dir.filePath(QStringLiteral("prog.asm")).toStdString());
  TInputAnswers answers({"0,2"});
  TFileDialogAnswers files({{QString::fromStdString(pipe.Path)}});
  Form->MNU_UnasmToFile->trigger();
  EXPECT_FALSE(pipe.Waited());
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "Unable to create file!");
}

TEST_F(CpuWindowTest, ListingWritesTheLinesByteForByteOrReportsAFileItCannotMake) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("prog.asm"));
  Poke(0, {0x00, 0x00, 0x00});
  TInputAnswers answers({"0,2", "0,2"});
  TFileDialogAnswers files({{dir.filePath(QStringLiteral("missing/prog.asm"))}, {path}});
  Form->MNU_UnasmToFile->trigger();
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "Unable to create file!");
  EXPECT_EQ(Boxes.Messages[0].Caption, "ERROR");
  Form->MNU_UnasmToFile->trigger();
  ASSERT_EQ(answers.Shown.size(), 2u);
  EXPECT_EQ(answers.Shown[0].Caption, "Unassemble to file");
  EXPECT_EQ(answers.Shown[0].Prompt, "Start, End addresses:");
  ASSERT_EQ(files.Requests.size(), 2u);
  EXPECT_TRUE(files.Requests[0].Save);
  EXPECT_EQ(files.Requests[0].Title, QStringLiteral("Unassemble to file"));
  EXPECT_EQ(files.Requests[0].DefaultExt, QStringLiteral("asm"));
  EXPECT_EQ(QtNameFilters(files.Requests[0].Filter).size(), 3);
  const std::string nop = std::string(24, ' ') + "NOP\n";
  EXPECT_EQ(Contents(path), "0000:00" + nop + "0001:00" + nop + "0002:00" + nop);
  EXPECT_FALSE(Form->Busy());
  EXPECT_EQ(Boxes.Messages.size(), 1u);
}

TEST_F(CpuWindowTest, HStopsTheListingAndKeepsWhatWasWritten) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("long.asm"));
  TInputAnswers answers({"0,0FFFFFFFFh"});
  TFileDialogAnswers files({{path}});
  // H goes down while the third window of code is read, for the line at
  // 0F8h; the listing looks at it after that line, its deadline passed.
  int reads = 0;
  TTransferRecorder previous = SetTransferRecorder([this, &reads](const TMemoryTransfer& transfer) {
    if (transfer.Kind != TTransferKind::Read || ++reads != 3) return;
    AdvanceTestClock(501);
    QTest::keyPress(Code, Qt::Key_H);
  });
  Form->MNU_UnasmToFile->trigger();
  SetTransferRecorder(std::move(previous));
  EXPECT_FALSE(Form->Busy());
  const std::string text = Contents(path);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 0xF9);
  EXPECT_EQ(text.substr(text.size() - 35), "00F8:00" + std::string(24, ' ') + "NOP\n");
  EXPECT_EQ(answers.Shown.size(), 1u);
  EXPECT_TRUE(Boxes.Messages.empty());
}

// Lines the disk cannot take are reported once the busy state has ended,
// whether a line's write fails or only the final flush; what fitted stays.
TEST_F(CpuWindowTest, ListingReportsLinesTheDiskCannotTake) {
  QTemporaryDir dir;
  const QString cut = dir.filePath(QStringLiteral("cut.asm"));
  const std::pair<const char*, QString> cases[] = {
      {"0,2", QStringLiteral("/dev/full")},       // three lines wait in the buffer until fclose
      {"0,0FFFFh", QStringLiteral("/dev/full")},  // the buffer fills and a line's write fails
      {"0,2", cut},                               // the file stops growing inside the second line
  };
  Poke(0, {0x00, 0x00, 0x00});
  for (const auto& [range, file] : cases) {
    SCOPED_TRACE(range + file.toStdString());
    Boxes.Messages.clear();
    TInputAnswers answers({range});
    TFileDialogAnswers files({{file}});
    TBusyAtBoxes busy(*Form);
    {
      TFileSizeLimit limit(50);
      Form->MNU_UnasmToFile->trigger();
    }
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Text, "Cannot write file!");
    EXPECT_EQ(Boxes.Messages[0].Caption, "ERROR");
    EXPECT_EQ(Boxes.Messages[0].Flags & MB_ICONSTOP, MB_ICONSTOP);
    EXPECT_EQ(busy.Busy, std::vector<bool>{false});
  }
  EXPECT_EQ(Contents(cut), "0000:00" + std::string(24, ' ') + "NOP\n0001:00" + std::string(8, ' '));
}

struct TPlacementCase {
  const char* Name;
  bool Earlier;
  bool Maximised;
  std::vector<int32_t> Written;
};

class CpuPlacement : public CpuWindowTest, public ::testing::WithParamInterface<TPlacementCase> {};

std::vector<int32_t> Placement(const TMemoryRegistry& store) {
  auto value = store.Values.find(TMemoryRegistry::Path(RegistryKey, "Cpu"));
  if (value == store.Values.end() || value->second.size() != 20) return {};
  std::vector<int32_t> numbers(5);
  std::memcpy(numbers.data(), value->second.data(), 20);
  return numbers;
}

TEST_P(CpuPlacement, KeepsTheNormalGeometry) {
  const TPlacementCase& c = GetParam();
  Cpu->close();
  QCoreApplication::processEvents();
  Store.Values.clear();
  if (c.Earlier) {
    const int32_t earlier[5] = {7, 8, 520, 340, 0};
    Store.WriteBinary(RegistryKey, "CPU", earlier, sizeof earlier);
  }
  Form->TLB_ViewCpu->trigger();
  Cpu = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
  ASSERT_NE(Cpu, nullptr);
  Cpu->setGeometry(20, 30, 600, 400);
  if (c.Maximised) Cpu->showMaximized();
  Cpu->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(Placement(Store), c.Written);
}

INSTANTIATE_TEST_SUITE_P(
    Closing, CpuPlacement,
    ::testing::Values(TPlacementCase{"Normal", true, false, {20, 30, 600, 400, 0}},
                      TPlacementCase{"MaximisedKeepsTheEarlierValue", true, true, {7, 8, 520, 340, 1}},
                      TPlacementCase{"MaximisedWithoutEarlierValue", false, true, {20, 30, 600, 400, 1}}),
    [](const ::testing::TestParamInfo<TPlacementCase>& info) { return std::string(info.param.Name); });

// Stored maximised, it fills the area, also after the main window grew, and
// the stored geometry is what its restore gives and what its close keeps.
TEST_F(CpuWindowTest, StoredMaximisedFillsTheAreaAndRestoresTheStoredGeometry) {
  QMdiArea* area = Form->MdiArea();
  Reopen({30, 20, 601, 420, 1});
  EXPECT_EQ(Cpu->geometry(), area->viewport()->rect());
  Form->resize(1100, 800);
  QCoreApplication::processEvents();
  EXPECT_EQ(Cpu->geometry(), area->viewport()->rect());
  Reopen();
  EXPECT_EQ(Placement(Store), (std::vector<int32_t>{30, 20, 601, 420, 1}));
  Cpu->showNormal();
  EXPECT_EQ(Cpu->geometry(), QRect(30, 20, 601, 420));
}

// Made large in a large main window, it comes back at its place; in a
// smaller one it is no larger than the area, with its corner at the area's.
// Made larger than the area by hand, the area scrolls to the rest.
TEST_F(CpuWindowTest, ReopensWithinReachOfASmallerMainWindow) {
  QMdiArea* area = Form->MdiArea();
  Form->resize(1400, 1000);
  QCoreApplication::processEvents();
  Cpu->setGeometry(50, 40, 1200, 800);
  Reopen();
  EXPECT_EQ(Cpu->geometry(), QRect(50, 40, 1200, 800));
  EXPECT_FALSE(area->horizontalScrollBar()->isVisible());

  Form->resize(733, 496);
  Reopen();
  EXPECT_EQ(Cpu->geometry(), area->viewport()->rect());
  EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
  Cpu->resize(1200, 800);
  QCoreApplication::processEvents();
  QScrollBar* across = area->horizontalScrollBar();
  ASSERT_TRUE(across->isVisible());
  ASSERT_TRUE(area->verticalScrollBar()->isVisible());
  across->setValue(across->maximum());
  EXPECT_EQ(Cpu->geometry().right(), area->viewport()->width() - 1);
}

}  // namespace
