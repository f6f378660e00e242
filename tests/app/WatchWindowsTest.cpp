#include <QAction>
#include <QLabel>
#include <QTabWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QWindow>

#include "Debug.h"
#include "DebugTableBuilder.h"
#include "DockSite.h"
#include "FileDialogAnswers.h"
#include "FocusCheck.h"
#include "InputAnswers.h"
#include "MainWindowFixture.h"
#include "SettingsRegistry.h"
#include "SymInterior.h"
#include "Symbols.h"
#include "TargetPokes.h"
#include "WatchDrag.h"
#include "WatchInterior.h"
#include "WindowManagerClose.h"
#include "srcCpu.h"
#include "srcSource.h"
#include "srcSymList.h"
#include "srcWatchList.h"

namespace {

class WatchWindowsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    for (const char* name : {"Watches", "Symbols"}) Registry().WriteBinary(RegistryKey, name, nullptr, 0);
    Connect();
    AddSymbol({"total", 0, 2, 0x1234, 6});
    AddSymbol({"count", 0, 2, 0x1300, 6, 0x100, 0x1FF});  // a local of the function at 100h
    SetWord(0x1234, 4660);
  }

  TfrmWatchList* OpenWatches() {
    Form->TLB_ViewWatch->trigger();
    return Form->findChild<TfrmWatchList*>(QStringLiteral("frmWatchList"));
  }
  static std::string Line(TWatchInterior* view, int row) {
    view->Update();
    return view->Canvas()->GridLine(row).trimmed().toStdString();
  }
  static void Type(TWatchInterior* view, const char* text) { QTest::keyClicks(view, text); }
};

TEST_F(WatchWindowsTest, WatchesTypedInTheWindowFollowTheTarget) {
  EXPECT_TRUE(Form->MNU_ViewWatch->isEnabled());
  TfrmWatchList* form = OpenWatches();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Watch list"));
  ASSERT_EQ(form->PageControl1->count(), 4);
  EXPECT_EQ(form->PageControl1->tabText(3), QStringLiteral("Watch 4"));
  TWatchInterior* view = form->WatchInteriors[0];

  {
    TInputAnswers answers({"total", std::nullopt, "count"});
    Type(view, " t");  // a blank asks for nothing
    ASSERT_EQ(answers.Shown.size(), 1u);
    EXPECT_EQ(answers.Shown[0].Caption, "Add Watch");
    EXPECT_EQ(answers.Shown[0].Prompt, "Watch expression");
    EXPECT_EQ(answers.Shown[0].Initial, "t");
    EXPECT_EQ(Line(view, 0), "total: 4660");
    Type(view, "q");  // cancelled
    EXPECT_EQ(Line(view, 1), "");
    QTest::keyClick(view, Qt::Key_Down);
    Type(view, "c");
    EXPECT_EQ(Line(view, 1), "count: Variable not found");
  }

  // Memory edits show at the next refresh.
  SetWord(0x1234, 1);
  SendMessage(Form->Handle(), UM_REFRESH);
  EXPECT_EQ(Line(view, 0), "total: 1");

  // Each tab is its own list, and only the one in sight is evaluated.
  form->PageControl1->setCurrentIndex(1);
  TWatchInterior* second = form->WatchInteriors[1];
  EXPECT_EQ(Line(second, 0), "");
  {
    TInputAnswers answers({"total,2b"});
    Type(second, "t");
  }
  EXPECT_EQ(Line(second, 0), "total,2b: 0x01,0x00");
  form->PageControl1->setCurrentIndex(0);
  SetWord(0x1234, 2);
  SendMessage(Form->Handle(), UM_STOPPED);
  EXPECT_EQ(Line(view, 0), "total: 2");
  form->PageControl1->setCurrentIndex(1);
  EXPECT_EQ(Line(second, 0), "total,2b: 0x01,0x00");

  // A double click or the popup edits the watch under the cursor; Delete removes it.
  form->PageControl1->setCurrentIndex(0);
  QTest::keyClick(view, Qt::Key_Up);
  {
    TInputAnswers answers({"total,b", "total,w"});
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(4, 3));
    form->AddModify1->trigger();
    EXPECT_EQ(answers.Shown.at(0).Initial, "total");
    EXPECT_EQ(answers.Shown.at(1).Initial, "total,b");
  }
  EXPECT_EQ(Line(view, 0), "total,w: 0x0002");
  QTest::keyClick(view, Qt::Key_Delete);
  EXPECT_EQ(Line(view, 0), "count: Variable not found");
  form->mnuDeleteWatch->trigger();
  EXPECT_EQ(Line(view, 0), "");

  form->move(60, 70);
  form->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(Form->ViewCount(), 1);  // the CPU window stays
  EXPECT_FALSE(Form->TLB_ViewWatch->isChecked());

  // Reopened, it stands where it was left and starts empty.
  form = OpenWatches();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->pos(), QPoint(60, 70));
  EXPECT_EQ(Line(form->WatchInteriors[0], 0), "");
}

