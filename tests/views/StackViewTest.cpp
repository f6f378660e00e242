#include <QMenu>
#include <QScrollBar>

#include <optional>

#include "InputAnswers.h"
#include "MessageBoxRecorder.h"
#include "RegisterViewFixture.h"
#include "StackInterior.h"

namespace {

class StackView : public ViewTest<TStackInterior> {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    Area->SetScrollBars(ssVertical);
    Area->SetHMargin(16);
    Area->OnChange = [this](QObject*) { ++Changes; };
    // Every byte holds its address's low byte.
    uint8_t page[256];
    for (int i = 0; i < 256; ++i) page[i] = static_cast<uint8_t>(i);
    for (uint32_t a = 0; a < 0x10000; a += 0x80) TheProtocol->WriteMemory(2, a, 0x80, page + (a & 0x80));
    SetSP(0xFFF4);
  }
  void SetSP(uint16_t sp) {
    TheCpu->SetRegister(11, sp);
    TheProtocol->WriteRegisters();
  }
  // The one row the stack-pointer glyph stands on; -1 when none, -2 when more.
  int GlyphRow() {
    Area->Update();
    std::vector<int> rows;
    for (int row = 0; row < Area->Canvas()->GridRows(); ++row)
      if (Area->Canvas()->GridGlyph(row) == QLatin1String("IMG_CURRSP")) rows.push_back(row);
    if (rows.size() == 1) return rows[0];
    return rows.empty() ? -1 : -2;
  }
  int Changes = 0;
};

struct ModeCase {
  const char* Name;
  TStackInterior::TDataMode Mode;
  uint32_t Addr;
  uint16_t Sp;
  std::vector<std::string> Lines;
  int GlyphRow;
};

class StackModes : public StackView, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(StackModes, ItemsOneALineWithTheGlyphOnTheStackPointer) {
  const ModeCase& c = GetParam();
  SetSP(c.Sp);
  Show(4);
  Area->SetDataMode(c.Mode);
  Area->SetAddr(c.Addr);
  EXPECT_EQ(Lines(4), c.Lines);
  EXPECT_EQ(GlyphRow(), c.GlyphRow);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StackModes,
    ::testing::Values(
        ModeCase{"Bytes", TStackInterior::DATA8, 0xFFF2, 0xFFF4, {"FFF2 F2", "FFF3 F3", "FFF4 F4", "FFF5 F5"}, 2},
        ModeCase{"Words", TStackInterior::DATA16, 0xFFF0, 0xFFF4, {"FFF0 F1F0", "FFF2 F3F2", "FFF4 F5F4", "FFF6 F7F6"},
                 2},
        ModeCase{"ThreeBytes", TStackInterior::DATA24, 0xFFEE, 0xFFF4,
                 {"FFEE F0EFEE", "FFF1 F3F2F1", "FFF4 F6F5F4", "FFF7 F9F8F7"}, 2},
        ModeCase{"DoubleWordsMissAStackPointerBetweenItems", TStackInterior::DATA32, 0xFFF2, 0xFFF4,
                 {"FFF2 F5F4F3F2", "FFF6 F9F8F7F6", "FFFA FDFCFBFA", "FFFE 0100FFFE"}, -1},
        ModeCase{"WrappedLineNeverCarriesTheGlyph", TStackInterior::DATA16, 0xFFFC, 0x0000,
                 {"FFFC FDFC", "FFFE FFFE", "0000 0100", "0002 0302"}, -1}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return info.param.Name; });

TEST_F(StackView, StopFollowsTheStackPointerKeepingTheCursorOriginPutsItOnTop) {
  Show(6);
  Click(3);
  Area->Stopped();
  EXPECT_EQ(Area->Area(), 2);
  EXPECT_EQ(Line(0), "FFF4 F5F4");
  EXPECT_EQ(GlyphRow(), 0);
  EXPECT_EQ(Area->CursorRow(), 3);
  // The cursor covers the value, not the address.
  EXPECT_EQ(Cell(5, 3).Background, clHighlight);
  EXPECT_EQ(Cell(0, 3).Background, 0xFFDFB5u);

  Area->SetAddr(0x100);
  Area->Popup()->findChild<QAction*>(QStringLiteral("Origin"))->trigger();
  EXPECT_EQ(Area->Area(), 1);
  EXPECT_EQ(Line(0), "FFF4 F5F4");
  EXPECT_EQ(Area->CursorRow(), 0);
}

struct MoveCase {
  const char* Name;
  const char* Keys;
  std::string FirstLine;
};

