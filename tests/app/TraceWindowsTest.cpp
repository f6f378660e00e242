// The trace window, the trace configuration dialog and the communication-log
// window inside the real main window, on a scripted target with a trace.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "ModalDialog.h"
#include "SettingsRegistry.h"
#include "TargetPokes.h"
#include "TraceInterior.h"
#include "srcDebugProtocol.h"
#include "srcTrace.h"
#include "srcTraceConfiguration.h"

namespace {

// LD A,5 at 1234h, a write to 8000h and NOP.
const std::vector<TTraceFrame> Program = {Frame(Fetch, 0x1234, 0x3E), Frame(Read, 0x1235, 0x05),
                                          Frame(Write, 0x8000, 0x05), Frame(Fetch, 0x1236, 0x00)};

// Counter 5, frames available 8005h, last frame 10h, buffer 1000h, external
// clock and sampling; every word high byte first.
const std::vector<std::uint8_t> Settings = {0x00, 0x05, 0x80, 0x05, 0x00, 0x10, 0x10, 0x00, 0x05, 0x00};

class TraceWindows : public MainWindowTest {
 protected:
  void Prepare() override {
    ProtocolScript().Trace = {0};
    ProtocolScript().TraceFrames = Program;
    ProtocolScript().TraceConfig = Settings;
    ProtocolScript().Log = {0x0041, 0x0042, 0x010D, 0x0141};
    const std::uint8_t none[1] = {};
    Registry().WriteBinary(RegistryKey, "Trace", none, 0);
  }

  TfrmTrace* OpenTrace() {
    Form->TLB_ViewTrace->trigger();
    auto* form = dynamic_cast<TfrmTrace*>(Form->findChild<QWidget*>(QStringLiteral("frmTrace")));
    if (form) form->TraceInterior1->Update();
    return form;
  }
  static std::string Line(TfrmTrace* form, int row) { return ViewLine(form->TraceInterior1, row); }
  static TColor Color(TfrmTrace* form, int row) { return form->TraceInterior1->Canvas()->GridCell(0, row).Color; }
};

TEST_F(TraceWindows, TheTraceWindowShowsTheRecordedInstructionsAndCycles) {
  Connect();
  const int views = Form->ViewCount();
  TfrmTrace* form = OpenTrace();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Trace"));
  EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(form->txtHelp->text(), QStringLiteral("First frame = -4080 , Last frame = 16"));
  EXPECT_EQ(Form->ViewCount(), views + 1);

  // The line texts are the builder's; here only that they reach the canvas in their colours.
  const std::string fetch0 = "+00000   001234:3E Fetch        00000000";
  EXPECT_EQ(Line(form, 0), "001234:3E05                      LD      A,05");
  EXPECT_EQ(Line(form, 1), fetch0);
  EXPECT_EQ(Color(form, 1), clRed);
  EXPECT_EQ(Color(form, 3), clBlack);
  EXPECT_EQ(Color(form, 7), clGray);

  // Frames only, from frame 2 on.
  QTest::mouseClick(form->CheckBox1, Qt::LeftButton);
  QTest::mouseClick(form->CheckBox3, Qt::LeftButton);
  EXPECT_EQ(Line(form, 0), fetch0);
  form->txtDisplayAt->setText(QStringLiteral("2"));
  QTest::keyClick(form->txtDisplayAt, Qt::Key_Return);
  EXPECT_EQ(Line(form, 0), "+00002   008000:05 Write memory 00000000");

  // A bad answer is refused and leaves the view as it was.
  form->txtDisplayAt->setText(QStringLiteral("nosuch"));
  QTest::mouseClick(form->cmdOk, Qt::LeftButton);
  EXPECT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(form->txtDisplayAt->text(), QString());
  EXPECT_EQ(Line(form, 0), "+00002   008000:05 Write memory 00000000");

  // A stop decodes the same frames again and reads the settings again.
  ProtocolScript().TraceFrames[2] = Frame(Write, 0x9000, 0x77);
  ProtocolScript().TraceConfig[5] = 0x20;
  SendMessage(Form->Handle(), UM_STOPPED, 0, 0);
  EXPECT_EQ(Line(form, 0), "+00002   009000:77 Write memory 00000000");
  EXPECT_EQ(form->txtHelp->text(), QStringLiteral("First frame = -4064 , Last frame = 32"));

  // The tool button closes it again; its place is kept.
  Form->TLB_ViewTrace->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Form->findChild<QWidget*>(QStringLiteral("frmTrace")), nullptr);
  EXPECT_EQ(Form->ViewCount(), views);
  TWindowRect rect;
  ASSERT_TRUE(ReadWindowRect("Trace", rect));

  // It comes back where it was left.
  rect = {30, 40, 420, 250};
  WriteWindowRect("Trace", rect);
  form = OpenTrace();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->pos(), QPoint(30, 40));
  EXPECT_EQ(form->size(), QSize(420, 250));
}

TEST_F(TraceWindows, TheCursorFollowsMouseAndKeysButNeverPassesTheEnd) {
  Connect();
  TfrmTrace* form = OpenTrace();
  ASSERT_NE(form, nullptr);
  TTraceInterior* view = form->TraceInterior1;
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, 5 * view->GetLineHeight() + 3));
  EXPECT_EQ(view->CursorRow(), 5);
  EXPECT_EQ(view->Canvas()->GridCell(0, 5).Background, clHighlight);
  EXPECT_EQ(view->Canvas()->GridCell(0, 5).Color, clWhite);
  for (int i = 0; i < 3; ++i) QTest::keyClick(view, Qt::Key_Down);
  EXPECT_EQ(view->CursorRow(), 6);
  EXPECT_EQ(view->Canvas()->GridCell(0, 5).Background, view->Color());
  EXPECT_EQ(view->Canvas()->GridCell(0, 5).Color, clRed);
}

