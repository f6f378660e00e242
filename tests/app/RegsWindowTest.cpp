#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTest>

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
    Registry().WriteBinary(RegistryKey, "Registers", "", 0);
    Connect();
  }

  TfrmRegs* Open() {
    Form->TLB_ViewRegs->trigger();
    return Form->findChild<TfrmRegs*>(QStringLiteral("frmRegs"));
  }
};

TEST_F(RegsWindowTest, StopsAndRefreshesRebuildTheFloatingWindowATargetResetDoesNot) {
  EXPECT_FALSE(Form->TLB_ViewSRegs->isEnabled());  // the target has no special registers
  TfrmRegs* form = Open();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Registers"));
  EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(form->RegsArea->OnChange);
  ProtocolScript().Stops = {{0x0200, {{"HL", 0x1234}}}, {0x0300, {{"BC", 0x0042}}}};
  uint32_t pc = 0;
  TheProtocol->Step(pc);
  SendMessage(Form->Handle(), UM_STOPPED, 0, static_cast<LPARAM>(pc));
  EXPECT_EQ(ViewLine(form->RegsArea, 3), "HL      1234");
  TheProtocol->Step(pc);
  SendMessage(form->Handle(), UM_TARGETRESET, 0, static_cast<LPARAM>(pc));
  EXPECT_EQ(ViewLine(form->RegsArea, 1), "BC      0000");
  SendMessage(Form->Handle(), UM_REFRESH);
  EXPECT_EQ(ViewLine(form->RegsArea, 1), "BC      0042");
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
  std::int32_t Height;
  int Lines;
};

class StoredGeometry : public RegsWindowTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredGeometry, IsTakenWithinTheLimits) {
  const StoredCase& c = GetParam();
  ASSERT_TRUE(WriteWindowRect("REGISTERS", TWindowRect{40, 50, 20, c.Height}));
  TfrmRegs* form = Open();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->pos(), QPoint(40, 50));
  EXPECT_EQ(form->width(), form->minimumWidth());
  EXPECT_EQ(form->RegsArea->GetNumLines(), c.Lines);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredGeometry,
                         ::testing::Values(StoredCase{"Within", 100, 6}, StoredCase{"TooLow", 10, 4},
                                           StoredCase{"TooHigh", 2000, 14}),
                         [](const ::testing::TestParamInfo<StoredCase>& info) { return info.param.Name; });

// A place stored on a screen since gone, or on a larger one, brings the
// window back onto the screen, frame and all, once it is shown; the size stays.
TEST_F(RegsWindowTest, AStoredPlaceOffTheScreenComesBackOntoIt) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const auto shownFrom = [this](QPoint stored) {
    EXPECT_TRUE(WriteWindowRect("Registers", TWindowRect{stored.x(), stored.y(), 200, 150}));
    TfrmRegs* form = Open();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    QCoreApplication::processEvents();
    const QRect frame = form->frameGeometry();
    EXPECT_EQ(form->height(), 150);
    EXPECT_GT(frame.height(), 150);
    form->close();
    QCoreApplication::processEvents();
    return frame;
  };
  EXPECT_EQ(shownFrom({40, 50}).topLeft(), QPoint(40, 50));
  EXPECT_EQ(shownFrom({-4000, -3000}).topLeft(), screen.topLeft());
  EXPECT_EQ(shownFrom(screen.bottomRight() + QPoint(2000, 1)).bottomRight(), screen.bottomRight());
}

TEST_F(RegsWindowTest, TheSpecialRegisterWindowOfATargetWithoutThemStaysEmpty) {
  auto* form = new TfrmSRegs(Form.get());
  form->show();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Special Registers"));
  SendMessage(form->Handle(), UM_STOPPED);
  EXPECT_EQ(ViewLine(form->SRegsArea, 0), "");
  EXPECT_LE(form->minimumHeight(), form->maximumHeight());
  form->move(300, 200);
  const QSize size = form->size();
  delete form;
  TWindowRect stored;
  ASSERT_TRUE(ReadWindowRect("sregisters", stored));
  EXPECT_EQ(QRect(stored.Left, stored.Top, stored.Width, stored.Height), QRect(QPoint(300, 200), size));
}

}  // namespace
