#include <QMdiArea>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTest>

#include "CodeInterior.h"
#include "DockSite.h"
#include "InputScript.h"
#include "MainWindowFixture.h"
#include "MemoryRegistry.h"
#include "Protocol.h"
#include "SettingsRegistry.h"
#include "srcCpu.h"

namespace {

class CpuWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Form->resize(900, 700);
    Form->show();
    Connect();
    Cpu = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
    ASSERT_NE(Cpu, nullptr);
    Code = Cpu->CodeArea;
  }

  void Poke(uint32_t address, std::vector<uint8_t> bytes) {
    TheProtocol->WriteMemory(1, address, static_cast<uint8_t>(bytes.size()), bytes.data());
  }
  void SetPC(uint16_t pc) {
    TheCpu->GetPC();
    TheCpu->SetPC(pc);
    TheProtocol->WriteRegisters();
  }
  // The code view's row as it stands on screen, trailing blanks cut.
  std::string Row(int row) {
    Code->Update();
    return Code->Canvas()->GridLine(row).trimmed().toStdString();
  }
  std::string Glyph(int row) {
    Code->Update();
    return Code->Canvas()->GridGlyph(row).toStdString();
  }
  void Press(int x, int row) {
    QTest::mouseClick(Code->viewport(), Qt::LeftButton, {}, QPoint(x, row * Code->GetLineHeight() + 5));
  }

  TMemoryRegistry Store;
  TfrmCpu* Cpu = nullptr;
  TCodeInterior* Code = nullptr;
};

TEST_F(CpuWindowTest, OpensAtConnectionWithTheArrowOnTheProgramCounter) {
  EXPECT_EQ(Cpu->windowTitle(), QStringLiteral("Z80"));
  EXPECT_EQ(Form->MdiArea()->subWindowList(), QList<QMdiSubWindow*>{Cpu});
  EXPECT_TRUE(Form->TLB_ViewCpu->isChecked());
  EXPECT_EQ(Form->ViewCount(), 1);
  EXPECT_EQ(Cpu->focusWidget(), Code);
  EXPECT_EQ(Row(0), "0000:00" + std::string(24, ' ') + "NOP");
  EXPECT_EQ(Glyph(0), "IMG_CURRPC");
  EXPECT_EQ(Glyph(1), "");
  EXPECT_EQ(Cpu->pnlBottom->height(), 115);
}

TEST_F(CpuWindowTest, MarginPressTogglesTheBreakpointAndTextPressOnlyMovesTheCursor) {
  Press(11, 2);
  EXPECT_EQ(Code->CursorRow(), 2);
  EXPECT_EQ(Glyph(2), "");
  Press(10, 3);
  EXPECT_EQ(Code->CursorRow(), 3);
  EXPECT_EQ(Glyph(3), "IMG_BREAK");
  TBreakEntry entry;
  EXPECT_NE(TheProtocol->ReadBreak(0x81, 3, entry), NO_BREAK);
  SendMessage(Cpu->Handle(), UM_TOGGLEBREAK);
  EXPECT_EQ(Glyph(3), "");
  Press(10, 0);
  EXPECT_EQ(Glyph(0), "IMG_BRKPC");
  EXPECT_TRUE(Boxes.Messages.empty());
}

TEST_F(CpuWindowTest, SeventeenthBreakpointIsRefused) {
  for (uint32_t i = 0; i < 16; ++i) TheProtocol->WriteBreak(1, 0x81, 0x100 + i);
  Press(10, 1);
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "Too many breaks.");
  EXPECT_EQ(Boxes.Messages[0].Caption, "ERROR");
  TBreakEntry entry;
  EXPECT_EQ(TheProtocol->ReadBreak(0x81, 1, entry), NO_BREAK);
}

TEST_F(CpuWindowTest, TypedLetterStartsTheLineAssembler) {
  Poke(0, {0xFF, 0xFF});
  SendMessage(Form->Handle(), UM_REFRESH);
  TInputScript script({"nop", std::nullopt});
  QTest::keyClick(Code, Qt::Key_N);
  ASSERT_EQ(script.Asked.size(), 1u);
  EXPECT_EQ(script.Asked[0].Caption, "Assemble line");
  EXPECT_EQ(script.Asked[0].Prompt, "Source line:");
  EXPECT_EQ(script.Asked[0].Value, "n");
  EXPECT_EQ(Row(0), "0000:00" + std::string(24, ' ') + "NOP");
  EXPECT_EQ(Code->CursorRow(), 1);
  // Cancelled, nothing is written and the cursor stays.
  QTest::keyClick(Code, Qt::Key_L);
  EXPECT_EQ(Row(1), "0001:FF" + std::string(24, ' ') + "RST     38");
  EXPECT_EQ(Code->CursorRow(), 1);
}

