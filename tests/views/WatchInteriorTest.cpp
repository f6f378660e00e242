#include <QScrollBar>

#include "DebugTableBuilder.h"
#include "RegisterViewFixture.h"
#include "TargetPokes.h"
#include "WatchInterior.h"

namespace {

class WatchViewTest : public ViewTest<TWatchInterior> {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    AddSymbol({"x", 0, 2, 0x1234, 6});
    AddSymbol({"c", 0, 2, 0x1236, 2});
    SetWord(0x1234, 0x1234);
    TheProtocol->WriteMemory(2, 0x1236, 1, reinterpret_cast<const uint8_t*>("A"));
    Area->SetScrollBars(ssBoth);
    Show(4, 40);
  }
};

TEST_F(WatchViewTest, WatchesShowTheirValuesAndFollowTheCursorRules) {
  ASSERT_EQ(Area->GetNumLines(), 4);
  Area->Add("x");
  Area->Add("c");  // the cursor is on x: replaced
  EXPECT_EQ(Lines(4), (std::vector<std::string>{"c: 'A'", "", "", ""}));
  Keys("dd");  // no watch on the empty row: the cursor stays
  EXPECT_EQ(CursorRow(4), 1);
  Area->Add("x");
  EXPECT_EQ(Area->GetCurrentWatch(), "x");
  Click(3);  // two rows below the last watch: nothing
  EXPECT_EQ(CursorRow(4), 1);
  Click(2);
  EXPECT_EQ(CursorRow(4), 2);
  EXPECT_EQ(Area->GetCurrentWatch(), "");
  Area->Add("nosuch");
  EXPECT_EQ(Lines(4), (std::vector<std::string>{"c: 'A'", "x: 4660", "nosuch: Variable not found", ""}));

  SetWord(0x1234, 7);
  Area->Refresh();
  EXPECT_EQ(Line(1), "x: 7");

  // A longer list scrolls under the cursor; only the rows shown are evaluated.
  for (const char* e : {"x,b", "x,2b", "x,w", "c,uc"}) {
    Keys("N");
    Area->Add(e);
  }
  EXPECT_EQ(Lines(4), (std::vector<std::string>{"x,b: 0x07", "x,2b: 0x07,0x00", "x,w: 0x0007", "c,uc: 'A'"}));
  EXPECT_EQ(CursorRow(4), 3);
  EXPECT_EQ(Area->verticalScrollBar()->maximum(), 7);
  Keys("pp");
  EXPECT_EQ(Line(0), "c: 'A'");
  EXPECT_EQ(CursorRow(4), 0);

  // Deleting moves the rest up and leaves no stale row behind.
  Keys("d");
  Area->RemoveWatch();
  EXPECT_EQ(Lines(4), (std::vector<std::string>{"c: 'A'", "nosuch: Variable not found", "x,b: 0x07", "x,2b: 0x07,0x00"}));
  for (int i = 0; i < 6; ++i) Area->RemoveWatch();
  EXPECT_EQ(Lines(4), (std::vector<std::string>{"c: 'A'", "", "", ""}));
  Area->RemoveWatch();  // on the empty row
  EXPECT_EQ(Line(0), "c: 'A'");
}

}  // namespace