TEST_F(WatchWindowsTest, TheSymbolWindowListsTheWholeTable) {
  const std::uint8_t odd[12] = {40, 0, 0, 0, 50};
  Registry().WriteBinary(RegistryKey, "Symbols", odd, sizeof odd);
  Form->MNU_ViewVars->trigger();
  auto* form = Form->findChild<TfrmSymList*>(QStringLiteral("frmSymList"));
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(Form->TLB_ViewSym->isChecked());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Symbols list"));
  EXPECT_EQ(form->Panel2->text(), QStringLiteral("Symbol name"));
  EXPECT_EQ(form->Panel3->text(), QStringLiteral("Symbol address"));
  EXPECT_NE(form->pos(), QPoint(40, 50));
  form->SymInterior->Update();
  EXPECT_EQ(form->SymInterior->Canvas()->GridLine(1).simplified().toStdString(), "total @DATA:00001234");

  form->move(30, 40);
  Form->TLB_ViewSym->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(Form->findChild<TfrmSymList*>(QStringLiteral("frmSymList")), nullptr);
  TWindowRect stored;
  ASSERT_TRUE(ReadWindowRect("Symbols", stored));
  EXPECT_EQ(QPoint(stored.Left, stored.Top), QPoint(30, 40));
}

// The sample as a user tries it: globals show their typed values, a local
// only inside its function; the window docks into either host, which passes
// its refreshes on and closes it with itself.
TEST_F(WatchWindowsTest, OnTheSampleDocksIntoTheCpuAndSourceWindows) {
  Form->show();
  TFileDialogAnswers files({{TARVIK_SAMPLES "/demo.c"}});
  TheDebug->LoadProgram(TARVIK_SAMPLES "/demo.abs", 1, 9);
  Form->MNU_ViewSource->trigger();
  auto* source = Form->findChild<TfrmSource*>(QStringLiteral("frmSource"));
  auto* cpu = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
  TfrmWatchList* form = OpenWatches();
  ASSERT_TRUE(source && cpu && form);
  source->move(Form->geometry().bottomRight());
  TWatchInterior* view = form->WatchInteriors[0];
  {
    TInputAnswers answers({"counter", "sum", "origin"});
    for (const char* c : {"c", "s", "o"}) {
      Type(view, c);
      QTest::keyClick(view, Qt::Key_Down);
    }
  }
  EXPECT_EQ(Line(view, 0), "counter: 0");
  EXPECT_EQ(Line(view, 1), "sum: Variable not found");
  EXPECT_EQ(Line(view, 2), "origin: {0,0}");
  const uint32_t counter = TheSymbols->FindByName("counter", false)->Value;

  const QSize cpuSize = cpu->size();
  uint16_t value = 1;
  for (auto [site, host] : {std::pair{cpu->DockSite, cpu->Handle()}, {source->DockSite, source->Handle()}}) {
    QWidget* panel = site->Panel();
    DragWatchWindow(form, panel->mapToGlobal(panel->rect().center()));
    ASSERT_EQ(site->DockedControl(), form);
    EXPECT_EQ(form->height(), 80);
    SetWord(counter, ++value);
    SendMessage(host, UM_REFRESH);
    EXPECT_EQ(Line(view, 0), "counter: " + std::to_string(value));
    // Dragged off, it floats again.
    DragWatchWindow(form, panel->mapToGlobal(QPoint(0, -300)));
    EXPECT_TRUE(form->isWindow());
    EXPECT_EQ(form->minimumHeight(), 107);
  }
  EXPECT_EQ(cpu->size(), cpuSize);

  // Closed by its button while docked, it leaves the panel empty.
  QWidget* panel = cpu->DockSite->Panel();
  DragWatchWindow(form, panel->mapToGlobal(panel->rect().center()));
  Form->TLB_ViewWatch->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(Form->findChild<TfrmWatchList*>(QStringLiteral("frmWatchList")), nullptr);
  EXPECT_EQ(panel->height(), TDockSite::EmptyHeight);

  form = OpenWatches();
  panel = source->DockSite->Panel();
  DragWatchWindow(form, panel->mapToGlobal(panel->rect().center()));
  source->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(Form->findChild<TfrmWatchList*>(QStringLiteral("frmWatchList")), nullptr);
  EXPECT_FALSE(Form->TLB_ViewWatch->isChecked());
}

