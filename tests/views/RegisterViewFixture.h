#pragma once
// A register, flag, special-register or stack view on the demonstration
// target, shown with room for a number of lines, as its hosts set it up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <memory>
#include <string>

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
    ASSERT_EQ(Area->GetNumLines(), lines);
  }
  void Focus() {
    Area->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Area.get()));
    Area->setFocus();
    QApplication::processEvents();
  }

  // The row's text as painted, trailing blanks cut.
  std::string Line(int row) {
    Area->Update();
    return Area->Canvas()->GridLine(row).trimmed().toStdString();
  }
  TColor TextColor(int column, int row) {
    Area->Update();
    return Area->Canvas()->GridCell(column, row).Color;
  }
  TColor Background(int column, int row) {
    Area->Update();
    return Area->Canvas()->GridCell(column, row).Background;
  }

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(Area.get(), key, modifiers);
  }
  void Type(char c) { QTest::keyClicks(Area.get(), QString(QLatin1Char(c))); }
  QPoint RowCentre(int row) const {
    return QPoint(20, row * Area->GetLineHeight() + Area->GetLineHeight() / 2);
  }
  void Click(int row) { QTest::mouseClick(Area->viewport(), Qt::LeftButton, {}, RowCentre(row)); }
  void DoubleClick(int row) { QTest::mouseDClick(Area->viewport(), Qt::LeftButton, {}, RowCentre(row)); }

  std::unique_ptr<TConfiguration> Holder;
  std::unique_ptr<View> Area;
};
