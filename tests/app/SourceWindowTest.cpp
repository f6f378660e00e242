// The source window inside the real main window, on the sample program as
// the IEEE-695 reader loads it: what the user sees in the text and the gutter.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFileInfo>
#include <QMenu>
#include <QListWidget>
#include <QWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "Debug.h"
#include "DebugTableBuilder.h"
#include "DockSite.h"
#include "FileDialogAnswers.h"
#include "MainWindowFixture.h"
#include "NonRegularFile.h"
#include "MemoryRegistry.h"
#include "ModalDialog.h"
#include "SourceEditor.h"
#include "TargetPokes.h"
#include "CodeInterior.h"
#include "srcCpu.h"
#include "srcSource.h"

namespace {

using TGlyphs = std::vector<TSourceEditor::TDrawnGlyph>;
const TGlyphs Code = {{2, 0}};
const TGlyphs Break = {{2, 1}};
const TGlyphs Arrow = {{2, 0}, {16, 4}};

class SourceWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Connect();
  }

  void LoadSample() { TheDebug->LoadProgram(TARVIK_SAMPLES "/demo.abs", 1, 9); }

  // F3, as the user opens the window.
  TfrmSource* OpenSource() {
    Form->MNU_ViewSource->trigger();
    QCoreApplication::processEvents();  // laid out, as before any command reaches it
    return Form->findChild<TfrmSource*>(QStringLiteral("frmSource"));
  }

  // As a click on the window's frame makes it the active one.
  static void Activate(QWidget* window) {
    window->windowHandle()->requestActivate();
    QCoreApplication::processEvents();
  }

  static TGlyphs Glyphs(TfrmSource* form, int line) {
    form->txtSource->grab();
    return form->txtSource->GlyphsOn(line);
  }

  TFileDialogAnswers Files;
};

// The sample names its source "demo.c", without a folder: it lies beside the object file.
TEST_F(SourceWindowTest, ShowsTheSampleSourceWithDotsOnCodeLines) {
  LoadSample();
  TfrmSource* form = OpenSource();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(Files.Requests.empty());
  EXPECT_TRUE(Form->TLB_ViewSource->isChecked());
  EXPECT_EQ(form->windowTitle(), "demo");
  EXPECT_EQ(form->txtSource->LineText(1).toStdString(),
            "/* A small program to try the debugger on: a loop, calls, a structure, an array. */");
  EXPECT_EQ(form->txtSource->LineCount(), 36);

  form->resize(500, 700);
  const std::map<int, TGlyphs> gutter = {{1, {}}, {11, Code}, {26, {}}, {27, Code}, {35, Code}};
  for (const auto& [line, glyphs] : gutter) EXPECT_EQ(Glyphs(form, line), glyphs) << "line " << line;
}

TEST_F(SourceWindowTest, StopShowsTheExecutionLineAndBreakpointsAgreeWithTheTable) {
  LoadSample();
  TfrmSource* form = OpenSource();
  ASSERT_NE(form, nullptr);
  form->resize(500, 700);

  // The run commands reach the source window while the CPU window is not the
  // active one: after a reset the first step runs to main, whose declaration
  // and loop share the address; the loop wins.
  Activate(form);
  Form->MNU_RunReset->trigger();
  Form->MNU_RunStepOver->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(form->PCLine(), 27);
  EXPECT_EQ(form->txtSource->CaretLine(), 27);
  TColor foreground = 0, background = 0;
  ASSERT_TRUE(form->txtSource->LineColors(27, foreground, background));
  EXPECT_EQ(foreground, clWhite);
  EXPECT_EQ(background, clHighlight);
  EXPECT_EQ(Glyphs(form, 27), Arrow);

  // A click in the gutter with any button toggles the line's breakpoint; the
  // caret line's toggles by message, as F2 sends it.
  const int height = form->txtSource->LineHeight();
  const int top = form->txtSource->TopLine();
  auto click = [&](int line, Qt::MouseButton button) {
    QTest::mouseClick(form->txtSource->viewport(), button, {}, QPoint(5, (line - top) * height + height / 2));
  };
  click(28, Qt::RightButton);
  EXPECT_EQ(Glyphs(form, 28), Break);
  click(28, Qt::LeftButton);
  EXPECT_EQ(Glyphs(form, 28), Code);
  click(26, Qt::LeftButton);
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "Can't set a break point on this line.");
  EXPECT_EQ(Boxes.Messages[0].Caption, "ERROR");
  SendMessage(form->Handle(), UM_TOGGLEBREAK);
  EXPECT_EQ(Glyphs(form, 27), (TGlyphs{{2, 1}, {16, 4}}));
}

