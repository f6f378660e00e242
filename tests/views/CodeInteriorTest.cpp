#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "CodeInterior.h"
#include "Configuration.h"
#include "GuiTestApplication.h"
#include "InputAnswers.h"
#include "MessageBoxRecorder.h"

namespace {

// A code view over 64 KB of memory of its own, with the events a host
// answers: reads, breakpoints, the program counter and assembly.
class CodeInteriorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Memory.assign(0x10000, 0);
    Put(0x1000, {0xCD, 0x00, 0x20});
    View = std::make_unique<TCodeInterior>();
    View->SetHMargin(18);
    View->SetScrollBars(ssBoth);
    View->SetColor(clWhite);
    View->OnReadData = [this](QObject*, uint16_t, uint32_t address, uint16_t count, uint8_t* code) {
      for (uint16_t i = 0; i < count; ++i) code[i] = Memory[(address + i) & 0xFFFF];
    };
    View->OnReadPC = [this](QObject*, uint32_t& address) { address = PC; };
    View->OnReadBreak = [this](QObject*, uint16_t, uint32_t address, bool& state) {
      state = std::find(Breaks.begin(), Breaks.end(), address) != Breaks.end();
    };
    View->OnAssemble = [this](QObject*, uint16_t, uint32_t address, const std::string& text, bool& done) {
      Assembled.push_back(std::to_string(address) + ":" + text);
      done = true;
    };
  }

  void Show(int lines) {
    QSize outer;
    View->ComputeAreaSize(QSize(60, lines), outer);
    View->resize(outer);
    View->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(View.get()));
    ASSERT_EQ(View->GetNumLines(), lines);
  }

  void Put(uint32_t address, const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes) Memory[address++ & 0xFFFF] = b;
  }

  std::string Row(int row) {
    View->Update();
    return View->Canvas()->GridLine(row).trimmed().toStdString();
  }

  TConfiguration Engine;
  std::vector<uint8_t> Memory;
  std::vector<uint32_t> Breaks;
  std::vector<std::string> Assembled;
  uint32_t PC = 0;
  std::unique_ptr<TCodeInterior> View;
};

struct TKeyCase {
  const char* Name;
  uint32_t Addr;
  int Row;
  Qt::Key Key;
  Qt::KeyboardModifiers Modifiers;
  uint32_t NewAddr;
  int NewRow;
  bool Source = false;  // a source line stands above the instruction at 1000h
};

class CodeScrolling : public CodeInteriorTest, public ::testing::WithParamInterface<TKeyCase> {};

