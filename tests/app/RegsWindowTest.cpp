#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QTest>

#include "InputAnswers.h"
#include "MainWindowFixture.h"
#include "RegsInterior.h"
#include "SRegsInterior.h"
#include "SettingsRegistry.h"
#include "srcRegisters.h"
#include "srcSRegisters.h"

namespace {

class RegsWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    const std::uint8_t none[1] = {};
    Registry().WriteBinary(RegistryKey, "Registers", none, 0);
    Connect();
  }

  TfrmRegs* Open() {
    Form->TLB_ViewRegs->trigger();
    auto* form = Form->findChild<TfrmRegs*>(QStringLiteral("frmRegs"));
    if (form) form->RegsArea->Update();
    return form;
  }
  void Close(TfrmRegs* form) {
    form->close();
    QCoreApplication::processEvents();  // UM_VIEWCLOSED is posted
  }
  static std::string Line(TfrmRegs* form, int row) {
    form->RegsArea->Update();
    return form->RegsArea->Canvas()->GridLine(row).trimmed().toStdString();
  }
  static TColor Color(TfrmRegs* form, int row) {
    form->RegsArea->Update();
    return form->RegsArea->Canvas()->GridCell(0, row).Color;
  }
};

TEST_F(RegsWindowTest, OpensFromTheToolButtonAsAFloatingRegisterWindow) {
  EXPECT_TRUE(Form->TLB_ViewRegs->isEnabled());
  EXPECT_TRUE(Form->MNU_ViewRegs->isEnabled());
  // The target has no special registers.
  EXPECT_FALSE(Form->TLB_ViewSRegs->isEnabled());
  EXPECT_FALSE(Form->MNU_ViewSRegs->isEnabled());

  TfrmRegs* form = Open();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Registers"));
  EXPECT_TRUE(form->windowFlags() & Qt::Tool);
  EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(Form->ViewCount(), 1);
  EXPECT_EQ(Line(form, 0), "AF      0000");
  EXPECT_FALSE(form->RegsArea->OnChange);
  Close(form);
  EXPECT_FALSE(Form->TLB_ViewRegs->isChecked());
  EXPECT_EQ(Form->ViewCount(), 0);
}

TEST_F(RegsWindowTest, StopsRebuildItWithTheChangedRegistersInRedButATargetResetDoesNot) {
  TfrmRegs* form = Open();
  ASSERT_NE(form, nullptr);
  form->resize(form->maximumSize());
  ProtocolScript().Stops = {{0x0200, {{"HL", 0x1234}, {"SP", 0xFFF0}}}, {0x0300, {{"BC", 0x0042}}}};
  uint32_t pc = 0;
  TheProtocol->Step(pc);
  SendMessage(Form->Handle(), UM_STOPPED, 0, static_cast<LPARAM>(pc));
  EXPECT_EQ(Line(form, 3), "HL      1234");
  EXPECT_EQ(Color(form, 3), clRed);
  EXPECT_EQ(Line(form, 11), "SP      FFF0");
  EXPECT_EQ(Color(form, 11), clRed);
  EXPECT_EQ(Line(form, 12), "PC      0200");
  EXPECT_EQ(Color(form, 1), clWindowText);

  TheProtocol->Step(pc);
  SendMessage(form->Handle(), UM_TARGETRESET, 0, static_cast<LPARAM>(pc));
  EXPECT_EQ(Line(form, 1), "BC      0000");
  SendMessage(Form->Handle(), UM_REFRESH);
  EXPECT_EQ(Line(form, 1), "BC      0042");
  EXPECT_EQ(Color(form, 1), clRed);
  EXPECT_EQ(Color(form, 3), clWindowText);
}

TEST_F(RegsWindowTest, AnEditInTheWindowTellsNoOtherWindow) {
  TfrmRegs* form = Open();
  ASSERT_NE(form, nullptr);
  Log.clear();
  Form->RegisterView(new FakeView(&Log, "cpu", Form.get()));
  TInputAnswers answers({"1234H"});
  QTest::mouseClick(form->RegsArea->viewport(), Qt::LeftButton, {}, QPoint(20, 3 * 15 + 7));
  form->RegsArea->Popup()->findChild<QAction*>(QStringLiteral("Modify"))->trigger();
  EXPECT_EQ(Line(form, 3), "HL      1234");
  QCoreApplication::processEvents();
  EXPECT_TRUE(Log.empty());
}