// A breakpoint toggled in either window is the same entry of the target's
// table, and both show it.
TEST_F(SourceWindowTest, BreakpointsAgreeWithTheCpuWindow) {
  Form->resize(900, 700);
  Form->show();
  auto* cpu = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
  ASSERT_NE(cpu, nullptr);
  LoadSample();
  TfrmSource* form = OpenSource();
  ASSERT_NE(form, nullptr);
  SetPC(0x240);
  SendMessage(Form->Handle(), UM_STOPPED, 0, 0);
  const auto cpuGlyph = [cpu](const char* address) {
    cpu->CodeArea->Update();
    for (int row = 0; row < 12; ++row)
      if (cpu->CodeArea->Canvas()->GridLine(row).startsWith(address)) return cpu->CodeArea->Canvas()->GridGlyph(row);
    return QString("no row");
  };
  EXPECT_EQ(cpuGlyph("0240"), "IMG_CURRPC");

  Activate(form);
  form->txtSource->CaretToLine(29);
  Form->MNU_BreakToggle->trigger();  // F2 in the source window: line 29 is 024Eh
  EXPECT_EQ(Glyphs(form, 29), Break);
  EXPECT_EQ(cpuGlyph("024E"), "IMG_BREAK");

  Activate(Form.get());
  Form->MNU_BreakToggle->trigger();  // F2 in the CPU window: its cursor stands on the PC
  EXPECT_EQ(cpuGlyph("0240"), "IMG_BRKPC");
  EXPECT_EQ(Glyphs(form, 28), (TGlyphs{{2, 1}, {16, 4}}));
}

// A stop without a line brings the CPU window up when the source window is
// the active one; the stop it re-sends for the others does not come back.
TEST_F(SourceWindowTest, StopWithoutALineAsksForTheCpuWindow) {
  Form->TLB_ViewCpu->trigger();  // closed
  QCoreApplication::sendPostedEvents();
  ASSERT_FALSE(Form->TLB_ViewCpu->isChecked());
  LoadSample();
  TfrmSource* form = OpenSource();
  ASSERT_NE(form, nullptr);
  Form->RegisterView(new FakeView(&Log, "log", Form.get()));
  Activate(form);
  ASSERT_TRUE(form->isActiveWindow());
  SetPC(0x100);
  SendMessage(Form->Handle(), UM_STOPPED, 0, 0);
  EXPECT_TRUE(Form->TLB_ViewCpu->isChecked());
  EXPECT_EQ(Log, std::vector<std::string>({Entry("log", UM_STOPPED, static_cast<LPARAM>(form->Handle())),
                                           Entry("log", UM_STOPPED, 0)}));
  EXPECT_EQ(form->PCLine(), -1);

  // The CPU window's stops carry the PC, which may have the value of the handle.
  SetPC(0x23D);
  SendMessage(Form->Handle(), UM_STOPPED, 0, static_cast<LPARAM>(form->Handle()));
  EXPECT_EQ(form->PCLine(), 27);
}

// The module list of "Open module", and a stop in another module.
TEST_F(SourceWindowTest, SwitchesModulesByChoiceAndByStop) {
  QTemporaryDir dir;
  const std::string first = dir.filePath("first.c").toStdString();
  const std::string second = dir.filePath("second.c").toStdString();
  std::ofstream(first) << "int a;\nvoid f(void)\n{\n}\n";
  std::ofstream(second) << "/* second */\nvoid g(void)\n{\n  a = 1;\n}\n";
  LoadSample();
  TTableWriter tables(TheDebug->Tables());
  tables.Module("first", first.c_str());
  tables.Scope(0, 0x100, {{0x100, 2}, {0x101, 4}});
  tables.Module("second", second.c_str());
  tables.Scope(1, 0x200, {{0x200, 2}, {0x203, 4}, {0x205, 5}});

  TfrmSource* form = OpenSource();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(Files.Requests.empty());
  EXPECT_EQ(form->windowTitle(), "");  // the PC lies in no module and there is no main procedure

  // A right click on the text offers "Open source...".
  const QPoint at(60, 20);
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, form->txtSource->viewport()->mapToGlobal(at));
  QCoreApplication::sendEvent(form->txtSource->viewport(), &menuEvent);
  EXPECT_TRUE(form->PopupMenu1->isVisible());
  EXPECT_EQ(form->PopupMenu1->actions(), QList<QAction*>({form->mnuOpenSource}));
  EXPECT_EQ(form->mnuOpenSource->text(), "Open source...");
  form->PopupMenu1->hide();

  std::vector<QString> listed;
  QString title;
  SetModalDialogHandler([&listed, &title](QDialog& dialog) {
    title = dialog.windowTitle();
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lbModules"));
    for (int i = 0; i < list->count(); ++i) listed.push_back(list->item(i)->text());
    list->setCurrentRow(1);
    dialog.findChild<QPushButton*>(QStringLiteral("cmdOpen"))->click();
  });
  form->mnuOpenSource->trigger();
  SetModalDialogHandler({});
  EXPECT_EQ(listed, std::vector<QString>({"first", "second"}));
  EXPECT_EQ(title, "Open module");
  EXPECT_EQ(form->windowTitle(), "second");
  EXPECT_EQ(form->txtSource->LineText(1), "/* second */");

  SetPC(0x101);
  SendMessage(Form->Handle(), UM_STOPPED, 0, 0);
  EXPECT_EQ(form->windowTitle(), "first");
  EXPECT_EQ(form->txtSource->LineText(1), "int a;");
  EXPECT_EQ(form->PCLine(), 4);
  EXPECT_EQ(form->CurrentModule(), 0);
}