// Ten lines from 1000h: CALL 2000h (three bytes), then one-byte NOPs.
TEST_P(CodeScrolling, MovesTheCursorOrTheFirstAddress) {
  const TKeyCase& c = GetParam();
  View->OnGetSource = [](QObject*, uint16_t, uint32_t address, std::string& text, bool& done) {
    text = "#main#1";
    done = address == 0x1000;
  };
  Show(10);
  View->SetAddr(c.Addr);
  if (c.Source) View->Menu()->findChild<QAction*>(QStringLiteral("ToggleSource"))->trigger();
  for (int i = 0; i < c.Row; ++i) QTest::keyClick(View.get(), Qt::Key_Down);
  ASSERT_EQ(View->CursorRow(), c.Row);
  QTest::keyClick(View.get(), c.Key, c.Modifiers);
  EXPECT_EQ(View->Addr(), c.NewAddr);
  EXPECT_EQ(View->CursorRow(), c.NewRow);
  EXPECT_EQ(View->VScrollPos(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CodeScrolling,
    ::testing::Values(TKeyCase{"UpInsideTheView", 0x1000, 3, Qt::Key_Up, {}, 0x1000, 2},
                      TKeyCase{"UpAtTheTopGoesOneByteBack", 0x1000, 0, Qt::Key_Up, {}, 0x0FFF, 0},
                      TKeyCase{"UpAtAddressZeroWraps", 0x0000, 0, Qt::Key_Up, {}, 0xFFFF, 0},
                      TKeyCase{"DownInsideTheView", 0x1000, 3, Qt::Key_Down, {}, 0x1000, 4},
                      TKeyCase{"DownAtTheLastLineScrollsOneInstruction", 0x1000, 9, Qt::Key_Down, {}, 0x1003, 9},
                      TKeyCase{"DownAtTheLastLineScrollsPastASourceLine", 0x1000, 9, Qt::Key_Down, {}, 0x1003, 9, true},
                      TKeyCase{"PageUpGoesBackAByteALine", 0x1000, 2, Qt::Key_PageUp, {}, 0x0FF6, 2},
                      TKeyCase{"PageDownStartsAtTheLinePartlyHidden", 0x1000, 0, Qt::Key_PageDown, {}, 0x100C, 0},
                      TKeyCase{"CtrlPageUp", 0x1000, 0, Qt::Key_PageUp, Qt::ControlModifier, 0x0F00, 0},
                      TKeyCase{"CtrlPageDownWraps", 0xFF80, 0, Qt::Key_PageDown, Qt::ControlModifier, 0x0080, 0}),
    [](const ::testing::TestParamInfo<TKeyCase>& info) { return std::string(info.param.Name); });

TEST_F(CodeInteriorTest, HorizontalKeysMoveTheTextByColumns) {
  Show(4);
  View->SetAddr(0x1000);
  QTest::keyClick(View.get(), Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(Row(0), "020" + std::string(20, ' ') + "CALL    2000h");
  QTest::keyClick(View.get(), Qt::Key_Right);
  EXPECT_EQ(Row(0), "20" + std::string(20, ' ') + "CALL    2000h");
  QTest::keyClick(View.get(), Qt::Key_End);
  EXPECT_EQ(Row(0), "");
  EXPECT_EQ(View->HScrollPos(), 132);
  QTest::keyClick(View.get(), Qt::Key_Home);
  EXPECT_EQ(Row(0), "1000:CD0020" + std::string(20, ' ') + "CALL    2000h");
}

TEST_F(CodeInteriorTest, StoppedFollowsTheProgramCounter) {
  Show(10);
  View->SetAddr(0x1000);
  PC = 0x1005;  // the fourth line
  View->Stopped();
  EXPECT_EQ(View->Addr(), 0x1000u);
  EXPECT_EQ(View->CursorRow(), 3);
  View->Update();
  EXPECT_EQ(View->Canvas()->GridGlyph(3), QStringLiteral("IMG_CURRPC"));
  PC = 0x4000;
  Breaks = {0x4000, 0x4002};
  View->Stopped();
  EXPECT_EQ(View->Addr(), 0x4000u);
  EXPECT_EQ(View->CursorRow(), 0);
  View->Update();
  EXPECT_EQ(View->Canvas()->GridGlyph(0), QStringLiteral("IMG_BRKPC"));
  EXPECT_EQ(View->Canvas()->GridGlyph(1), QString());
  EXPECT_EQ(View->Canvas()->GridGlyph(2), QStringLiteral("IMG_BREAK"));
}

TEST_F(CodeInteriorTest, TypedCharactersAssembleAndMoveToTheNextLine) {
  Show(10);
  View->SetAddr(0x1000);
  QTest::keyClick(View.get(), Qt::Key_L);
  QTest::keyClick(View.get(), Qt::Key_Space);
  QTest::keyClick(View.get(), Qt::Key_Delete);
  QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, QPoint(40, 20));
  EXPECT_EQ(Assembled, (std::vector<std::string>{"4096:l", "4099:"}));
  EXPECT_EQ(View->CursorRow(), 2);
}

TEST_F(CodeInteriorTest, AViewWithoutWholeLinesKeepsItsCursorOnTheFirst) {
  Show(0);
  View->SetAddr(0x1000);
  QTest::keyClick(View.get(), Qt::Key_Down);
  QTest::keyClick(View.get(), Qt::Key_Down);
  EXPECT_EQ(View->CursorRow(), 0);
  EXPECT_EQ(View->Addr(), 0x1004u);
  EXPECT_EQ(View->CurrAddr(), 0x1004u);
  PC = 0x1004;
  View->Stopped();
  EXPECT_EQ(View->CursorRow(), 0);
}

TEST_F(CodeInteriorTest, ItsSizeRangesFromTwentyColumnsByOneLineToEightyByTwenty) {
  Show(10);
  QSize min, max;
  View->GetMinMaxInfo(min, max);
  EXPECT_EQ(max.width() - min.width(), 60 * View->GetColWidth());
  View->resize(max);
  EXPECT_EQ(View->GetNumLines(), 20);
  View->resize(min);
  EXPECT_EQ(View->GetNumLines(), 1);
}

TEST_F(CodeInteriorTest, GotoShowsTheTypedAddressAndARefusedOneChangesNothing) {
  Show(10);
  View->SetAddr(0x1000);
  QTest::keyClick(View.get(), Qt::Key_Down);
  TMessageBoxRecorder boxes;
  TInputAnswers answers({"2000h", "nowhere:12", std::nullopt});
  QTest::keyClick(View.get(), Qt::Key_G, Qt::ControlModifier);
  ASSERT_EQ(answers.Shown.size(), 1u);
  EXPECT_EQ(answers.Shown[0].Caption, "Display at address");
  EXPECT_EQ(answers.Shown[0].Prompt, "New address:");
  EXPECT_EQ(answers.Shown[0].Initial, "");
  EXPECT_EQ(View->Addr(), 0x2000u);
  EXPECT_EQ(View->CursorRow(), 0);
  QAction* gotoAddr = View->Menu()->findChild<QAction*>(QStringLiteral("GotoAddr"));
  gotoAddr->trigger();
  EXPECT_EQ(boxes.Messages.size(), 1u);
  gotoAddr->trigger();
  EXPECT_EQ(View->Addr(), 0x2000u);
  EXPECT_EQ(answers.Shown.size(), 3u);
}

}  // namespace
