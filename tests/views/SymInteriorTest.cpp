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
#include "SymInterior.h"
#include "Symbols.h"

namespace {

class SymViewTest : public ::testing::Test {
 protected:
  void SetUp() override { Holder = std::make_unique<TConfiguration>(); }
  void TearDown() override {
    View.reset();
    Holder.reset();
  }

  void Show(int rows) {
    View = std::make_unique<TSymInterior>();
    View->SetScrollBars(ssVertical);
    QSize outer;
    View->ComputeAreaSize({34, rows}, outer);
    View->resize(outer);
    View->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(View.get()));
    View->activateWindow();
    View->setFocus();
    QApplication::processEvents();
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int row = 0; row < View->Canvas()->GridRows(); ++row)
      lines.push_back(View->Canvas()->GridLine(row).simplified().toStdString());
    return lines;
  }
  int CursorRow() const {
    for (int row = 0; row < View->Canvas()->GridRows(); ++row)
      if (View->Canvas()->GridCell(0, row).Background == clHighlight) return row;
    return -1;
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(View.get(), key, modifiers); }

  std::unique_ptr<TConfiguration> Holder;
  std::unique_ptr<TSymInterior> View;
};

TEST_F(SymViewTest, EverySymbolInNameOrderWithItsAddressColumn) {
  AddSymbol({"var", 0, 2, 0x1234});
  AddSymbol({"main", 0, 0x41, 0x12345});
  AddSymbol({"size_t", 6, 0, 3});
  AddSymbol({"auto", 7, 9, 4});
  AddSymbol({"reg", 8, 0, 0x10A});
  AddSymbol({"RED", 9, 0, 2});
  AddSymbol({"a_very_long_name_that_runs_into_the_other_column", 0, 1, 0x100});
  Show(4);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"RED @ENUM:00000002", "a_very_long_name @CODE:00000100",
                                               "auto @AUTO:00000004", "main @CODE:00012345"}));
  // The address column starts 4 pixels right of the line, 156 from the right
  // edge; the name is cut 4 pixels left of it.
  const int column = View->Canvas()->GridLine(1).indexOf('@');
  EXPECT_NEAR(column * View->GetColWidth(), View->width() - 156 + 4, View->GetColWidth() / 2);
  EXPECT_EQ(View->Canvas()->GridLine(1).left(column).trimmed().size(), (View->width() - 156 - 4) / View->GetColWidth());
  EXPECT_EQ(CursorRow(), 0);

  Key(Qt::Key_PageDown);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"main @CODE:00012345", "reg @REG:0000010A", "size_t TYPEDEF:00000003",
                                               "var @DATA:00001234"}));
  EXPECT_EQ(CursorRow(), 3);
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  Key(Qt::Key_Down);  // on the last symbol: nothing
  EXPECT_EQ(Lines().back(), "var @DATA:00001234");
  EXPECT_EQ(CursorRow(), 3);
  EXPECT_EQ(View->verticalScrollBar()->value(), 6);
  Key(Qt::Key_PageUp, Qt::ControlModifier);
  Key(Qt::Key_Up);
  EXPECT_EQ(Lines().front(), "RED @ENUM:00000002");
  EXPECT_EQ(CursorRow(), 0);

  QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, QPoint(4, 2 * View->GetLineHeight() + 3));
  EXPECT_EQ(CursorRow(), 2);
  EXPECT_EQ(View->verticalScrollBar()->value(), 2);

  // A later symbol shows at the next paint; the range keeps the count of the
  // view's creation.
  AddSymbol({"zz", 0, 2, 1});
  View->Refresh();
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(Lines().back(), "zz @DATA:00000001");
  EXPECT_EQ(View->verticalScrollBar()->maximum(), 6);
}

}  // namespace