// The watch window docks below the text, hears every refresh and stop there,
// and closes with the source window.
TEST_F(SourceWindowTest, WatchWindowDocksBelowTheText) {
  Form->SetViewFactory(TViewKind::Watch, Factory("w"));
  Form->TLB_ViewWatch->trigger();
  ASSERT_EQ(Views.size(), 1u);
  QPointer<FakeView> watch = Views[0];
  watch->setObjectName(QStringLiteral("frmWatchList"));
  LoadSample();
  TfrmSource* form = OpenSource();
  ASSERT_NE(form, nullptr);
  form->resize(500, 400);
  ASSERT_TRUE(TDockSite::DockAt(watch, form->DockSite->Panel()->mapToGlobal(QPoint(5, 5))));
  QCoreApplication::processEvents();
  EXPECT_EQ(form->DockSite->DockedControl(), watch);

  Log.clear();
  SetPC(0x23D);
  SendMessage(Form->Handle(), UM_STOPPED, 0, 0);
  EXPECT_EQ(Log, (std::vector<std::string>{Entry("w", UM_STOPPED, 0), Entry("w", UM_REFRESH, 0)}));

  form->close();
  QCoreApplication::processEvents();
  EXPECT_TRUE(watch.isNull());
  EXPECT_FALSE(Form->TLB_ViewSource->isChecked());
  EXPECT_FALSE(Form->TLB_ViewWatch->isChecked());
}

// A NUL on line 5 of the source keeps every line after it, with its dots,
// its breakpoints and the execution line.
TEST_F(SourceWindowTest, ANulKeepsTheLinesAfterIt) {
  std::ifstream sample(TARVIK_SAMPLES "/demo.c", std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(sample), {}};
  QTemporaryDir dir;
  const std::string copy = dir.filePath("demo.c").toStdString();
  std::ofstream(copy, std::ios::binary) << text.insert(text.find("};"), 1, '\0');
  LoadSample();
  std::strncpy(TheDebug->Tables().Modules[0].SourceFile, copy.c_str(), sizeof TModuleEntry::SourceFile - 1);
  TfrmSource* form = OpenSource();
  ASSERT_NE(form, nullptr);
  form->resize(500, 700);
  EXPECT_EQ(form->txtSource->LineCount(), 36);
  Activate(form);
  Form->MNU_RunReset->trigger();
  Form->MNU_RunStepOver->trigger();
  QCoreApplication::processEvents();
  form->txtSource->CaretToLine(28);
  SendMessage(form->Handle(), UM_TOGGLEBREAK);
  EXPECT_EQ(Glyphs(form, 27), Arrow);
  EXPECT_EQ(Glyphs(form, 28), Break);
  EXPECT_EQ(Glyphs(form, 35), Code);
}

// A stop on a line record that no text can have marks no line, and no line
// number overflows on the way.
TEST_F(SourceWindowTest, LineRecordsBeyondAnyTextMarkNoLine) {
  LoadSample();
  TfrmSource* form = OpenSource();
  ASSERT_NE(form, nullptr);
  for (const uint32_t line : {0x80000000u, 0xFFFFFFFFu}) {
    for (TLineEntry* e = TheDebug->Tables().Lines; e->Area || e->Address || e->Line; ++e)
      if (e->Address == 0x23D) e->Line = line;
    SetPC(0x23D);
    SendMessage(Form->Handle(), UM_STOPPED, 0, 0);
    EXPECT_GT(form->PCLine(), form->txtSource->LineCount()) << line;
    form->txtSource->grab();
    for (int n = 1; n <= form->txtSource->LineCount(); ++n)
      for (const TSourceEditor::TDrawnGlyph& glyph : form->txtSource->GlyphsOn(n)) EXPECT_NE(glyph.Glyph, 4) << n;
  }
}

