#include <QMenu>

#include "FlagsInterior.h"
#include "RegisterViewFixture.h"

namespace {

class FlagsView : public ViewTest<TFlagsInterior> {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    Area->OnChange = [this](QObject*) { ++Changes; };
    TheCpu->SetRegister(0, 0x00C5);  // S, Z, P and C set
    TheProtocol->WriteRegisters();
  }
  uint16_t F() {
    TheProtocol->ReadRegisters();
    return TheCpu->GetRegisterImage()->AF & 0xFF;
  }
  int Changes = 0;
};

TEST_F(FlagsView, ShowsOneLinePerBitAndOnlyTheMouseMovesTheCursor) {
  Show(10, 6);
  EXPECT_EQ(Lines(10),
            std::vector<std::string>({"C   1", "N   0", "P   1", "U2  0", "H   0", "U1  0", "Z   1", "S   1", "", ""}));
  // Whatever stood below the last line goes at the next paint.
  Area->Canvas()->TextOut(2, 9 * 15, QStringLiteral("stale"));
  Area->Repaint();
  EXPECT_EQ(Line(9), "");
  Keys("dnNe+1");
  EXPECT_EQ(Area->CursorRow(), 0);
  Click(4);
  EXPECT_EQ(Area->CursorRow(), 4);
  Click(9);  // no flag there
  EXPECT_EQ(Area->CursorRow(), 4);
  EXPECT_EQ(F(), 0xC5);
  EXPECT_EQ(Changes, 0);
}

TEST_F(FlagsView, SpaceDoubleClickAndToggleInvertTheFlagUnderTheCursor) {
  Show(8, 6);
  Click(6);
  Keys(" ");
  EXPECT_EQ(Line(6), "Z   0");
  EXPECT_EQ(F(), 0x85);
  DoubleClick(1);
  EXPECT_EQ(Line(1), "N   1");
  Area->Popup()->findChild<QAction*>(QStringLiteral("Toggle"))->trigger();
  EXPECT_EQ(F(), 0x85);
  EXPECT_EQ(Changes, 3);
  // The image was read afresh after the edit: no flag is red.
  for (int row = 0; row < 8; ++row) EXPECT_NE(Cell(0, row).Color, clRed) << row;
  EXPECT_EQ(Cell(0, 1).Background, clHighlight);
}

}  // namespace
