// A window manager's close request is no input: it reaches a window while a
// busy operation's event pump runs or while a dialog is up, inside a handler
// that goes on using the window. The window leaves the view list at once and
// is freed once the handler has returned: the handler's work lands, and the
// sanitizer build sees nothing touch a freed window.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <vector>

#include "Debug.h"
#include "DockSite.h"
#include "DumpInterior.h"
#include "FileDialogAnswers.h"
#include "InputAnswers.h"
#include "MainWindowFixture.h"
#include "Protocol.h"
#include "WatchDrag.h"
#include "WatchInterior.h"
#include "WindowManagerClose.h"
#include "srcCpu.h"
#include "srcMemory.h"
#include "srcSource.h"
#include "srcWatchList.h"

namespace {

class ClosedUnderHandlerTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Form->resize(900, 800);
    Form->show();
    Connect();
  }

  // A command runs inside an event, as every handler does in the program.
  void FromEventLoop(std::function<void()> command) {
    QMetaObject::invokeMethod(Form.get(), std::move(command), Qt::QueuedConnection);
    QCoreApplication::processEvents();
  }
};

TEST_F(ClosedUnderHandlerTest, AMemoryWindowClosedDuringABlockTransfer) {
  QTemporaryDir dir;
  const QString saved = dir.filePath(QStringLiteral("block.bin"));
  const struct {
    const char* Item;
    TFileAnswer File;
  } cases[] = {
      {"ReadBlock", {QStringLiteral(TARVIK_SAMPLES "/demo.hex"), 2}},
      {"SaveBlock", {saved, 4}},
  };
  std::vector<uint8_t> image(0x20);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Item);
    Form->TLB_ViewDump->trigger();
    const QPointer<QWidget> form = Form->findChild<QWidget*>(QStringLiteral("frmMemory"));
    ASSERT_TRUE(form);
    const int views = Form->ViewCount();
    TInputAnswers answers({"0,0,20H"});
    TFileDialogAnswers files({c.File});
    // Made as the file is chosen, the request arrives at the transfer's first pump.
    TFileDialogHandler answer;
    answer = SetFileDialogHandler([&](TFileDialogRequest& request) {
      PostWindowManagerClose(*form);
      return answer(request);
    });
    FromEventLoop([&] {
      QMenu* popup = static_cast<TfrmMemory*>(form.data())->DumpArea->Popup();
      popup->findChild<QAction*>(QString::fromLatin1(c.Item))->trigger();
      EXPECT_TRUE(form) << "freed under the handler";
    });
    SetFileDialogHandler(std::move(answer));
    EXPECT_FALSE(form);
    EXPECT_EQ(Form->ViewCount(), views - 1);
  }
  TheProtocol->ReadMemory(1, 0, 0x20, image.data());
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray(reinterpret_cast<const char*>(image.data()), 0x20));
  EXPECT_EQ(image[0], 0xC3);  // the sample's first instruction, loaded
  EXPECT_TRUE(Boxes.Messages.empty());
}

// The watch window, floating or docked, is closed while its "Add Watch"
// dialog is up: by itself or with its host.
TEST_F(ClosedUnderHandlerTest, AWatchWindowClosedWhileItsDialogIsUp) {
  TFileDialogAnswers files({{TARVIK_SAMPLES "/demo.c"}});
  TheDebug->LoadProgram(TARVIK_SAMPLES "/demo.abs", 1, 9);
  for (const char* hostName : {"", "frmSource", "frmCpu"}) {
    SCOPED_TRACE(hostName);
    const QString host = QString::fromLatin1(hostName);
    if (host == QLatin1String("frmSource")) Form->MNU_ViewSource->trigger();
    auto* source = Form->findChild<TfrmSource*>(QStringLiteral("frmSource"));
    auto* cpu = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
    Form->TLB_ViewWatch->trigger();
    const QPointer<TfrmWatchList> form = Form->findChild<TfrmWatchList*>(QStringLiteral("frmWatchList"));
    ASSERT_TRUE(form && cpu);
    QPointer<QWidget> closing = form.data();
    if (!host.isEmpty()) {
      TDockSite* site = source && host == source->objectName() ? source->DockSite : cpu->DockSite;
      form->move(0, 0);
      DragWatchWindow(form, site->Panel()->mapToGlobal(site->Panel()->rect().center()));
      ASSERT_EQ(site->DockedControl(), form);
      closing = site->window() == Form.get() ? static_cast<QWidget*>(cpu) : source;
    }
    TInputAnswers answers({"counter"});
    TModalDialogHandler answer;
    answer = SetModalDialogHandler([&](QDialog& dialog) {
      // Within an MDI area the close box is the area's; outside, the window manager's.
      if (closing == cpu)
        cpu->close();
      else
        PostWindowManagerClose(*closing);
      // The dialog's loop runs on until the window has left the list.
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