TEST_F(RegsWindowTest, ReopensWhereItWasLeft) {
  TfrmRegs* form = Open();
  ASSERT_NE(form, nullptr);
  form->move(150, 120);
  form->resize(form->minimumWidth() + 2, form->minimumHeight() + 30);
  const QRect left(form->pos(), form->size());
  Form->TLB_ViewRegs->trigger();  // released: the window goes
  QCoreApplication::processEvents();
  EXPECT_EQ(Form->findChild<TfrmRegs*>(QStringLiteral("frmRegs")), nullptr);

  TWindowRect stored;
  ASSERT_TRUE(ReadWindowRect("registers", stored));
  EXPECT_EQ(QRect(stored.Left, stored.Top, stored.Width, stored.Height), left);

  Form->MNU_ViewRegs->trigger();
  form = Form->findChild<TfrmRegs*>(QStringLiteral("frmRegs"));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(QRect(form->pos(), form->size()), left);
}

struct StoredCase {
  const char* Name;
  std::vector<std::uint8_t> Bytes;
  bool Applied;
  bool HeightAtMaximum;
};

class StoredGeometry : public RegsWindowTest, public ::testing::WithParamInterface<StoredCase> {};

std::vector<std::uint8_t> Rect(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                               std::size_t size = 16) {
  std::vector<std::uint8_t> bytes(size);
  const std::int32_t values[4] = {left, top, width, height};
  for (int i = 0; i < 16; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(values[i / 4] >> (8 * (i % 4)));
  return bytes;
}

TEST_P(StoredGeometry, IsTakenOnlyAtSixteenBytesAndWithinTheLimits) {
  const StoredCase& c = GetParam();
  Registry().WriteBinary(RegistryKey, "REGISTERS", c.Bytes.data(), c.Bytes.size());
  TfrmRegs* form = Open();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->pos() == QPoint(40, 50), c.Applied);
  if (c.HeightAtMaximum) {
    EXPECT_EQ(form->height(), form->maximumHeight());
  }
  EXPECT_GE(form->width(), form->minimumWidth());
  EXPECT_LE(form->width(), form->maximumWidth());
  // At most all fourteen registers fit.
  EXPECT_LE(form->RegsArea->GetNumLines(), 14);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredGeometry,
                         ::testing::Values(StoredCase{"Sixteen", Rect(40, 50, 140, 150), true, false},
                                           StoredCase{"Twenty", Rect(40, 50, 140, 150, 20), false, false},
                                           StoredCase{"TooHigh", Rect(40, 50, 140, 2000), true, true}),
                         [](const ::testing::TestParamInfo<StoredCase>& info) { return info.param.Name; });

TEST_F(RegsWindowTest, SizeLimitsComeFromTheView) {
  TfrmRegs* form = Open();
  ASSERT_NE(form, nullptr);
  QSize min, max;
  form->RegsArea->GetMinMaxInfo(min, max);
  const int bar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  EXPECT_EQ(form->minimumSize(), min + QSize(bar, 0));
  EXPECT_EQ(form->maximumSize(), max + QSize(bar, 0));
  form->resize(form->minimumSize());
  QCoreApplication::processEvents();
  EXPECT_EQ(form->RegsArea->GetNumLines(), 4);
  EXPECT_EQ(Line(form, 3), "HL      0000");
}

TEST_F(RegsWindowTest, TheSpecialRegisterWindowOfATargetWithoutThemStaysEmpty) {
  auto* form = new TfrmSRegs(Form.get());
  form->show();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Special Registers"));
  SendMessage(form->Handle(), UM_STOPPED);
  form->SRegsArea->Update();
  EXPECT_EQ(form->SRegsArea->Canvas()->GridLine(0).trimmed(), QString());
  EXPECT_LE(form->minimumHeight(), form->maximumHeight());
  form->move(300, 200);
  const QSize size = form->size();
  delete form;
  TWindowRect stored;
  ASSERT_TRUE(ReadWindowRect("sregisters", stored));
  EXPECT_EQ(QRect(stored.Left, stored.Top, stored.Width, stored.Height), QRect(QPoint(300, 200), size));
}

}  // namespace
