#include <QMenu>

#include <optional>
#include <vector>

#include "InputAnswers.h"
#include "MessageBoxRecorder.h"
#include "RegisterViewFixture.h"
#include "RegsInterior.h"
#include "SRegsInterior.h"

namespace {

enum Reg { AF, BC, DE, HL, AF_, BC_, DE_, HL_, IX, IY, I, SP, PC, BANK };

class RegsView : public ViewTest<TRegsInterior> {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    Area->SetScrollBars(ssVertical);
    Area->OnChange = [this](QObject*) { ++Changes; };
  }
  void Set(Reg r, uint32_t value) {
    TheCpu->SetRegister(r, value);
    TheProtocol->WriteRegisters();
  }
  int Changes = 0;
};

TEST_F(RegsView, DrawsEveryRegisterFromItsLabelAndClearsTheRowsBelow) {
  Set(HL, 0x1234);
  Set(I, 0x5A);
  Show(16);
  const char* expected[] = {"AF      0000", "BC      0000", "DE      0000", "HL      1234", "AF'     0000",
                            "BC'     0000", "DE'     0000", "HL'     0000", "IX      0000", "IY      0000",
                            "I         5A", "SP      0000", "PC      0000", "BANK      00", "",
                            ""};
  for (int row = 0; row < 16; ++row) EXPECT_EQ(Line(row), expected[row]) << row;
  EXPECT_EQ(Area->GetVScrollMax(), 13);
}

TEST_F(RegsView, ChangedValuesAreRedOnEveryLineTheCursorLineIncluded) {
  // The image as read from the target is the one the markers compare with.
  TheProtocol->ReadRegisters();
  TheCpu->SavePreviousRegisters();
  TheCpu->SetRegister(AF, 0x0100);
  TheCpu->SetRegister(HL, 0x4321);
  Show(14);
  Focus();
  EXPECT_EQ(TextColor(0, AF), clRed);  // the cursor line
  EXPECT_EQ(Background(0, AF), clHighlight);
  EXPECT_EQ(TextColor(0, HL), clRed);
  EXPECT_EQ(TextColor(0, BC), clWindowText);
  EXPECT_EQ(Background(0, HL), clWhite);

  // After an edit the image is read afresh: nothing is red any more.
  Type('+');
  EXPECT_EQ(Line(AF), "AF      0101");
  for (int row = 0; row < 14; ++row) EXPECT_NE(TextColor(0, row), clRed) << row;
}

struct ScrollCase {
  const char* Name;
  int Rows;
  std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> Keys;
  int TopLine;
  int CursorRow;
  std::string FirstLine;
};

class RegsScroll : public RegsView, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(RegsScroll, KeysMoveTheCursorAndTheTopLine) {
  const ScrollCase& c = GetParam();
  Show(c.Rows);
  for (auto [key, modifiers] : c.Keys) Key(key, modifiers);
  EXPECT_EQ(Area->TopLine(), c.TopLine);
  EXPECT_EQ(Area->CursorRow(), c.CursorRow);
  EXPECT_EQ(Line(0), c.FirstLine);
  // The bar stands on the selected register.
  EXPECT_EQ(Area->VScrollPos(), c.TopLine + c.CursorRow);
}

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;

INSTANTIATE_TEST_SUITE_P(
    Tables, RegsScroll,
    ::testing::Values(
        ScrollCase{"FourRowsDownPastTheLastRow", 4, {{Qt::Key_Down, None}, {Qt::Key_Down, None}, {Qt::Key_Down, None},
                                                     {Qt::Key_Down, None}, {Qt::Key_Down, None}}, 2, 3, "DE      0000"},
        ScrollCase{"FourRowsUpAtTheTopRowScrollsBack", 4, {{Qt::Key_PageDown, Ctrl}, {Qt::Key_Up, None},
                                                          {Qt::Key_Up, None}, {Qt::Key_Up, None}, {Qt::Key_Up, None}},
                   9, 0, "IY      0000"},
        ScrollCase{"FourRowsBottom", 4, {{Qt::Key_PageDown, Ctrl}}, 10, 3, "I         00"},
        ScrollCase{"FourRowsDownStopsAtTheLastRegister", 4, {{Qt::Key_PageDown, Ctrl}, {Qt::Key_Down, None}}, 10, 3,
                   "I         00"},
        ScrollCase{"FourRowsPageDown", 4, {{Qt::Key_PageDown, None}}, 4, 0, "AF'     0000"},
        ScrollCase{"FourRowsPageDownTwiceThenPageUp", 4, {{Qt::Key_PageDown, None}, {Qt::Key_PageDown, None},
                                                          {Qt::Key_PageUp, None}}, 4, 0, "AF'     0000"},
        ScrollCase{"FourRowsPageDownToTheEnd", 4, {{Qt::Key_PageDown, None}, {Qt::Key_PageDown, None},
                                                   {Qt::Key_PageDown, None}}, 10, 3, "I         00"},
        ScrollCase{"FourRowsPageUpAtTheTopPutsTheCursorOnRowZero", 4, {{Qt::Key_Down, None}, {Qt::Key_PageUp, None}},
                   0, 0, "AF      0000"},
        ScrollCase{"TwentyRowsBottom", 20, {{Qt::Key_PageDown, Ctrl}}, 0, 13, "AF      0000"},
        ScrollCase{"TwentyRowsPageDown", 20, {{Qt::Key_PageDown, None}}, 0, 13, "AF      0000"},
        ScrollCase{"TwentyRowsTop", 20, {{Qt::Key_PageDown, Ctrl}, {Qt::Key_PageUp, Ctrl}}, 0, 0, "AF      0000"},
        ScrollCase{"TwentyRowsDownStopsAtBank", 20, std::vector(16, std::pair{Qt::Key_Down, None}), 0, 13,
                   "AF      0000"},
        ScrollCase{"SidewaysKeysDoNothing", 4, {{Qt::Key_Down, None}, {Qt::Key_Right, None}, {Qt::Key_End, None},
                                                {Qt::Key_Left, None}}, 0, 1, "AF      0000"}),
    [](const ::testing::TestParamInfo<ScrollCase>& info) { return info.param.Name; });