// However the window leaves a host with the focus in one of its views, the
// host keeps no pointer to it, so activating the host later reaches nothing
// freed.
TEST_F(WatchWindowsTest, LeavesNoFocusBehindInItsHost) {
  Form->show();
  TFileDialogAnswers files({{TARVIK_SAMPLES "/demo.c"}});
  TheDebug->LoadProgram(TARVIK_SAMPLES "/demo.abs", 1, 9);
  enum TLeave { DraggedOff, ClosedByButton, HostCloses };
  for (const char* hostName : {"frmCpu", "frmSource"}) {
    for (TLeave leave : {DraggedOff, ClosedByButton, HostCloses}) {
      SCOPED_TRACE(std::string(hostName) + " " + std::to_string(leave));
      if (!Form->findChild<QWidget*>(QString::fromLatin1(hostName)))
        (hostName == std::string("frmCpu") ? Form->TLB_ViewCpu : Form->MNU_ViewSource)->trigger();
      auto* host = Form->findChild<QWidget*>(QString::fromLatin1(hostName));
      auto* cpu = dynamic_cast<TfrmCpu*>(host);
      TDockSite* site = cpu ? cpu->DockSite : dynamic_cast<TfrmSource*>(host)->DockSite;
      TfrmWatchList* form = OpenWatches();
      ASSERT_TRUE(site && form);
      form->move(0, 0);  // it opens where it last floated, which may be over the panel
      DragWatchWindow(form, site->Panel()->mapToGlobal(site->Panel()->rect().center()));
      ASSERT_EQ(site->DockedControl(), form);
      form->WatchInteriors[0]->setFocus();

      if (leave == DraggedOff) {
        DragWatchWindow(form, site->Panel()->mapToGlobal(QPoint(0, -300)));
        EXPECT_FALSE(form->isAncestorOf(host->window()->focusWidget()));
        form->close();
      } else if (leave == ClosedByButton) {
        Form->TLB_ViewWatch->trigger();
      } else {
        host->close();
      }
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      ASSERT_EQ(Form->findChild<QWidget*>(QStringLiteral("frmWatchList")), nullptr);
      EXPECT_EQ(DanglingFocus(), "");
      if (leave != HostCloses) {
        host->window()->windowHandle()->requestActivate();
        if (cpu) cpu->mdiArea()->setActiveSubWindow(cpu);
        QCoreApplication::processEvents();
      }
    }
  }
}

// Closed while its "Add Watch" dialog is up, floating or with its host, the
// window is freed only after the double click's handler has returned.
TEST_F(WatchWindowsTest, ClosedWhileItsDialogIsUp) {
  Form->show();
  TFileDialogAnswers files({{TARVIK_SAMPLES "/demo.c"}});
  TheDebug->LoadProgram(TARVIK_SAMPLES "/demo.abs", 1, 9);
  Form->MNU_ViewSource->trigger();
  auto* source = Form->findChild<TfrmSource*>(QStringLiteral("frmSource"));
  auto* cpu = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
  ASSERT_TRUE(source && cpu);
  const std::pair<QWidget*, TDockSite*> hosts[] = {{nullptr, nullptr}, {source, source->DockSite}, {cpu, cpu->DockSite}};
  for (const auto& [host, site] : hosts) {
    const QPointer<TfrmWatchList> form = OpenWatches();
    ASSERT_TRUE(form);
    if (site) {
      form->move(0, 0);
      DragWatchWindow(form, site->Panel()->mapToGlobal(site->Panel()->rect().center()));
      ASSERT_EQ(site->DockedControl(), form);
    }
    const QPointer<QWidget> closing = host ? host : form.data();
    TInputAnswers answers({"counter"});
    TModalDialogHandler answer;
    answer = SetModalDialogHandler([&](QDialog& dialog) {
      // Within the MDI area the close box is the area's; outside, the window manager's.
      if (closing == cpu)
        cpu->close();
      else
        PostWindowManagerClose(*closing);
      EXPECT_TRUE(QTest::qWaitFor([&] { return !Form->TLB_ViewWatch->isChecked(); }, 1000));
      answer(dialog);
    });
    QTest::mouseDClick(form->WatchInteriors[0]->viewport(), Qt::LeftButton, {}, QPoint(4, 3));
    SetModalDialogHandler(std::move(answer));
    EXPECT_EQ(answers.Shown.size(), 1u);
    EXPECT_FALSE(form);
    EXPECT_FALSE(closing);
  }
}

}  // namespace
