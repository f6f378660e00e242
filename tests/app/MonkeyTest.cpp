// A user who knows nothing, led by a seeded random generator: menus, tool
// buttons, keys, clicks and drags in the open windows, dialogs answered or
// cancelled, the watch window docked and dragged off again, windows
// activated, minimised and closed (by the window manager too, while a long
// operation runs or a dialog is up), and at last File > Exit. It acts only
// where a user could: an open menu takes every click and key, a modal dialog
// all input, and each action comes inside an event, as the program gets its
// input. A run fails on a sanitizer report (the process dies) or when a
// widget's focus points at a widget that is gone. Every action is written to
// stderr before it runs, so the last lines of a failed run say what did it;
// TARVIK_MONKEY_SEED=n runs seed n alone. The target is the scripted one, on
// the test clock: a long operation ends by the H key, or by the step time-out
// as the clock moves.
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <utility>

#include "BusyInputGuard.h"
#include "Debug.h"
#include "DockSite.h"
#include "FileDialogAnswers.h"
#include "FocusCheck.h"
#include "InputAnswers.h"
#include "Inputdialogs.h"
#include "MainWindowFixture.h"
#include "MemoryRegistry.h"
#include "ModalDialog.h"
#include "TargetPokes.h"
#include "WatchDrag.h"
#include "WindowManagerClose.h"
#include "srcCpu.h"
#include "srcSource.h"