TEST_F(RegsView, AClickBelowTheLastRegisterLeavesTheCursor) {
  Show(20);
  Click(5);
  EXPECT_EQ(Area->CursorRow(), 5);
  EXPECT_EQ(Area->VScrollPos(), 5);
  Click(16);
  EXPECT_EQ(Area->CursorRow(), 5);
}

TEST_F(RegsView, EnlargedUntilEverythingFitsItKeepsItsTopLine) {
  Show(4);
  Key(Qt::Key_PageDown);
  Key(Qt::Key_Up);
  ASSERT_EQ(Area->TopLine(), 3);
  Show(20);
  EXPECT_EQ(Area->TopLine(), 3);
  EXPECT_EQ(Line(0), "HL      0000");
  Key(Qt::Key_Up);
  EXPECT_EQ(Area->TopLine(), 2);
  EXPECT_EQ(Line(0), "DE      0000");
}

struct EditCase {
  const char* Name;
  Reg Row;
  uint16_t Before;
  char Typed;  // 0: the popup item
  const char* Item;
  std::optional<std::string> Answer;
  std::string Line;
  int Changes;
  std::optional<std::string> Initial;  // the dialog's text when it opened; none when none opened
};

class RegsEdit : public RegsView, public ::testing::WithParamInterface<EditCase> {};