struct TSourceFileCase {
  const char* Name;
  std::string SourceFile;   // as the object file names it; "@" stands for the test's folder
  const char* Answer;       // the file of the test's folder chosen in "Open source file", or null for Cancel
  QString FirstLine;
  QString Caption;
  QString Asked;            // the name the dialog was preset with, empty when none was shown
};

class SourceFiles : public SourceWindowTest, public ::testing::WithParamInterface<TSourceFileCase> {};

// A file that is not UTF-8 shows as Latin-1; a missing one is asked for by
// its name part, and without an answer the window says there is no source.
// So is a pipe, or a file larger than any source (or reading on past that).
TEST_P(SourceFiles, ShowAsMuchAsCanBeRead) {
  const TSourceFileCase& c = GetParam();
  QTemporaryDir dir;
  const QString latin1 = dir.filePath("latin1.c");
  std::ofstream(latin1.toStdString()) << "/* caf\xe9 */\nint x;\n";
  const std::string big = dir.filePath("big.c").toStdString();
  std::ofstream{big};
  std::filesystem::resize_file(big, (64 << 20) + 1);  // sparse
  const TNonRegularFile pipe("pipe", dir.filePath("pipe.c").toStdString());
  std::string source = c.SourceFile;
  if (source[0] == '@') source = dir.path().toStdString() + source.substr(1);
  LoadSample();
  TTableWriter tables(TheDebug->Tables());
  tables.Module("m", source.c_str());
  tables.Scope(0, 0x100, {{0x100, 2}});
  TfrmSource* form = OpenSource();
  ASSERT_NE(form, nullptr);
  form->setWindowTitle("before");
  if (c.Answer) Files.Answers = {{dir.filePath(c.Answer)}};
  Files.Requests.clear();
  SetModalDialogHandler([](QDialog& dialog) { dialog.findChild<QPushButton*>(QStringLiteral("cmdOpen"))->click(); });
  form->mnuOpenSource->trigger();
  SetModalDialogHandler({});
  EXPECT_EQ(form->txtSource->LineText(1), c.FirstLine);
  EXPECT_EQ(form->windowTitle(), c.Caption);
  ASSERT_EQ(Files.Requests.size(), c.Asked.isEmpty() ? 0u : 1u);
  if (!Files.Requests.empty()) {
    EXPECT_EQ(Files.Requests[0].Title, "Open source file");
    EXPECT_EQ(Files.Requests[0].FileName, c.Asked);
    EXPECT_EQ(Files.Requests[0].DefaultExt, QFileInfo(c.Asked).suffix());
  }
}

const QString NoSource = QStringLiteral("/* No source file available */");
INSTANTIATE_TEST_SUITE_P(Source, SourceFiles, ::testing::Values(
    TSourceFileCase{"latin1", "@/latin1.c", nullptr, "/* caf\u00e9 */", "m", ""},
    TSourceFileCase{"missing, cancelled", "C:\\src\\gone.c", nullptr, NoSource, "before", "gone.c"},
    TSourceFileCase{"missing, chosen", "/nowhere/gone.c", "latin1.c", "/* caf\u00e9 */", "m", "gone.c"},
    TSourceFileCase{"pipe chosen", "/nowhere/gone.c", "pipe.c", NoSource, "before", "gone.c"},
    TSourceFileCase{"too large chosen", "/nowhere/gone.c", "big.c", NoSource, "before", "gone.c"},
    TSourceFileCase{"endless, cancelled", "/proc/self/pagemap", nullptr, NoSource, "before", "pagemap"}));

TEST_F(SourceWindowTest, KeepsItsPlacement) {
  TMemoryRegistry store;
  const int32_t earlier[4] = {40, 50, 450, 300};
  store.WriteBinary(RegistryKey, "SOURCE", earlier, sizeof earlier);
  LoadSample();
  TfrmSource* form = OpenSource();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->geometry().size(), QSize(450, 300));
  form->resize(480, 320);
  form->close();
  QCoreApplication::processEvents();
  int32_t written[4] = {};
  ASSERT_TRUE(store.ReadBinary(RegistryKey, "Source", written, sizeof written));
  EXPECT_EQ(written[2], 480);
  EXPECT_EQ(written[3], 320);
}

}  // namespace
