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

TEST_F(FlagsView, ShowsOneLinePerBitOfF) {
  Show(10, 6);
  const char* expected[] = {"C   1", "N   0", "P   1", "U2  0", "H   0", "U1  0", "Z   1", "S   1", "", ""};
  for (int row = 0; row < 10; ++row) EXPECT_EQ(Line(row), expected[row]) << row;
  QSize min, max;
  Area->GetMinMaxInfo(min, max);
  EXPECT_EQ(min, max);
}

TEST_F(FlagsView, SpaceDoubleClickAndToggleInvertTheFlagUnderTheCursor) {
  Show(8, 6);
  Focus();
  Click(6);
  Type(' ');
  EXPECT_EQ(Line(6), "Z   0");
  EXPECT_EQ(F(), 0x85);
  DoubleClick(1);
  EXPECT_EQ(Line(1), "N   1");
  Area->Popup()->findChild<QAction*>(QStringLiteral("Toggle"))->trigger();
  EXPECT_EQ(F(), 0x85);
  EXPECT_EQ(Changes, 3);
  // The image was read afresh after the edit: no flag is red.
  for (int row = 0; row < 8; ++row) EXPECT_NE(TextColor(0, row), clRed) << row;
  EXPECT_EQ(Background(0, 1), clHighlight);
}

TEST_F(FlagsView, KeysMoveNothingOnlyTheMouseDoes) {
  Show(8, 6);
  Focus();
  for (Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Up}) Key(key);
  Type('+');
  Type('1');
  EXPECT_EQ(Area->CursorRow(), 0);
  EXPECT_EQ(F(), 0xC5);
  Click(4);
  EXPECT_EQ(Area->CursorRow(), 4);
  Click(9);  // no flag there
  EXPECT_EQ(Area->CursorRow(), 4);
  EXPECT_EQ(Changes, 0);
}

}  // namespace