TEST_P(RegsEdit, EditsTheRegisterUnderTheCursor) {
  const EditCase& c = GetParam();
  Set(c.Row, c.Before);
  Show(14);
  Click(c.Row);
  TInputAnswers answers({c.Answer});
  TMessageBoxRecorder boxes;
  if (c.Typed) {
    Type(c.Typed);
  } else {
    Area->Popup()->findChild<QAction*>(QString::fromLatin1(c.Item))->trigger();
  }
  EXPECT_EQ(Line(c.Row), c.Line);
  EXPECT_EQ(Changes, c.Changes);
  if (!c.Initial) {
    EXPECT_TRUE(answers.Shown.empty());
  } else {
    ASSERT_EQ(answers.Shown.size(), 1u);
    EXPECT_EQ(answers.Shown[0].Caption, "Modify register");
    EXPECT_EQ(answers.Shown[0].Prompt, "New value:");
    EXPECT_EQ(answers.Shown[0].Initial, *c.Initial);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RegsEdit,
    ::testing::Values(
        EditCase{"IncrementWraps", HL, 0xFFFF, '+', "", std::nullopt, "HL      0000", 0, std::nullopt},
        EditCase{"DecrementWraps", SP, 0, '-', "", std::nullopt, "SP      FFFF", 0, std::nullopt},
        EditCase{"IncrementOfIAtFFIsRefused", I, 0xFF, 0, "Increment", std::nullopt, "I         FF", 0, std::nullopt},
        EditCase{"DecrementOfIAtZeroIsRefused", I, 0, 0, "Decrement", std::nullopt, "I         00", 0, std::nullopt},
        EditCase{"Zero", DE, 0xBEEF, 0, "Zero", std::nullopt, "DE      0000", 0, std::nullopt},
        EditCase{"TypedDigitStartsTheAnswer", HL, 0, '5', "", "1234H", "HL      1234", 1, "5"},
        EditCase{"ModifyKeepsTheLow16Bits", HL, 0, 0, "Modify", "12345H", "HL      2345", 1, ""},
        EditCase{"ModifyOfIAbove255ChangesNothing", I, 0x12, 0, "Modify", "100H", "I         12", 1, ""},
        EditCase{"ModifyOfICutsTo16BitsFirst", I, 0x12, 0, "Modify", "10034H", "I         34", 1, ""},
        EditCase{"CancelChangesNothing", BC, 0x77, 'x', "", std::nullopt, "BC      0077", 0, "x"},
        EditCase{"SpaceDoesNothing", BC, 0x77, ' ', "", std::nullopt, "BC      0077", 0, std::nullopt}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return info.param.Name; });

TEST_F(RegsView, DoubleClickModifiesTheClickedRegister) {
  Show(14);
  TInputAnswers answers({"1234H"});
  DoubleClick(HL);
  EXPECT_EQ(Line(HL), "HL      1234");
  ASSERT_EQ(answers.Shown.size(), 1u);
  EXPECT_EQ(answers.Shown[0].Initial, "");
  EXPECT_EQ(Changes, 1);
}

TEST_F(RegsView, AnAnswerTheParserRefusesIsReportedAndChangesNothing) {
  Set(HL, 0x55);
  Show(14);
  Click(HL);
  TInputAnswers answers({"12G4"});
  TMessageBoxRecorder boxes;
  Type('1');
  EXPECT_EQ(boxes.Messages.size(), 1u);
  EXPECT_EQ(Line(HL), "HL      0055");
  EXPECT_EQ(Changes, 0);
}

TEST_F(RegsView, SizeLimitsHoldTheDrawnLine) {
  Show(14);
  QSize min, max;
  Area->GetMinMaxInfo(min, max);
  QSize lines4, lines14;
  Area->ComputeAreaSize({12, 4}, lines4);
  Area->ComputeAreaSize({12, 14}, lines14);
  EXPECT_EQ(min, lines4 + QSize(2, 0));
  EXPECT_EQ(max, lines14 + QSize(6, 0));
  // At its narrowest the last digit is whole.
  Area->resize(min.width(), lines14.height());
  EXPECT_EQ(Line(AF), "AF      0000");
}

// A target's special registers, as a test words them.
class TTestSRegs : public TSRegsInterior {
 public:
  std::vector<uint32_t> Values = {0x12, 0x3456, 0x7, 0, 0, 0xABCD};

 protected:
  int LineCount() const override { return static_cast<int>(Values.size()); }
  int LineWidth() const override { return 12; }
  void CreateLine(unsigned char index, std::string& line) override {
    char text[32];
    std::snprintf(text, sizeof text, "2SR%d    %04X", index, Values[index]);
    line = text;
  }
  uint32_t GetValue(int index) const override { return Values[static_cast<std::size_t>(index)]; }
  void SetValue(int index, uint32_t value) override { Values[static_cast<std::size_t>(index)] = value & 0xFFFF; }
};

class SRegsView : public ViewTest<TTestSRegs> {};

TEST_F(SRegsView, DrawsWholeLinesWithoutMarkersAndEditsThem) {
  Area->SetScrollBars(ssVertical);
  Show(4);
  Focus();
  EXPECT_EQ(Line(0), "2SR0    0012");
  EXPECT_EQ(TextColor(0, 1), clWindowText);
  EXPECT_EQ(TextColor(0, 0), clWhite);  // the cursor line
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(Area->TopLine(), 2);
  EXPECT_EQ(Line(3), "2SR5    ABCD");
  Type('+');
  EXPECT_EQ(Line(3), "2SR5    ABCE");
  TInputAnswers answers({"99H"});
  Area->Popup()->findChild<QAction*>(QStringLiteral("Modify"))->trigger();
  EXPECT_EQ(Line(3), "2SR5    0099");
  ASSERT_EQ(answers.Shown.size(), 1u);
  EXPECT_EQ(answers.Shown[0].Caption, "Modify register");
}

class Z80SRegsView : public ViewTest<TSRegsInterior> {};

TEST_F(Z80SRegsView, StaysEmptyAndItsCommandsOnlyWriteTheImageBack) {
  Area->SetScrollBars(ssVertical);
  Show(4);
  Focus();
  TInputAnswers answers({"5"});
  for (Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Up, Qt::Key_PageUp}) Key(key, Qt::ControlModifier);
  Type('+');
  Type('-');
  Type('1');
  Click(2);
  for (int row = 0; row < 4; ++row) EXPECT_EQ(Line(row), "") << row;
  EXPECT_EQ(Background(0, 0), clWhite);
  QSize min, max;
  Area->GetMinMaxInfo(min, max);
  EXPECT_LE(max.height(), min.height());
}

}  // namespace