class StackMoves : public StackView, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(StackMoves, KeysMoveTheItemsUnderTheCursor) {
  const MoveCase& c = GetParam();
  Show(5);
  Area->SetAddr(0x1000);
  Click(2);
  Keys(c.Keys);
  EXPECT_EQ(Line(0), c.FirstLine);
  EXPECT_EQ(Area->CursorRow(), 2);
  EXPECT_EQ(Area->VScrollPos(), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, StackMoves,
                         ::testing::Values(MoveCase{"Up", "u", "0FFE FFFE"}, MoveCase{"Down", "d", "1002 0302"},
                                           MoveCase{"PageUp", "p", "0FF6 F7F6"},
                                           MoveCase{"CtrlDownPages", "D", "100A 0B0A"},
                                           MoveCase{"CtrlPageUp", "P", "0F00 0100"},
                                           MoveCase{"CtrlPageDown", "N", "1100 0100"},
                                           MoveCase{"SidewaysAndSpaceNothing", "re ", "1000 0100"}),
                         [](const ::testing::TestParamInfo<MoveCase>& info) { return info.param.Name; });

TEST_F(StackView, ThumbReleasedBelowTheMiddleJumps256BytesAndSpringsBack) {
  Show(5);
  Area->SetAddr(0x1000);
  QScrollBar* bar = Area->verticalScrollBar();
  EXPECT_EQ(bar->minimum(), -256);
  EXPECT_EQ(bar->maximum(), 256);
  bar->setSliderDown(true);
  bar->setSliderPosition(17);
  bar->setSliderDown(false);
  EXPECT_EQ(Line(0), "1100 0100");
  EXPECT_EQ(bar->value(), 0);
}

struct ModifyCase {
  const char* Name;
  TStackInterior::TDataMode Mode;
  const char* Input;  // typed, "dblclick" or "Modify" (the popup item)
  std::optional<std::string> Answer;
  std::string Line;  // the cursor's line 3 afterwards
  std::size_t Boxes;
  std::string Initial;  // the dialog's text when it opened
};

class StackModify : public StackView, public ::testing::WithParamInterface<ModifyCase> {};

TEST_P(StackModify, WritesTheItemUnderTheCursor) {
  const ModifyCase& c = GetParam();
  Show(5);
  Area->SetDataMode(c.Mode);
  Area->SetAddr(0x2000);
  Click(3);
  TInputAnswers answers({c.Answer});
  TMessageBoxRecorder boxes;
  const QString input = QString::fromLatin1(c.Input);
  if (input == QLatin1String("dblclick"))
    DoubleClick(3);
  else if (input == QLatin1String("Modify"))
    Area->Popup()->findChild<QAction*>(input)->trigger();
  else
    Keys(c.Input);
  EXPECT_EQ(Line(3), c.Line);
  EXPECT_EQ(boxes.Messages.size(), c.Boxes);
  EXPECT_EQ(Changes, c.Answer && c.Boxes == 0 ? 1 : 0);
  ASSERT_EQ(answers.Shown.size(), 1u);
  EXPECT_EQ(answers.Shown[0].Caption, "Modify stack");
  EXPECT_EQ(answers.Shown[0].Prompt, "New value:");
  EXPECT_EQ(answers.Shown[0].Initial, c.Initial);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, StackModify,
    ::testing::Values(ModifyCase{"Byte", TStackInterior::DATA8, "5", "5AH", "2003 5A", 0, "5"},
                      ModifyCase{"Word", TStackInterior::DATA16, "dblclick", "1234H", "2006 1234", 0, ""},
                      ModifyCase{"WordOutOfRange", TStackInterior::DATA16, "Modify", "10000H", "2006 0706", 1, ""},
                      ModifyCase{"ThreeBytesDropTheTopByte", TStackInterior::DATA24, "1", "12345678H", "2009 345678", 0,
                                 "1"},
                      ModifyCase{"DoubleWord", TStackInterior::DATA32, "Modify", "12345678H", "200C 12345678", 0, ""},
                      ModifyCase{"Cancel", TStackInterior::DATA16, "7", std::nullopt, "2006 0706", 0, "7"}),
    [](const ::testing::TestParamInfo<ModifyCase>& info) { return info.param.Name; });

TEST_F(StackView, CtrlGShowsTheAddressAskedForOnTheFirstLine) {
  Show(5);
  Click(1);
  TInputAnswers answers({"3000H"});
  Keys("g");
  ASSERT_EQ(answers.Shown.size(), 1u);
  EXPECT_EQ(answers.Shown[0].Caption, "Display at address");
  EXPECT_EQ(answers.Shown[0].Prompt, "New address:");
  EXPECT_EQ(Line(0), "3000 0100");
  EXPECT_EQ(Area->CursorRow(), 0);
}

TEST_F(StackView, ATallerViewThan255BytesBuildsOnlyWhatOneReadHolds) {
  Area->SetDataMode(TStackInterior::DATA32);
  Show(70);
  EXPECT_EQ(Line(62), "00F8 FBFAF9F8");
  EXPECT_EQ(Line(63), "");
  Click(69);
  TInputAnswers answers({"1"});
  EXPECT_EQ(Area->Modify(""), 0);
  uint8_t written[4];
  TheProtocol->ReadMemory(1, 69 * 4, 4, written);
  EXPECT_EQ(written[0], 1);
}

}  // namespace
