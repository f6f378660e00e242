#include <QAction>
#include <QMdiArea>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include "MainWindowFixture.h"
#include "SettingsRegistry.h"

namespace {

// A stored geometry as a damaged or hand-edited settings file may hold it.
struct TStoredCase {
  const char* Name;
  const char* Value;  // the registry value, then the window that reads it
  const char* Window;
  QAction* TfrmMain::*Open;  // none: the CPU window, opened at connection
  std::vector<std::int32_t> Numbers;
  const char* Text = nullptr;  // stored as text in place of the numbers
  QRect Exactly = {};
};

class StoredWindowGeometry : public MainWindowTest, public ::testing::WithParamInterface<TStoredCase> {
 protected:
  void TearDown() override {
    MainWindowTest::TearDown();
    QSettings(QStringLiteral("Ostrel"), QStringLiteral("Corvane")).remove(QStringLiteral("SOFTWARE"));
  }
};

// At once and with no integer overflowing, the window comes up inside its area
// (the screen's free part; the main window's area for the CPU window), also
// when restored from maximised, and not below its minimum; an ordinary
// geometry is taken exactly.
TEST_P(StoredWindowGeometry, ComesUpWithinItsAreaAndNotBelowItsMinimum) {
  const TStoredCase& c = GetParam();
  if (c.Text)
    QSettings(QStringLiteral("Ostrel"), QStringLiteral("Corvane"))
        .setValue(QStringLiteral("SOFTWARE/Ostrel/Corvane/") + c.Value, QString::fromLatin1(c.Text));
  else
    Registry().WriteBinary(RegistryKey, c.Value, c.Numbers.data(), c.Numbers.size() * sizeof c.Numbers[0]);
  Form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  Connect();
  if (c.Open) (Form.get()->*c.Open)->trigger();
  auto* window = Form->findChild<QWidget*>(QString::fromLatin1(c.Window));
  ASSERT_TRUE(window && QTest::qWaitForWindowExposed(window));
  if (window->isMaximized()) window->showNormal();
  QCoreApplication::processEvents();

  const QRect area = window->isWindow() ? window->screen()->availableGeometry() : Form->MdiArea()->viewport()->rect();
  const QRect placed(window->pos(), window->size());
  EXPECT_TRUE(area.contains(placed)) << placed.width() << " x " << placed.height();
  EXPECT_TRUE(window->width() >= window->minimumWidth() && window->height() >= window->minimumHeight());
  if (!c.Exactly.isNull()) {
    EXPECT_EQ(placed, c.Exactly);
  }
}

constexpr std::int32_t Huge = 2000000000, Least = INT32_MIN, Most = INT32_MAX, Large = 100000;

INSTANTIATE_TEST_SUITE_P(
    Values, StoredWindowGeometry,
    ::testing::Values(
        TStoredCase{"CpuHuge", "Cpu", "frmCpu", nullptr, {0, 0, Huge, Huge, 0}},
        TStoredCase{"CpuHugeMaximised", "Cpu", "frmCpu", nullptr, {0, 0, Huge, Huge, 1}},
        TStoredCase{"CpuLeast", "Cpu", "frmCpu", nullptr, {0, 0, Least, Least, 0}},
        TStoredCase{"CpuMost", "Cpu", "frmCpu", nullptr, {Most, Most, Most, Most, 0}},
        TStoredCase{"CpuText", "Cpu", "frmCpu", nullptr, {}, "aaaaaaaaaaaaaaaaaaaa", QRect(0, 0, 601, 420)},
        TStoredCase{"CpuOrdinary", "Cpu", "frmCpu", nullptr, {30, 20, 601, 380, 0}, nullptr, QRect(30, 20, 601, 380)},
        TStoredCase{"WatchesLarge", "Watches", "frmWatchList", &TfrmMain::TLB_ViewWatch, {40, 50, Large, Large}},
        TStoredCase{"SymbolsLarge", "Symbols", "frmSymList", &TfrmMain::TLB_ViewSym, {40, 50, Large, Large}},
        TStoredCase{"RegistersMost", "Registers", "frmRegs", &TfrmMain::TLB_ViewRegs, {Most, Most, Most, Most}},
        TStoredCase{"WatchesOrdinary", "Watches", "frmWatchList", &TfrmMain::TLB_ViewWatch, {40, 50, 400, 200},
                    nullptr, QRect(40, 50, 400, 200)}),
    [](const ::testing::TestParamInfo<TStoredCase>& info) { return std::string(info.param.Name); });

}  // namespace
