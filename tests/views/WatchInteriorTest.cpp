#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Configuration.h"
#include "DebugTableBuilder.h"
#include "GuiTestApplication.h"
#include "Protocol.h"
#include "Symbols.h"
#include "WatchInterior.h"

namespace {

class WatchViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Holder = std::make_unique<TConfiguration>();
    AddSymbol({"x", 0, 2, 0x1234, 6});
    AddSymbol({"c", 0, 2, 0x1236, 2});
    SetWord(0x1234, 0x1234);
    TheProtocol->WriteMemory(2, 0x1236, 1, reinterpret_cast<const uint8_t*>("A"));
    View = std::make_unique<TWatchInterior>();
    View->SetColor(clWhite);
    View->SetScrollBars(ssBoth);
    QSize outer;
    View->ComputeAreaSize({40, 4}, outer);
    View->resize(outer);
    View->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(View.get()));
    View->activateWindow();
    View->setFocus();
    QApplication::processEvents();
  }
  void TearDown() override {
    View.reset();
    Holder.reset();
  }

  static void SetWord(uint32_t address, uint16_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    TheProtocol->WriteMemory(2, address, 2, bytes);
  }
  std::string Line(int row) const { return View->Canvas()->GridLine(row).trimmed().toStdString(); }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int row = 0; row < View->GetNumLines(); ++row) lines.push_back(Line(row));
    return lines;
  }
  int CursorRow() const {
    for (int row = 0; row < View->Canvas()->GridRows(); ++row)
      if (View->Canvas()->GridCell(0, row).Background == clHighlight) return row;
    return -1;
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(View.get(), key, modifiers); }
  void Bottom() { Key(Qt::Key_PageDown, Qt::ControlModifier); }
  void Top() { Key(Qt::Key_PageUp, Qt::ControlModifier); }
  void Click(int row) {
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, QPoint(4, row * View->GetLineHeight() + 3));
  }

  std::unique_ptr<TConfiguration> Holder;
  std::unique_ptr<TWatchInterior> View;
};

TEST_F(WatchViewTest, WatchesShowTheirValuesAndFollowTheCursorRules) {
  ASSERT_EQ(View->GetNumLines(), 4);
  View->Add("x");
  View->Add("c");  // the cursor is on x: replaced
  EXPECT_EQ(Lines(), (std::vector<std::string>{"c: 'A'", "", "", ""}));
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);  // no watch on the empty row: the cursor stays
  EXPECT_EQ(CursorRow(), 1);
  View->Add("x");
  EXPECT_EQ(View->GetCurrentWatch(), "x");
  Click(3);  // two rows below the last watch: nothing
  EXPECT_EQ(CursorRow(), 1);
  Click(2);
  EXPECT_EQ(CursorRow(), 2);
  EXPECT_EQ(View->GetCurrentWatch(), "");
  View->Add("nosuch");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"c: 'A'", "x: 4660", "nosuch: Variable not found", ""}));

  SetWord(0x1234, 7);
  View->Refresh();
  EXPECT_EQ(Line(1), "x: 7");

  // A longer list scrolls under the cursor; only the rows shown are evaluated.
  for (const char* e : {"x,b", "x,2b", "x,w", "c,uc"}) {
    Bottom();
    View->Add(e);
  }
  EXPECT_EQ(Lines(), (std::vector<std::string>{"x,b: 0x07", "x,2b: 0x07,0x00", "x,w: 0x0007", "c,uc: 'A'"}));
  EXPECT_EQ(CursorRow(), 3);
  EXPECT_EQ(View->verticalScrollBar()->maximum(), 7);
  Key(Qt::Key_PageUp);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(Line(0), "c: 'A'");
  EXPECT_EQ(CursorRow(), 0);

  // Deleting moves the rest up and leaves no stale row behind.
  Key(Qt::Key_Down);
  View->RemoveWatch();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"c: 'A'", "nosuch: Variable not found", "x,b: 0x07", "x,2b: 0x07,0x00"}));
  for (int i = 0; i < 6; ++i) View->RemoveWatch();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"c: 'A'", "", "", ""}));
  View->RemoveWatch();  // on the empty row
  EXPECT_EQ(Line(0), "c: 'A'");
}

}  // namespace
