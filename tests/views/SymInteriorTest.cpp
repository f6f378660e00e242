#include <QScrollBar>

#include "DebugTableBuilder.h"
#include "RegisterViewFixture.h"
#include "SymInterior.h"

namespace {

class SymViewTest : public ViewTest<TSymInterior> {
 protected:
  // The two columns with the blanks between them as one.
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (const std::string& line : Lines(4)) rows.push_back(QString::fromStdString(line).simplified().toStdString());
    return rows;
  }
};

TEST_F(SymViewTest, EverySymbolInNameOrderWithItsAddressColumn) {
  AddSymbol({"var", 0, 2, 0x1234});
  AddSymbol({"main", 0, 0x41, 0x12345});
  AddSymbol({"size_t", 6, 0, 3});
  AddSymbol({"auto", 7, 9, 4});
  AddSymbol({"reg", 8, 0, 0x10A});
  AddSymbol({"RED", 9, 0, 2});
  AddSymbol({"a_very_long_name_that_runs_into_the_other_column", 0, 1, 0x100});
  Area->SetScrollBars(ssVertical);
  Show(4, 34);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"RED @ENUM:00000002", "a_very_long_name @CODE:00000100",
                                              "auto @AUTO:00000004", "main @CODE:00012345"}));
  // The address column starts 4 pixels right of the line, 156 from the right
  // edge; the name is cut 4 pixels left of it.
  const int column = Area->Canvas()->GridLine(1).indexOf('@');
  EXPECT_NEAR(column * Area->GetColWidth(), Area->width() - 156 + 4, Area->GetColWidth() / 2);
  EXPECT_EQ(Area->Canvas()->GridLine(1).left(column).trimmed().size(), (Area->width() - 156 - 4) / Area->GetColWidth());
  EXPECT_EQ(CursorRow(4), 0);

  Keys("n");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"main @CODE:00012345", "reg @REG:0000010A", "size_t TYPEDEF:00000003",
                                              "var @DATA:00001234"}));
  EXPECT_EQ(CursorRow(4), 3);
  Keys("Nd");  // on the last symbol: nothing
  EXPECT_EQ(Rows().back(), "var @DATA:00001234");
  EXPECT_EQ(CursorRow(4), 3);
  EXPECT_EQ(Area->verticalScrollBar()->value(), 6);
  Keys("Pu");
  EXPECT_EQ(Rows().front(), "RED @ENUM:00000002");
  EXPECT_EQ(CursorRow(4), 0);

  Click(2);
  EXPECT_EQ(CursorRow(4), 2);
  EXPECT_EQ(Area->verticalScrollBar()->value(), 2);

  // A later symbol shows at the next paint; the range keeps the count of the
  // view's creation.
  AddSymbol({"zz", 0, 2, 1});
  Area->Refresh();
  Keys("N");
  EXPECT_EQ(Rows().back(), "zz @DATA:00000001");
  EXPECT_EQ(Area->verticalScrollBar()->maximum(), 6);
}

}  // namespace
