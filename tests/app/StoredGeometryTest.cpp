#include <QAction>
#include <QMdiArea>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <climits>

#include "MainWindowFixture.h"
#include "SettingsRegistry.h"

namespace {

// A stored geometry as a damaged or hand-edited settings file may hold it.
struct TStoredCase {
  const char* Name;
  const char* Value;  // the registry value, and the window that reads it
  const char* Window;
  QAction* TfrmMain::*Open;  // none: the CPU window, opened at connection
  std::vector<std::int32_t> Numbers;
  const char* Text = nullptr;  // stored as text in place of the numbers
  QRect Exactly = {};          // the geometry it must take, when set
};

class StoredWindowGeometry : public MainWindowTest, public ::testing::WithParamInterface<TStoredCase> {
 protected:
  void TearDown() override {
    MainWindowTest::TearDown();
    Settings()->remove(QString());
  }
  static std::unique_ptr<QSettings> Settings() {
    auto settings = std::make_unique<QSettings>(QStringLiteral("Ostrel"), QStringLiteral("Corvane"));
    settings->beginGroup(QStringLiteral("SOFTWARE/Ostrel/Corvane"));
    return settings;
  }
};

// The window comes up inside its area (the screen's free part, the main
// window's area for the CPU window) and not below its minimum, at once and
// with no integer overflowing, and so restores from maximised; an ordinary
// geometry is taken exactly.
TEST_P(StoredWindowGeometry, ComesUpWithinItsAreaAndNotBelowItsMinimum) {
  const TStoredCase& c = GetParam();
  Settings()->remove(QString());
  if (c.Text)
    Settings()->setValue(QString::fromLatin1(c.Value), QString::fromLatin1(c.Text));
  else
    Registry().WriteBinary(RegistryKey, c.Value, c.Numbers.data(), c.Numbers.size() * sizeof c.Numbers[0]);
  Form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  Connect();
  if (c.Open) (Form.get()->*c.Open)->trigger();
  auto* window = Form->findChild<QWidget*>(QString::fromLatin1(c.Window));
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  if (window->isMaximized()) window->showNormal();
  QCoreApplication::processEvents();

  const QRect area = window->isWindow() ? window->screen()->availableGeometry() : Form->MdiArea()->viewport()->rect();
  const QRect placed(window->pos(), window->size());
  EXPECT_TRUE(area.contains(placed)) << placed.x() << "," << placed.y() << " " << placed.width() << "x"
                                     << placed.height();
  EXPECT_GE(window->width(), window->minimumWidth());
  EXPECT_GE(window->height(), window->minimumHeight());
  if (!c.Exactly.isNull()) {
    EXPECT_EQ(placed, c.Exactly);
  }
}

constexpr std::int32_t Huge = 2000000000;
constexpr std::int32_t Least = INT32_MIN;
constexpr std::int32_t Most = INT32_MAX;

INSTANTIATE_TEST_SUITE_P(
    Values, StoredWindowGeometry,
    ::testing::Values(
        TStoredCase{"CpuHuge", "Cpu", "frmCpu", nullptr, {0, 0, Huge, Huge, 0}},
        TStoredCase{"CpuMaximisedHuge", "Cpu", "frmCpu", nullptr, {0, 0, Huge, Huge, 1}},
        TStoredCase{"CpuLeast", "Cpu", "frmCpu", nullptr, {0, 0, Least, Least, 0}},
        TStoredCase{"CpuMost", "Cpu", "frmCpu", nullptr, {Most, Most, Most, Most, 0}},
        TStoredCase{"CpuText", "Cpu", "frmCpu", nullptr, {}, "aaaaaaaaaaaaaaaaaaaa", QRect(0, 0, 601, 420)},
        TStoredCase{"CpuOrdinary", "Cpu", "frmCpu", nullptr, {30, 20, 601, 380, 0}, nullptr, QRect(30, 20, 601, 380)},
        TStoredCase{"WatchesLarge", "Watches", "frmWatchList", &TfrmMain::TLB_ViewWatch, {40, 50, 100000, 100000}},
        TStoredCase{"RegistersLarge", "Registers", "frmRegs", &TfrmMain::TLB_ViewRegs, {40, 50, 100000, 100000}},
        TStoredCase{"SymbolsLarge", "Symbols", "frmSymList", &TfrmMain::TLB_ViewSym, {40, 50, 100000, 100000}},
        TStoredCase{"RegistersMost", "Registers", "frmRegs", &TfrmMain::TLB_ViewRegs, {Most, Most, Most, Most}},
        TStoredCase{"WatchesLeast", "Watches", "frmWatchList", &TfrmMain::TLB_ViewWatch, {Least, Least, Least, Least}},
        TStoredCase{"WatchesOrdinary", "Watches", "frmWatchList", &TfrmMain::TLB_ViewWatch, {40, 50, 400, 200},
                    nullptr, QRect(40, 50, 400, 200)}),
    [](const ::testing::TestParamInfo<TStoredCase>& info) { return std::string(info.param.Name); });

}  // namespace
