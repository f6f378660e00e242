#include <QTest>

#include "FlagsInterior.h"
#include "InputAnswers.h"
#include "MainWindowFixture.h"
#include "Protocol.h"
#include "RegsInterior.h"
#include "StackInterior.h"
#include "srcCpu.h"

namespace {

// The register, flag and stack views as the CPU window holds them.
class CpuStateViewsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Form->resize(900, 700);
    Form->show();
    Connect();
    Cpu = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
    ASSERT_NE(Cpu, nullptr);
  }
  static QPoint Row(TScroller* view, int row) { return QPoint(20, row * view->GetLineHeight() + 7); }

  TfrmCpu* Cpu = nullptr;
};

TEST_F(CpuStateViewsTest, StopsMoveRegistersAndStackAndEditsReachTheTarget) {
  const uint8_t stack[4] = {0x3C, 0x0A, 0x78, 0x56};
  TheProtocol->WriteMemory(2, 0xFFF0, 4, stack);

  ProtocolScript().Stops = {{0x0200, {{"HL", 0x1234}, {"SP", 0xFFF0}}}, {0x0000, {{"SP", 0xFFF2}}}};
  uint32_t pc = 0;
  TheProtocol->Step(pc);
  SendMessage(Form->Handle(), UM_STOPPED, 0, static_cast<LPARAM>(pc));
  EXPECT_EQ(ViewLine(Cpu->RegsArea, 3), "HL      1234");
  EXPECT_EQ(ViewCell(Cpu->RegsArea, 8, 3).Color, clRed);
  EXPECT_EQ(ViewLine(Cpu->StackArea, 0), "FFF0 0A3C");
  EXPECT_EQ(Cpu->StackArea->Canvas()->GridGlyph(0), QStringLiteral("IMG_CURRSP"));

  // A reset is a stop to the views of this window.
  TheProtocol->Reset(pc);
  SendMessage(Cpu->Handle(), UM_TARGETRESET, 0, static_cast<LPARAM>(pc));
  EXPECT_EQ(ViewLine(Cpu->StackArea, 0), "FFF2 5678");
  EXPECT_EQ(ViewCell(Cpu->RegsArea, 8, 11).Color, clRed);

  // An edit tells the main window, which refreshes every view.
  Log.clear();
  Form->RegisterView(new FakeView(&Log, "v", Form.get()));
  TInputAnswers answers({"0ABCDH"});
  QTest::mouseDClick(Cpu->RegsArea->viewport(), Qt::LeftButton, {}, Row(Cpu->RegsArea, 1));
  EXPECT_EQ(ViewLine(Cpu->RegsArea, 1), "BC      ABCD");
  EXPECT_EQ(ViewCell(Cpu->RegsArea, 8, 11).Color, clWindowText);
  QTest::mouseClick(Cpu->FlagsArea->viewport(), Qt::LeftButton, {}, Row(Cpu->FlagsArea, 6));
  QTest::keyClick(Cpu->FlagsArea, Qt::Key_Space);
  EXPECT_EQ(ViewLine(Cpu->FlagsArea, 6), "Z   1");
  EXPECT_EQ(ViewLine(Cpu->RegsArea, 0), "AF      0040");
  EXPECT_EQ(Log, std::vector<std::string>(2, Entry("v", UM_REFRESH, 0)));
}

}  // namespace
