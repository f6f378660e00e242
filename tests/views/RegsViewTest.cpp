#include <QMenu>

#include <optional>

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

TEST_F(RegsView, DrawsEveryRegisterAndChangedValuesInRedUntilTheNextEdit) {
  Set(HL, 0x1234);
  Set(I, 0x5A);
  // The image as read is the one the markers compare with; then AF changes.
  TheProtocol->ReadRegisters();
  TheCpu->SavePreviousRegisters();
  TheCpu->SetRegister(AF, 0x0100);
  Show(16);
  EXPECT_EQ(Lines(16), std::vector<std::string>({"AF      0100", "BC      0000", "DE      0000", "HL      1234",
                                                  "AF'     0000", "BC'     0000", "DE'     0000", "HL'     0000",
                                                  "IX      0000", "IY      0000", "I         5A", "SP      0000",
                                                  "PC      0000", "BANK      00", "", ""}));
  EXPECT_EQ(Cell(0, AF).Color, clRed);  // the cursor line too
  EXPECT_EQ(Cell(0, AF).Background, clHighlight);
  EXPECT_EQ(Cell(0, BC).Color, clWindowText);
  Keys("+");
  EXPECT_EQ(Line(AF), "AF      0101");
  EXPECT_EQ(Cell(0, AF).Color, clWhite);
}

struct ScrollCase {
  const char* Name;
  int Rows;
  const char* Keys;
  int TopLine;
  int CursorRow;
};

class RegsScroll : public RegsView, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(RegsScroll, KeysMoveTheCursorAndTheTopLine) {
  const ScrollCase& c = GetParam();
  Show(c.Rows);
  Keys(c.Keys);
  EXPECT_EQ(Area->TopLine(), c.TopLine);
  EXPECT_EQ(Area->CursorRow(), c.CursorRow);
  // The bar stands on the selected register, whose line is on the cursor row.
  EXPECT_EQ(Area->VScrollPos(), c.TopLine + c.CursorRow);
  std::string line;
  TheCpu->GetRegisterLine(static_cast<uint16_t>(c.TopLine + c.CursorRow), line);
  EXPECT_EQ(Line(c.CursorRow), line.substr(1));
}

INSTANTIATE_TEST_SUITE_P(Tables, RegsScroll,
                         ::testing::Values(ScrollCase{"FourRowsDownPastTheLastRow", 4, "ddddd", 2, 3},
                                           ScrollCase{"FourRowsUpAtTheTopRow", 4, "Nuuuu", 9, 0},
                                           ScrollCase{"FourRowsBottom", 4, "Nd", 10, 3},
                                           ScrollCase{"FourRowsPageDownTwicePageUp", 4, "nnp", 4, 0},
                                           ScrollCase{"FourRowsPageDownToTheEnd", 4, "nnn", 10, 3},
                                           ScrollCase{"FourRowsPageUpAtTheTop", 4, "dp", 0, 0},
                                           ScrollCase{"FourRowsTop", 4, "NP", 0, 0},
                                           ScrollCase{"TwentyRowsBottom", 20, "N", 0, 13},
                                           ScrollCase{"TwentyRowsDownStopsAtBank", 20, "dddddddddddddddd", 0, 13},
                                           ScrollCase{"SidewaysKeysDoNothing", 4, "dre", 0, 1}),
                         [](const ::testing::TestParamInfo<ScrollCase>& info) { return info.param.Name; });

TEST_F(RegsView, ClicksBelowTheLastRegisterAndGrowingKeepTheCursorAndTopLine) {
  Show(4);
  Keys("nu");
  ASSERT_EQ(Area->TopLine(), 3);
  Show(20);
  EXPECT_EQ(Area->TopLine(), 3);
  EXPECT_EQ(Line(0), "HL      0000");
  Click(5);
  EXPECT_EQ(Area->CursorRow(), 5);
  Click(12);
  EXPECT_EQ(Area->CursorRow(), 5);
  Area->Canvas()->TextOut(2, 12 * 15, QStringLiteral("stale"));
  Keys("uuuuuu");
  EXPECT_EQ(Line(12), "");
  EXPECT_EQ(Area->TopLine(), 2);
  EXPECT_EQ(Line(0), "DE      0000");
}