TEST_F(TraceWindows, TheConfigurationDialogSendsCounterAndSwitches) {
  Connect();
  Form->SetViewFactory(TViewKind::Watch, Factory("watch"));
  Form->TLB_ViewWatch->trigger();
  std::vector<std::string> shown;
  std::vector<int> results;
  auto answer = [&](std::function<void(TfrmTraceConfiguration&)> act) {
    const TModalDialogHandler previous = SetModalDialogHandler([&](QDialog& dialog) {
      auto& form = dynamic_cast<TfrmTraceConfiguration&>(dialog);
      EXPECT_EQ(form.parentWidget(), Form.get());
      shown = {form.windowTitle().toStdString(),  form.txtFramesAvl->text().toStdString(),
               form.txtFirstFrame->text().toStdString(), form.txtLastFrame->text().toStdString(),
               form.txtTraceCounter->text().toStdString()};
      for (QCheckBox* box : {form.CheckBox1, form.CheckBox2, form.CheckBox3, form.CheckBox4})
        shown.push_back(box->isChecked() ? "x" : "-");
      act(form);
    });
    Form->MNU_ConfigureTrace->trigger();
    SetModalDialogHandler(previous);
  };
  auto counter = [](TfrmTraceConfiguration& form, const char* text, QPushButton* button) {
    form.txtTraceCounter->setText(QString::fromLatin1(text));
    QTest::mouseClick(button, Qt::LeftButton);
  };

  answer([&](TfrmTraceConfiguration& form) {
    counter(form, "32768", form.cmdOk);
    counter(form, "12x", form.cmdClear);
    results.push_back(form.isVisible());
    counter(form, "0", form.cmdClear);
    results.push_back(form.isVisible());
    form.CheckBox1->setChecked(false);
    form.CheckBox4->setChecked(true);
    counter(form, "32767", form.cmdOk);
    results.push_back(form.result());
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"Trace configuration", " 4096", " -4080", " 16", "5", "x", "-", "x", "-"}));
  ASSERT_EQ(Boxes.Messages.size(), 2u);
  EXPECT_EQ(Boxes.Messages[0].Text, "Trace counter value out of range!");
  EXPECT_EQ(Boxes.Messages[0].Caption, "ERROR");
  EXPECT_EQ(Boxes.Messages[1].Text, "'12x' is not a valid integer value");
  EXPECT_EQ(Boxes.Messages[1].Caption, "Corvane 4");
  EXPECT_EQ(Boxes.Messages[1].Flags, MB_OK | MB_ICONSTOP);
  EXPECT_EQ(results, (std::vector<int>{1, 1, mrOk}));
  EXPECT_EQ(ProtocolScript().TraceCommands,
            (std::vector<std::vector<std::uint8_t>>{{0x00, 0x00, 0x05, 0x01, 0xFF}, {0x7F, 0xFF, 0x0C, 0x00, 0xFF}}));
  // Clear refreshed every view.
  EXPECT_EQ(Log, (std::vector<std::string>{Entry("watch", UM_REFRESH, 0)}));

  // Esc and UM_CLOSEDIALOG cancel and send nothing.
  answer([&](TfrmTraceConfiguration& form) {
    QTest::keyClick(&form, Qt::Key_Escape);
    results.push_back(form.result());
  });
  answer([&](TfrmTraceConfiguration& form) {
    SendMessage(form.Handle(), UM_CLOSEDIALOG, 0, 0);
    results.push_back(form.result());
  });
  EXPECT_EQ(results, (std::vector<int>{1, 1, mrOk, mrCancel, mrCancel}));
  EXPECT_EQ(ProtocolScript().TraceCommands.size(), 2u);
}

TEST_F(TraceWindows, TheCommunicationLogShowsOneLinePerDirection) {
  Connect();
  const int views = Form->ViewCount();
  Form->TLB_DbgProt->trigger();
  auto* form = dynamic_cast<TfrmDebugProtocol*>(Form->findChild<QWidget*>(QStringLiteral("frmDebugProtocol")));
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(Form->MdiArea()->subWindowList().contains(form));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("frmDebugProtocol"));
  const QTextDocument* text = form->RichEdit1->document();
  EXPECT_EQ(text->toPlainText(), QStringLiteral("AB\n<0D>A"));
  EXPECT_EQ(text->findBlockByNumber(0).begin().fragment().charFormat().foreground().color(), QColor(Qt::black));
  EXPECT_EQ(text->findBlockByNumber(1).begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
  EXPECT_TRUE(form->RichEdit1->isReadOnly());

  Form->TLB_DbgProt->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Form->findChild<QWidget*>(QStringLiteral("frmDebugProtocol")), nullptr);
  EXPECT_EQ(Form->ViewCount(), views);
}

class TraceWindowsWithoutTrace : public MainWindowTest {};

TEST_F(TraceWindowsWithoutTrace, TheLogIsEmpty) {
  Connect();
  ASSERT_TRUE(Form->TLB_DbgProt->isEnabled());
  Form->TLB_DbgProt->trigger();
  auto* form = dynamic_cast<TfrmDebugProtocol*>(Form->findChild<QWidget*>(QStringLiteral("frmDebugProtocol")));
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->RichEdit1->document()->isEmpty());
}

}  // namespace
