#pragma once
// A view on the demonstration target (registers, flags, stack, symbols,
// watches), white as its hosts make it, shown with room for a number of lines.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Configuration.h"
#include "GuiTestApplication.h"
#include "Protocol.h"
#include "Scroller.h"
#include "Tgtz80.h"

template <typename View>
class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Holder = std::make_unique<TConfiguration>();
    Area = std::make_unique<View>();
    Area->SetColor(clWhite);
  }
  void TearDown() override {
    Area.reset();
    Holder.reset();
  }

  void Show(int lines, int columns = 16) {
    QSize outer;
    Area->ComputeAreaSize(QSize(columns, lines), outer);
    Area->resize(outer);
    Area->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Area.get()));
    Area->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Area.get()));
    Area->setFocus();
    QApplication::processEvents();
  }

  // The rows' texts as painted, trailing blanks cut.
  std::vector<std::string> Lines(int rows) {
    Area->Update();
    std::vector<std::string> lines;
    for (int row = 0; row < rows; ++row) lines.push_back(Area->Canvas()->GridLine(row).trimmed().toStdString());
    return lines;
  }
  std::string Line(int row) { return Lines(row + 1).back(); }
  TGridCell Cell(int column, int row) {
    Area->Update();
    return Area->Canvas()->GridCell(column, row);
  }

  // Keys by letter: d Down, u Up, n PgDn, p PgUp, N Ctrl+PgDn, P Ctrl+PgUp,
  // D Ctrl+Down, r Right, e End, g Ctrl+G; any other character is typed.
  void Keys(const std::string& keys) {
    static const std::map<char, std::pair<Qt::Key, Qt::KeyboardModifiers>> named = {
        {'d', {Qt::Key_Down, {}}},     {'u', {Qt::Key_Up, {}}},
        {'n', {Qt::Key_PageDown, {}}}, {'p', {Qt::Key_PageUp, {}}},
        {'N', {Qt::Key_PageDown, Qt::ControlModifier}}, {'P', {Qt::Key_PageUp, Qt::ControlModifier}},
        {'D', {Qt::Key_Down, Qt::ControlModifier}},     {'r', {Qt::Key_Right, {}}},
        {'e', {Qt::Key_End, {}}},      {'g', {Qt::Key_G, Qt::ControlModifier}}};
    for (char k : keys) {
      if (const auto key = named.find(k); key != named.end())
        QTest::keyClick(Area.get(), key->second.first, key->second.second);
      else
        QTest::keyClicks(Area.get(), QString(QLatin1Char(k)));
    }
  }
  QPoint RowCentre(int row) const { return QPoint(20, row * Area->GetLineHeight() + Area->GetLineHeight() / 2); }
  void Click(int row) { QTest::mouseClick(Area->viewport(), Qt::LeftButton, {}, RowCentre(row)); }
  void DoubleClick(int row) { QTest::mouseDClick(Area->viewport(), Qt::LeftButton, {}, RowCentre(row)); }
  // The row the cursor highlights among the first rows; -1 when none.
  int CursorRow(int rows) {
    for (int row = 0; row < rows; ++row)
      if (Cell(0, row).Background == clHighlight) return row;
    return -1;
  }

  std::unique_ptr<TConfiguration> Holder;
  std::unique_ptr<View> Area;
};