struct EditCase {
  const char* Name;
  Reg Row;
  uint16_t Before;
  const char* Input;  // typed, a popup item's name, or "dblclick"
  std::optional<std::string> Answer;
  std::string Line;
  int Changes;
  std::optional<std::string> Initial;  // the dialog's text when it opened
  std::size_t Boxes = 0;
};

class RegsEdit : public RegsView, public ::testing::WithParamInterface<EditCase> {};

TEST_P(RegsEdit, EditsTheRegisterUnderTheCursor) {
  const EditCase& c = GetParam();
  Set(c.Row, c.Before);
  Show(14);
  Click(c.Row);
  TInputAnswers answers({c.Answer});
  TMessageBoxRecorder boxes;
  const QString input = QString::fromLatin1(c.Input);
  if (input == QLatin1String("dblclick"))
    DoubleClick(c.Row);
  else if (QAction* item = Area->Popup()->findChild<QAction*>(input))
    item->trigger();
  else
    Keys(c.Input);
  EXPECT_EQ(Line(c.Row), c.Line);
  EXPECT_EQ(Changes, c.Changes);
  EXPECT_EQ(boxes.Messages.size(), c.Boxes);
  ASSERT_EQ(answers.Shown.size(), c.Initial ? 1u : 0u);
  if (!c.Initial) return;
  EXPECT_EQ(answers.Shown[0].Caption, "Modify register");
  EXPECT_EQ(answers.Shown[0].Prompt, "New value:");
  EXPECT_EQ(answers.Shown[0].Initial, *c.Initial);
}

using std::nullopt;
INSTANTIATE_TEST_SUITE_P(
    Commands, RegsEdit,
    ::testing::Values(EditCase{"IncrementWraps", HL, 0xFFFF, "+", nullopt, "HL      0000", 0, nullopt},
                      EditCase{"DecrementWraps", SP, 0, "-", nullopt, "SP      FFFF", 0, nullopt},
                      EditCase{"IncrementOfIAtFFIsRefused", I, 0xFF, "Increment", nullopt, "I         FF", 0, nullopt},
                      EditCase{"DecrementOfIAtZeroIsRefused", I, 0, "Decrement", nullopt, "I         00", 0, nullopt},
                      EditCase{"Zero", DE, 0xBEEF, "Zero", nullopt, "DE      0000", 0, nullopt},
                      EditCase{"TypedDigitStartsTheAnswer", HL, 0, "5", "1234H", "HL      1234", 1, "5"},
                      EditCase{"DoubleClick", HL, 0, "dblclick", "1234H", "HL      1234", 1, ""},
                      EditCase{"ModifyOfIAbove255ChangesNothing", I, 0x12, "Modify", "100H", "I         12", 1, ""},
                      EditCase{"RefusedAnswer", HL, 0x55, "1", "12G4", "HL      0055", 0, "1", 1},
                      EditCase{"Cancel", BC, 0x77, "x", nullopt, "BC      0077", 0, "x"},
                      EditCase{"SpaceDoesNothing", BC, 0x77, " ", nullopt, "BC      0077", 0, nullopt}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return info.param.Name; });

TEST_F(RegsView, AtItsNarrowestTheLastDigitIsWhole) {
  Show(14);
  QSize min, max;
  Area->GetMinMaxInfo(min, max);
  Area->resize(min.width(), max.height());
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
  EXPECT_EQ(Line(0), "2SR0    0012");
  EXPECT_EQ(Cell(0, 1).Color, clWindowText);
  Keys("N+");
  EXPECT_EQ(Area->TopLine(), 2);
  EXPECT_EQ(Line(3), "2SR5    ABCE");
  TInputAnswers answers({"99H"});
  Area->Popup()->findChild<QAction*>(QStringLiteral("Modify"))->trigger();
  EXPECT_EQ(Line(3), "2SR5    0099");
}

class Z80SRegsView : public ViewTest<TSRegsInterior> {};

TEST_F(Z80SRegsView, StaysEmptyWhateverTheUserDoes) {
  Area->SetScrollBars(ssVertical);
  Show(4);
  TInputAnswers answers({"5"});
  Keys("DNuP+-1");
  Click(2);
  EXPECT_EQ(Lines(4), std::vector<std::string>(4));
  EXPECT_EQ(Cell(0, 0).Background, clWhite);
}

}  // namespace