namespace {

constexpr int Actions = 2500;
// Past this many dialogs within one action every further one is cancelled,
// so that a prompt asked again after each answer comes to an end.
constexpr int DialogsPerAction = 12;

// What a user types: numbers and ranges a 16-bit target can take (a long
// operation on the test clock runs to its end), names of the sample, junk.
const char* const Texts[] = {"",        "0",      "1",      "7",         "10",     "100",    "1234",     "8000",
                             "FFFF",    "0,10",   "100,40", "200,20,55", "0,8,FF", "10,0",   "DATA:10",  "CODE:0",
                             "counter", "sum",    "origin", "origin.x",  "main",   "_add",   "total,2b", "counter,w",
                             "A",       "HL",     "SP",     "LD A,5",    "NOP",    "JP 100", "3E 05",    "1,2,3",
                             "'x'",     "\"ab\"", "(",      "@",         "-1",     "zz",     "12*3",     ","};

// Moving and editing keys and those of the commands, pressed alone mostly.
// No X: Alt+X ends the program, which is left to the end of a run.
const Qt::Key Keys[] = {
    Qt::Key_Up,        Qt::Key_Down,   Qt::Key_Left,   Qt::Key_Right, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home,
    Qt::Key_End,       Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab,   Qt::Key_Delete, Qt::Key_Insert,   Qt::Key_Space,
    Qt::Key_Backspace, Qt::Key_F1,     Qt::Key_F2,     Qt::Key_F3,    Qt::Key_F4,     Qt::Key_F5,       Qt::Key_F6,
    Qt::Key_F7,        Qt::Key_F8,     Qt::Key_F9,     Qt::Key_A,     Qt::Key_G,      Qt::Key_H};
const Qt::KeyboardModifier Modifiers[] = {Qt::NoModifier,    Qt::NoModifier,      Qt::NoModifier,
                                          Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier};

const char* const Samples[] = {"demo.abs", "demo.hex", "demo.ihx", "demo.c", "demo.cdb", "none.hex"};

std::vector<unsigned> Seeds() {
  if (const char* seed = std::getenv("TARVIK_MONKEY_SEED"))
    return {static_cast<unsigned>(std::strtoul(seed, nullptr, 0))};
  return {1, 2, 3, 4, 5, 6, 7, 8};
}

std::string Name(const QWidget* widget) {
  const auto own = [](const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
  };
  return (own(widget->window()) + "/" + own(widget)).toStdString();
}

void CollectVisible(QWidget* widget, std::vector<QWidget*>& out) {
  if (!widget->isVisible()) return;
  out.push_back(widget);
  for (QObject* child : widget->children())
    if (child->isWidgetType()) CollectVisible(static_cast<QWidget*>(child), out);
}

// In the order of creation, so that a seed gives the same run again.
std::vector<QWidget*> Visible(QWidget* root) {
  std::vector<QWidget*> widgets;
  CollectVisible(root, widgets);
  return widgets;
}

void AddMenu(const QMenu* menu, std::vector<QAction*>& out) {
  if (!menu->isEnabled() || !menu->menuAction()->isVisible()) return;
  for (QAction* action : menu->actions()) {
    if (action->menu())
      AddMenu(action->menu(), out);
    else if (!action->isSeparator() && action->isEnabled() && std::find(out.begin(), out.end(), action) == out.end())
      out.push_back(action);
  }
}

void Settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class Monkey : public MainWindowTest, public ::testing::WithParamInterface<unsigned> {
 protected:
  // A target with every optional feature the windows show.
  void Prepare() override {
    TProtocolScript& target = ProtocolScript();
    const char areas[] =
        "\x10\x00"
        "&Code|program\0ROM\0RAM\0\x00\x01";
    target.Areas.assign(areas, areas + sizeof areas);
    target.MemoryMap = {{0, 0x7FFF, 1}, {0x8000, 0xFFFF, 2}};
    const char lines[] =
        "\x02\x00~RESET\0\x03\x05"
        "NMI\0\x00\x00";
    target.HwLines.assign(lines, lines + sizeof lines);
    const char settings[] =
        "\x03\x02\x0C\x00"
        "Slow\0xx"
        "Mid\0xx"
        "Fast\0xx"
        "\0"
        "\x03"
        "Clock\0\x01\x02";
    target.CpuSettings.assign(settings, settings + sizeof settings);
    target.Trace = {0};
    target.TraceFrames = {Frame(Fetch, 0x100, 0x3E), Frame(Read, 0x101, 0x05), Frame(Write, 0x8000, 0x05)};
    target.EndlessTraceFrames = true;
    target.Log = {0x0041, 0x010D, 0x0141};
    target.TicksPerStep = 100;
  }

  void SetUp() override {
    MainWindowTest::SetUp();
    Random.seed(GetParam());
    std::fprintf(stderr, "monkey seed %u (TARVIK_MONKEY_SEED=%u runs it alone)\n", GetParam(), GetParam());
    InstallInputQuery();
    AnswerInput = SetModalDialogHandler([this](QDialog& dialog) { AnswerDialog(dialog); });
    AnswerFile = SetFileDialogHandler([this](TFileDialogRequest& request) { return ChooseFile(request); });
    // A long operation reads the keys now and then and runs the event loop
    // meanwhile, which brings the window manager's requests too.
    AbortKey.callOnTimeout([this] {
      if (!TBusyInputGuard::Active()) return;
      if (!std::exchange(CloseWhenBusy, false)) return QTest::keyClick(Form.get(), Qt::Key_H);
      CloseByWindowManager(Chance(20));
    });
    AbortKey.start(10);
    Form->resize(900, 700);
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    Connect();
    TheDebug->LoadProgram(TARVIK_SAMPLES "/demo.abs", 1, 9);
  }

  void TearDown() override {
    AbortKey.stop();
    MainWindowTest::TearDown();
    SetFileDialogHandler(std::move(AnswerFile));
    SetModalDialogHandler(std::move(AnswerInput));
  }

  int Below(int n) { return n > 0 ? static_cast<int>(Random() % static_cast<unsigned>(n)) : 0; }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T>
  T Pick(const std::vector<T>& from) {
    return from[static_cast<std::size_t>(Below(static_cast<int>(from.size())))];
  }

  void Note(const std::string& text) { std::fprintf(stderr, "monkey %u #%d %s\n", GetParam(), Step, text.c_str()); }

  // The windows a user can close or bring forward, the docked watch window too.
  std::vector<QWidget*> Windows() {
    std::vector<QWidget*> windows;
    for (QWidget* widget : Visible(Form.get()))
      if ((widget->isWindow() && widget != Form.get() && !qobject_cast<QMenu*>(widget)) ||
          qobject_cast<QMdiSubWindow*>(widget) || widget->objectName() == QLatin1String("frmWatchList"))
        windows.push_back(widget);
    return windows;
  }

  std::string Text() {
    if (Chance(80)) return Texts[Below(std::size(Texts))];
    static const char chars[] = " 0123456789ABCDEFxyz,.:()*-+'\"@~";
    std::string text;
    for (int i = Below(5); i > 0; --i) text += chars[Below(sizeof chars - 1)];
    return text;
  }

  void Act() {
    CloseWhenBusy = Chance(10);
    if (QWidget* popup = QApplication::activePopupWidget()) return UsePopup(popup);
    const int roll = Below(100);
    if (roll < 18) return TriggerCommand();
    if (roll < 24) return ClickToolButton();
    if (roll < 42) return PressKey(KeyTarget(Visible(Form.get())));
    if (roll < 50) return TypeText(KeyTarget(Visible(Form.get())));
    if (roll < 70) return UseMouse(Visible(Form.get()));
    if (roll < 78) return DockOrUndock();
    if (roll < 84) return CloseWindow();
    if (roll < 90) return ActivateWindow();
    if (roll < 94) return ChangeWindowState();
    const int ms = Below(1000);
    Note("idle after " + std::to_string(ms) + " ms");
    IdleAfter(static_cast<std::uint32_t>(ms));
  }

  void TriggerCommand() {
    std::vector<QAction*> commands;
    for (QWidget* widget : Visible(Form.get()))
      for (const QMenu* menu : widget->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) AddMenu(menu, commands);
    std::erase(commands, Form->MNU_FileExit);
    if (commands.empty()) return;
    QAction* command = Pick(commands);
    Note("command " + command->text().toStdString());
    command->trigger();
  }

  void ClickToolButton() {
    std::vector<QAction*> buttons;
    for (QAction* action : Form->ToolBar->actions())
      if (action->isEnabled() && !action->isSeparator()) buttons.push_back(action);
    if (buttons.empty()) return;
    QAction* button = Pick(buttons);
    Note("tool button " + button->toolTip().toStdString());
    QTest::mouseClick(Form->ToolBar->widgetForAction(button), Qt::LeftButton);
  }

  // Keys go to the focus mostly, but only where the user can reach: not past a modal dialog.
  QWidget* KeyTarget(const std::vector<QWidget*>& among) {
    QWidget* focus = QApplication::focusWidget();
    return std::find(among.begin(), among.end(), focus) != among.end() && Chance(70) ? focus : Pick(among);
  }

  void PressKey(QWidget* target) {
    const QKeyCombination key(Modifiers[Below(std::size(Modifiers))], Keys[Below(std::size(Keys))]);
    Note("key " + QKeySequence(key).toString().toStdString() + " to " + Name(target));
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
  }

  void TypeText(QWidget* target) {
    const std::string text = Text();
    Note("type \"" + text + "\" to " + Name(target));
    QTest::keyClicks(target, QString::fromStdString(text));
  }

  void UseMouse(const std::vector<QWidget*>& among) {
    QWidget* target = Pick(among);
    const QPoint at(Below(target->width()), Below(target->height()));
    const QPoint to =
        target->mapFrom(target->window(), QPoint(Below(target->window()->width()), Below(target->window()->height())));
    const char* const kinds[] = {"click", "double click", "right click", "wheel", "drag"};
    const int kind = Below(5);
    Note(std::string(kinds[kind]) + " " + Name(target) + " at " + std::to_string(at.x()) + "," +
         std::to_string(at.y()) + (kind == 4 ? " to " + std::to_string(to.x()) + "," + std::to_string(to.y()) : ""));
    // A press may close the widget's window, the widget with it.
    const QPointer<QWidget> alive = target;
    if (kind == 0) QTest::mouseClick(target, Qt::LeftButton, {}, at);
    if (kind == 1) QTest::mouseDClick(target, Qt::LeftButton, {}, at);
    if (kind == 2) QTest::mouseClick(target, Qt::RightButton, {}, at);
    if (kind == 3) {
      QWheelEvent wheel(at, target->mapToGlobal(at), {}, {0, Chance(50) ? 120 : -120}, Qt::NoButton, {},
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(target, &wheel);
    }
    if (kind != 4) return;
    QTest::mousePress(target, Qt::LeftButton, {}, at);
    for (int i = 1; i <= 3 && alive; ++i) QTest::mouseMove(target, at + (to - at) * i / 3);
    if (alive) QTest::mouseRelease(target, Qt::LeftButton, {}, to);
  }

  // An open menu takes every click and key; a click beside it only closes it.
  void UsePopup(QWidget* popup) {
    if (Chance(15)) {
      Note("click beside the popup");
      popup->close();
      return;
    }
    std::vector<QAction*> items;
    if (auto* menu = qobject_cast<QMenu*>(popup))
      for (QAction* action : menu->actions())
        if (!action->isSeparator() && action != Form->MNU_FileExit) items.push_back(action);
    if (items.empty() || Chance(20)) return PressKey(popup);
    QAction* item = Pick(items);
    Note("popup item " + item->text().toStdString());
    QTest::mouseClick(popup, Qt::LeftButton, {}, static_cast<QMenu*>(popup)->actionGeometry(item).center());
  }

  void DockOrUndock() {
    auto* watch = Form->findChild<TfrmWatchList*>(QStringLiteral("frmWatchList"));
    if (!watch) {
      Note("command open the watch window");
      return Form->MNU_ViewWatch->trigger();
    }
    std::vector<std::pair<const char*, TDockSite*>> sites;
    if (auto* cpu = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu")); cpu && cpu->isVisible())
      sites.emplace_back("frmCpu", cpu->DockSite);
    if (auto* source = Form->findChild<TfrmSource*>(QStringLiteral("frmSource")); source && source->isVisible())
      sites.emplace_back("frmSource", source->DockSite);
    if (sites.empty() || (!watch->isWindow() && Chance(60))) {
      const QPoint to(Below(Form->width()), Below(Form->height()));
      Note("drag the watch window to " + std::to_string(to.x()) + "," + std::to_string(to.y()));
      return DragWatchWindow(watch, Form->mapToGlobal(to));
    }
    const auto [host, site] = Pick(sites);
    Note(std::string("dock the watch window into ") + host);
    DragWatchWindow(watch, site->Panel()->mapToGlobal(site->Panel()->rect().center()));
  }

  void CloseWindow() {
    const std::vector<QWidget*> windows = Windows();
    if (windows.empty()) return;
    QWidget* window = Pick(windows);
    if (window->isWindow() && Chance(50)) return CloseByWindowManager(false);
    Note("close " + Name(window));
    window->close();
  }

  // The window manager's close box of a top-level window, as far as Qt lets
  // the request through: past a modal dialog only to that dialog. The main
  // window is asked only while busy, when it refuses (and ends the run when
  // the request comes as the operation ends).
  void CloseByWindowManager(bool mainToo) {
    std::vector<QWidget*> windows;
    if (QWidget* modal = QApplication::activeModalWidget()) {
      windows.push_back(modal);
    } else {
      for (QWidget* window : Windows())
        if (window->isWindow()) windows.push_back(window);
      if (mainToo) windows.push_back(Form.get());
    }
    if (windows.empty()) return;
    QWidget* window = Pick(windows);
    Note("window manager closes " + Name(window));
    PostWindowManagerClose(*window);
  }

  void ActivateWindow() {
    const std::vector<QWidget*> windows = Windows();
    if (windows.empty()) return;
    QWidget* window = Pick(windows);
    Note("activate " + Name(window));
    if (auto* child = qobject_cast<QMdiSubWindow*>(window)) return Form->MdiArea()->setActiveSubWindow(child);
    window->raise();
    window->activateWindow();
  }

  void ChangeWindowState() {
    const std::vector<QWidget*> windows = Windows();
    if (windows.empty()) return;
    QWidget* window = Pick(windows);
    const QSize size(50 + Below(900), 50 + Below(700));
    const char* const states[] = {"minimise", "maximise", "restore", "resize"};
    const int state = Below(4);
    Note(std::string(states[state]) + " " + Name(window) +
         (state == 3 ? " to " + std::to_string(size.width()) + "x" + std::to_string(size.height()) : ""));
    if (state == 0) window->showMinimized();
    if (state == 1) window->showMaximized();
    if (state == 2) window->showNormal();
    if (state == 3) window->resize(size);
  }

  void AnswerDialog(QDialog& dialog) {
    Note("  dialog " + dialog.windowTitle().toStdString());
    if (++Dialogs > DialogsPerAction) return;
    if (Chance(5)) {
      CloseByWindowManager(false);
      QCoreApplication::processEvents();
      return;
    }
    if (dynamic_cast<TInputForm*>(&dialog)) {
      Inputs.Answers = {Chance(20) ? std::nullopt : std::optional(Text())};
      Note("  answer " + (Inputs.Answers.front() ? "\"" + *Inputs.Answers.front() + "\"" : std::string("cancel")));
      return AnswerInput(dialog);
    }
    for (int i = Below(6); i > 0 && dialog.isVisible(); --i) {
      const std::vector<QWidget*> inside = Visible(&dialog);
      const int kind = Below(3);
      if (kind == 0) UseMouse(inside);
      if (kind == 1) PressKey(KeyTarget(inside));
      if (kind == 2) TypeText(KeyTarget(inside));
    }
    std::vector<QPushButton*> buttons;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->isVisible() && button->isEnabled()) buttons.push_back(button);
    if (!dialog.isVisible() || buttons.empty() || Chance(20)) return;
    QPushButton* button = Pick(buttons);
    Note("  press " + button->text().toStdString());
    QTest::mouseClick(button, Qt::LeftButton);
  }

  // A sample or a file written before to open, a file in the temporary
  // folder to save, or cancel.
  bool ChooseFile(TFileDialogRequest& request) {
    Files.Answers.clear();
    // A close box clicked right after: the request comes in while the file is read or written.
    if (Chance(25)) CloseByWindowManager(false);
    if (Chance(80)) {
      const QStringList written = QDir(Folder.path()).entryList(QDir::Files);
      QString name = QStringLiteral(TARVIK_SAMPLES "/") + Samples[Below(std::size(Samples))];
      if (request.Save)
        name = Folder.filePath(QStringLiteral("out%1.%2").arg(Below(3)).arg(request.DefaultExt));
      else if (!written.isEmpty() && Chance(30))
        name = Folder.filePath(written[Below(static_cast<int>(written.size()))]);
      Files.Answers.push_back({name, 1 + Below(static_cast<int>(QtNameFilters(request.Filter).size()))});
    }
    Note("  file dialog " + request.Title.toStdString() + ": " +
         (Files.Answers.empty() ? std::string("cancel") : Files.Answers.front().FileName.toStdString()));
    return AnswerFile(request);
  }

  std::mt19937 Random;
  int Step = 0;
  int Dialogs = 0;
  bool CloseWhenBusy = false;
  TMemoryRegistry Store;
  QTemporaryDir Folder;
  QTimer AbortKey;
  // The monkey chooses; the support's handlers answer and cancel.
  TInputAnswers Inputs;
  TFileDialogAnswers Files;
  TModalDialogHandler AnswerInput;
  TFileDialogHandler AnswerFile;
};

TEST_P(Monkey, LeavesNoWidgetFocusedOnOneThatIsGone) {
  // The main window ends the run once it is closed, as the program ends then.
  for (Step = 1; Step <= Actions && Form->isVisible(); ++Step) {
    // Every run command stops somewhere in the sample's code, so the views move.
    if (ProtocolScript().Stops.size() < 4) ProtocolScript().Stops.push_back(static_cast<std::uint32_t>(Below(0x400)));
    Dialogs = 0;
    QMetaObject::invokeMethod(Form.get(), [this] { Act(); }, Qt::QueuedConnection);
    QCoreApplication::sendPostedEvents(Form.get(), QEvent::MetaCall);
    Settle();
    ASSERT_EQ(DanglingFocus(), "") << "seed " << GetParam() << ", action " << Step << " (listed above)";
  }
  Note("command Exit");
  Form->MNU_FileExit->trigger();
  Settle();
  ASSERT_EQ(DanglingFocus(), "") << "seed " << GetParam() << " at the exit";
}

INSTANTIATE_TEST_SUITE_P(Seeds, Monkey, ::testing::ValuesIn(Seeds()),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                           return "Seed" + std::to_string(info.param);
                         });

}  // namespace