TEST_F(CpuWindowTest, RunCommandsStopWhereTheTargetStoppedAndTheViewFollows) {
  Poke(0x1000, {0xCD, 0x00, 0x20, 0x00});
  SetPC(0x1000);
  SendMessage(Cpu->Handle(), UM_STOPPED);
  EXPECT_EQ(Glyph(0), "IMG_CURRPC");
  SendMessage(Cpu->Handle(), UM_STEPOVER);
  SendMessage(Cpu->Handle(), UM_TRACEINTO);
  EXPECT_EQ(ProtocolScript().RunCalls, (std::vector<std::string>{"GoTo 1003", "Step"}));
  EXPECT_EQ(TheCpu->GetPC(), 0x1003);
  EXPECT_EQ(Code->CursorRow(), 1);
  EXPECT_EQ(Glyph(1), "IMG_CURRPC");

  ProtocolScript().Stops = {0x5000};
  SendMessage(Cpu->Handle(), UM_GO);
  EXPECT_EQ(Code->CursorRow(), 0);
  EXPECT_EQ(Row(0).substr(0, 5), "5000:");
  Press(20, 2);
  SendMessage(Cpu->Handle(), UM_GOTOCURSOR);
  EXPECT_EQ(ProtocolScript().RunCalls.back(), "GoTo 5002");
  EXPECT_EQ(Glyph(2), "IMG_CURRPC");
}

TEST_F(CpuWindowTest, OnlyTheWatchWindowDocksAndTheWindowKeepsItsSize) {
  auto* stranger = new FakeView(&Log, "x", Form.get());
  stranger->setObjectName(QStringLiteral("frmSymList"));
  Form->SetViewFactory(TViewKind::Watch, Factory("w"));
  Form->TLB_ViewWatch->trigger();
  ASSERT_EQ(Views.size(), 1u);
  QPointer<FakeView> watch = Views[0];
  watch->setObjectName(QStringLiteral("frmWatchList"));
  Cpu->resize(600, 600);
  TDockSite* site = Cpu->DockSite;
  const QPoint inside = site->Panel()->mapToGlobal(QPoint(5, 5));
  const QPoint above = site->Panel()->mapToGlobal(QPoint(5, -70));
  EXPECT_FALSE(TDockSite::DockAt(stranger, inside));
  EXPECT_FALSE(TDockSite::DockAt(watch, site->Panel()->mapToGlobal(QPoint(5, -90))));
  const QSize size = Cpu->size();

  ASSERT_TRUE(TDockSite::DockAt(watch, above));
  QCoreApplication::processEvents();
  EXPECT_EQ(site->DockedControl(), watch);
  EXPECT_EQ(watch->height(), 80);
  EXPECT_TRUE(site->Splitter()->isVisible());
  EXPECT_EQ(site->Splitter()->geometry().bottom() + 1, site->Panel()->y());
  EXPECT_EQ(Cpu->size(), size);
  site->SplitterResize(150);
  QCoreApplication::processEvents();
  EXPECT_EQ(watch->height(), 150);
  site->SplitterResize(300);
  QCoreApplication::processEvents();
  EXPECT_EQ(watch->height(), 200);
  EXPECT_EQ(Cpu->size(), size);

  Log.clear();
  SendMessage(Form->Handle(), UM_REFRESH);
  EXPECT_EQ(Log, (std::vector<std::string>{Entry("w", UM_REFRESH, 0), Entry("w", UM_REFRESH, 0)}));

  site->UnDock();
  QCoreApplication::processEvents();
  EXPECT_FALSE(site->Splitter()->isVisible());
  EXPECT_EQ(Cpu->size(), size);
  EXPECT_TRUE(watch->isWindow());

  // Closing the CPU window closes the docked window as its own close would.
  ASSERT_TRUE(TDockSite::DockAt(watch, inside));
  Cpu->close();
  QCoreApplication::processEvents();
  EXPECT_TRUE(watch.isNull());
  EXPECT_FALSE(Form->TLB_ViewCpu->isChecked());
  EXPECT_FALSE(Form->TLB_ViewWatch->isChecked());
  EXPECT_EQ(Form->ViewCount(), 0);
}

struct TPlacementCase {
  const char* Name;
  bool Earlier;
  bool Maximised;
  std::vector<int32_t> Written;
};

class CpuPlacement : public CpuWindowTest, public ::testing::WithParamInterface<TPlacementCase> {};

std::vector<int32_t> Placement(const TMemoryRegistry& store) {
  auto value = store.Values.find(TMemoryRegistry::Path(RegistryKey, "Cpu"));
  if (value == store.Values.end() || value->second.size() != 20) return {};
  std::vector<int32_t> numbers(5);
  std::memcpy(numbers.data(), value->second.data(), 20);
  return numbers;
}

TEST_P(CpuPlacement, KeepsTheNormalGeometry) {
  const TPlacementCase& c = GetParam();
  Cpu->close();
  QCoreApplication::processEvents();
  Store.Values.clear();
  if (c.Earlier) {
    const int32_t earlier[5] = {7, 8, 520, 340, 0};
    Store.WriteBinary(RegistryKey, "CPU", earlier, sizeof earlier);
  }
  Form->TLB_ViewCpu->trigger();
  Cpu = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"));
  ASSERT_NE(Cpu, nullptr);
  Cpu->setGeometry(20, 30, 600, 400);
  if (c.Maximised) Cpu->showMaximized();
  Cpu->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(Placement(Store), c.Written);
}

INSTANTIATE_TEST_SUITE_P(
    Closing, CpuPlacement,
    ::testing::Values(TPlacementCase{"Normal", true, false, {20, 30, 600, 400, 0}},
                      TPlacementCase{"MaximisedKeepsTheEarlierValue", true, true, {7, 8, 520, 340, 1}},
                      TPlacementCase{"MaximisedWithoutEarlierValue", false, true, {20, 30, 600, 400, 1}}),
    [](const ::testing::TestParamInfo<TPlacementCase>& info) { return std::string(info.param.Name); });

}  // namespace
