#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "GuiTestApplication.h"
#include "TestView.h"

namespace {

using Code = TScroller::TNewScrollCode;

class ScrollerTest : public ::testing::Test {
 protected:
  void Show(QSize chars = {20, 10}) {
    QSize outer;
    View.ComputeAreaSize(chars, outer);
    View.resize(outer);
    View.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&View));
    View.Calls.clear();
  }
  void Focus() {
    View.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&View));
    View.setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(View.Focused());
    View.Calls.clear();
  }

  TTestView View;
};

TEST_F(ScrollerTest, DefaultsAreAFramedGridOfEightByFifteenCells) {
  EXPECT_EQ(View.GetColWidth(), 8);
  EXPECT_EQ(View.GetLineHeight(), 15);
  EXPECT_EQ(View.BorderStyle(), TScroller::bsSingle);
  EXPECT_EQ(View.ScrollBars(), ssNone);
  EXPECT_TRUE(View.Ctl3D());
  EXPECT_EQ(View.HMargin(), 0);
  EXPECT_EQ(View.Color(), clBtnFace);
  EXPECT_EQ(View.Font().Color, clWindowText);
  EXPECT_EQ(View.PopupMenu(), nullptr);
  EXPECT_FALSE(View.HandleAllocated());
}

struct AreaCase {
  TScroller::TBorderMode Border;
  bool Ctl3D;
  TScrollStyle Bars;
  int Margin;
  QSize Chars;
  int ClientExtra;  // client pixels beyond the characters and the margin
};

class AreaSize : public ::testing::TestWithParam<AreaCase> {};

TEST_P(AreaSize, ComputedSizeShowsTheLinesItWasComputedFor) {
  const AreaCase& c = GetParam();
  TTestView view;
  view.SetBorderStyle(c.Border);
  view.SetCtl3D(c.Ctl3D);
  view.SetScrollBars(c.Bars);
  view.SetHMargin(c.Margin);
  QSize outer;
  view.ComputeAreaSize(c.Chars, outer);
  view.resize(outer);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  EXPECT_EQ(view.GetNumLines(), c.Chars.height());
  EXPECT_EQ(view.viewport()->size(),
            QSize(c.Chars.width() * 8 + c.Margin + c.ClientExtra, c.Chars.height() * 15 + c.ClientExtra));
  EXPECT_EQ(view.Calls.back(), (THookCall{"Size", view.viewport()->width(), view.viewport()->height()}));
  // The size leaves one pixel to spare; two less and the last line is gone.
  view.resize(outer - QSize(0, 1));
  EXPECT_EQ(view.GetNumLines(), c.Chars.height());
  view.resize(outer - QSize(0, 2));
  EXPECT_EQ(view.GetNumLines(), c.Chars.height() - 1);
}

INSTANTIATE_TEST_SUITE_P(
    BorderStyles, AreaSize,
    ::testing::Values(AreaCase{TScroller::bsSingle, true, ssNone, 0, {20, 10}, 0},
                      AreaCase{TScroller::bsSingle, true, ssBoth, 18, {40, 12}, 0},
                      AreaCase{TScroller::bsSingle, true, ssVertical, 0, {17, 1}, 0},
                      AreaCase{TScroller::bsSingle, false, ssHorizontal, 5, {33, 4}, 0},
                      AreaCase{TScroller::bsSingle, false, ssNone, 0, {8, 3}, 0},
                      // Without a frame the edge, the border and the pixel counted
                      // for it are left over inside.
                      AreaCase{TScroller::bsNone, true, ssBoth, 0, {20, 6}, 3},
                      AreaCase{TScroller::bsNone, false, ssVertical, 2, {10, 2}, 1}));

TEST_F(ScrollerTest, AreaSizeOfOneBareLine) {
  View.SetBorderStyle(TScroller::bsNone);
  View.SetCtl3D(false);
  View.SetHMargin(18);
  QSize outer;
  View.ComputeAreaSize({20, 1}, outer);
  EXPECT_EQ(outer, QSize(20 * 8 + 18 + 1, 15 + 1));
}

TEST_F(ScrollerTest, ControlLowerThanItsFrameHasNoLines) {
  View.SetScrollBars(ssHorizontal);
  View.resize(100, 5);
  EXPECT_EQ(View.GetNumLines(), 0);
  View.resize(100, 0);
  EXPECT_EQ(View.GetNumLines(), 0);
}

TEST_F(ScrollerTest, PixelsMapToCellsPastTheMargin) {
  View.SetHMargin(18);
  struct {
    QPoint Pixels;
    QPoint Cell;
  } const cases[] = {{{18, 0}, {0, 0}}, {{11, 14}, {0, 0}}, {{10, 15}, {-1, 1}},
                     {{2, 44}, {-2, 2}}, {{18 + 8 * 79 + 7, 300}, {79, 20}}};
  for (const auto& c : cases) {
    QPoint p = c.Pixels;
    View.MapPixelsToChars(p);
    EXPECT_EQ(p, c.Cell) << c.Pixels.x() << "," << c.Pixels.y();
  }
  QPoint cell(3, 2);
  View.MapCharsToPixels(cell);
  EXPECT_EQ(cell, QPoint(18 + 24, 30));
}

TEST_F(ScrollerTest, ScrollSettersActOnlyOnEnabledBars) {
  View.SetVScrollParams(-256, 256, 10);
  View.SetVScrollPos(20);
  EXPECT_EQ(View.VScrollPos(), 0);
  View.SetScrollBars(ssVertical);
  View.SetVScrollParams(-256, 256, 10);
  EXPECT_EQ(View.GetVScrollMax(), 256);
  EXPECT_EQ(View.VScrollPos(), 10);
  View.SetVScrollPos(-20);
  EXPECT_EQ(View.VScrollPos(), -20);
  View.SetHScrollParams(0, 132, 5);
  EXPECT_EQ(View.GetHScrollMax(), 0);
  EXPECT_TRUE(View.Calls.empty());
}

TEST_F(ScrollerTest, FrameChangesRecreateTheWindowOnlyWhenTheyChangeSomething) {
  Show();
  ASSERT_EQ(View.Creations, 1);
  View.SetScrollBars(ssNone);
  View.SetBorderStyle(TScroller::bsSingle);
  View.SetCtl3D(true);
  EXPECT_EQ(View.Creations, 1);
  View.SetScrollBars(ssBoth);
  View.SetBorderStyle(TScroller::bsNone);
  View.SetCtl3D(false);
  EXPECT_EQ(View.Creations, 4);
}

struct BarCase {
  bool Vertical;
  QAbstractSlider::SliderAction Action;
  Code Expected;
};

class BarActions : public ::testing::TestWithParam<BarCase> {};

TEST_P(BarActions, ReachTheHookWithTheBarsPositionAndMoveItWhereTheHookSays) {
  const BarCase& c = GetParam();
  TTestView view;
  view.SetScrollBars(ssBoth);
  view.SetVScrollParams(-256, 256, 40);
  view.SetHScrollParams(0, 132, 40);
  view.ScrollAnswer = [](Code, int& pos) { pos += 7; };
  QScrollBar* bar = c.Vertical ? view.verticalScrollBar() : view.horizontalScrollBar();
  bar->triggerAction(c.Action);
  ASSERT_EQ(view.Calls.size(), 1u);
  EXPECT_EQ(view.Calls[0], (THookCall{c.Vertical ? "VScroll" : "HScroll", c.Expected, 40}));
  EXPECT_EQ(bar->value(), 47);
  EXPECT_EQ(bar->sliderPosition(), 47);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, BarActions,
    ::testing::Values(BarCase{true, QAbstractSlider::SliderSingleStepSub, TScroller::nscBarLineUp},
                      BarCase{true, QAbstractSlider::SliderSingleStepAdd, TScroller::nscBarLineDown},
                      BarCase{true, QAbstractSlider::SliderPageStepSub, TScroller::nscPageUp},
                      BarCase{true, QAbstractSlider::SliderPageStepAdd, TScroller::nscPageDown},
                      BarCase{true, QAbstractSlider::SliderToMinimum, TScroller::nscTop},
                      BarCase{true, QAbstractSlider::SliderToMaximum, TScroller::nscBottom},
                      BarCase{false, QAbstractSlider::SliderSingleStepSub, TScroller::nscLineUp},
                      BarCase{false, QAbstractSlider::SliderSingleStepAdd, TScroller::nscLineDown},
                      BarCase{false, QAbstractSlider::SliderPageStepSub, TScroller::nscPageUp},
                      BarCase{false, QAbstractSlider::SliderPageStepAdd, TScroller::nscPageDown},
                      BarCase{false, QAbstractSlider::SliderToMinimum, TScroller::nscTop},
                      BarCase{false, QAbstractSlider::SliderToMaximum, TScroller::nscBottom}));

TEST_F(ScrollerTest, ArrowClickEndsWithEndScroll) {
  View.SetScrollBars(ssVertical);
  Show();
  View.SetVScrollParams(-256, 256, 0);
  QScrollBar* bar = View.verticalScrollBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
  const std::vector<THookCall> expected{{"VScroll", TScroller::nscBarLineDown, 0}, {"VScroll", TScroller::nscEndScroll, 0}};
  EXPECT_EQ(View.Calls, expected);
  // Nobody moved the bar, so it stays.
  EXPECT_EQ(View.VScrollPos(), 0);
}

TEST_F(ScrollerTest, PageAreaClickIsAPageWithoutMovingTheBar) {
  View.SetScrollBars(ssVertical);
  Show();
  View.SetVScrollParams(0, 100, 0);
  QScrollBar* bar = View.verticalScrollBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() * 3 / 4));
  const std::vector<THookCall> expected{{"VScroll", TScroller::nscPageDown, 0}, {"VScroll", TScroller::nscEndScroll, 0}};
  EXPECT_EQ(View.Calls, expected);
  EXPECT_EQ(View.VScrollPos(), 0);
}

TEST_F(ScrollerTest, ThumbDragPassesTheBarsPositionAndReleasePassesTheThumbs) {
  View.SetScrollBars(ssHorizontal);
  Show({40, 5});
  View.SetHScrollParams(0, 100, 50);
  QScrollBar* bar = View.horizontalScrollBar();
  const QPoint thumb(bar->width() / 2, bar->height() / 2);
  QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
  QTest::mouseMove(bar, thumb + QPoint(40, 0));
  const int dragged = bar->sliderPosition();
  ASSERT_GT(dragged, 50);
  QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb + QPoint(40, 0));
  ASSERT_GE(View.Calls.size(), 3u);
  EXPECT_EQ(View.Calls.front(), (THookCall{"HScroll", TScroller::nscTrack, 50}));
  const std::vector<THookCall> tail(View.Calls.end() - 2, View.Calls.end());
  const std::vector<THookCall> expected{{"HScroll", TScroller::nscPosition, dragged},
                                        {"HScroll", TScroller::nscEndScroll, dragged}};
  EXPECT_EQ(tail, expected);
  EXPECT_EQ(View.HScrollPos(), dragged);
}

TEST_F(ScrollerTest, ReleasedThumbGoesWhereTheViewPutsIt) {
  View.SetScrollBars(ssHorizontal);
  Show({40, 5});
  View.SetHScrollParams(0, 100, 50);
  View.ScrollAnswer = [](Code code, int& pos) {
    if (code == TScroller::nscPosition) pos = 10;
  };
  QScrollBar* bar = View.horizontalScrollBar();
  const QPoint thumb(bar->width() / 2, bar->height() / 2);
  QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
  QTest::mouseMove(bar, thumb + QPoint(40, 0));
  QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb + QPoint(40, 0));
  EXPECT_EQ(bar->value(), 10);
  EXPECT_EQ(bar->sliderPosition(), 10);
}

TEST_F(ScrollerTest, WheelNotchIsThreeClicksOnTheLineArrow) {
  View.SetScrollBars(ssVertical);
  Show();
  View.SetVScrollParams(-256, 256, 0);
  View.ScrollAnswer = [](Code code, int& pos) { pos += code == TScroller::nscBarLineUp ? -1 : 1; };
  auto wheel = [&](QWidget* target, int delta) {
    QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
  };
  wheel(View.viewport(), 120);
  const std::vector<THookCall> up{{"VScroll", TScroller::nscBarLineUp, 0},
                                  {"VScroll", TScroller::nscBarLineUp, -1},
                                  {"VScroll", TScroller::nscBarLineUp, -2}};
  EXPECT_EQ(View.Calls, up);
  EXPECT_EQ(View.VScrollPos(), -3);
  // Half notches add up; over the bar itself the wheel does the same.
  View.Calls.clear();
  wheel(View.verticalScrollBar(), -60);
  EXPECT_TRUE(View.Calls.empty());
  wheel(View.verticalScrollBar(), -60);
  EXPECT_EQ(View.Calls.size(), 3u);
  EXPECT_EQ(View.Calls.back(), (THookCall{"VScroll", TScroller::nscBarLineDown, -1}));
  EXPECT_EQ(View.VScrollPos(), 0);
}

TEST_F(ScrollerTest, WheelWithoutAVerticalBarIsLeftToTheHost) {
  for (TScrollStyle bars : {ssNone, ssHorizontal}) {
    View.SetScrollBars(bars);
    Show();
    QWheelEvent event(QPointF(5, 5), View.viewport()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(View.viewport(), &event);
    EXPECT_TRUE(View.Calls.empty()) << bars;
    EXPECT_FALSE(event.isAccepted()) << bars;
  }
  // Over the horizontal bar the wheel neither scrolls the view nor moves that bar.
  View.SetHScrollParams(0, 132, 40);
  View.Calls.clear();
  QScrollBar* bar = View.horizontalScrollBar();
  QWheelEvent event(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(bar, &event);
  EXPECT_TRUE(View.Calls.empty());
  EXPECT_EQ(View.HScrollPos(), 40);
}

struct KeyCase {
  Qt::Key Key;
  Qt::KeyboardModifiers Modifiers;
  std::vector<THookCall> Expected;
};

class Keys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(Keys, MapToScrollCodesCharactersOrKeyDown) {
  const KeyCase& c = GetParam();
  TTestView view;
  view.SetScrollBars(ssBoth);
  view.SetVScrollParams(-256, 256, 4);
  view.SetHScrollParams(0, 132, 4);
  QTest::keyClick(&view, c.Key, c.Modifiers);
  // The modifier keys are pressed first and reach IOnKeyDown themselves.
  std::erase_if(view.Calls, [](const THookCall& call) {
    return call.Hook == "KeyDown" && (call.A == VK_SHIFT || call.A == VK_CONTROL || call.A == VK_MENU);
  });
  EXPECT_EQ(view.Calls, c.Expected);
}

constexpr int CtrlShift = ssCtrl;

INSTANTIATE_TEST_SUITE_P(
    Table, Keys,
    ::testing::Values(
        KeyCase{Qt::Key_PageUp, Qt::NoModifier, {{"VScroll", TScroller::nscPageUp, 4}}},
        KeyCase{Qt::Key_PageUp, Qt::ControlModifier, {{"VScroll", TScroller::nscTop, 4}}},
        KeyCase{Qt::Key_PageDown, Qt::NoModifier, {{"VScroll", TScroller::nscPageDown, 4}}},
        KeyCase{Qt::Key_PageDown, Qt::ControlModifier, {{"VScroll", TScroller::nscBottom, 4}}},
        KeyCase{Qt::Key_Up, Qt::NoModifier, {{"VScroll", TScroller::nscLineUp, 4}}},
        KeyCase{Qt::Key_Up, Qt::ControlModifier, {{"VScroll", TScroller::nscPageUp, 4}}},
        KeyCase{Qt::Key_Down, Qt::NoModifier, {{"VScroll", TScroller::nscLineDown, 4}}},
        KeyCase{Qt::Key_Down, Qt::ControlModifier, {{"VScroll", TScroller::nscPageDown, 4}}},
        KeyCase{Qt::Key_Down, Qt::ShiftModifier, {{"VScroll", TScroller::nscLineDown, 4}}},
        KeyCase{Qt::Key_Home, Qt::NoModifier, {{"HScroll", TScroller::nscTop, 4}}},
        KeyCase{Qt::Key_Home, Qt::ControlModifier, {{"HScroll", TScroller::nscTop, 4}}},
        KeyCase{Qt::Key_End, Qt::NoModifier, {{"HScroll", TScroller::nscBottom, 4}}},
        KeyCase{Qt::Key_End, Qt::ControlModifier, {{"HScroll", TScroller::nscBottom, 4}}},
        KeyCase{Qt::Key_Left, Qt::NoModifier, {{"HScroll", TScroller::nscLineUp, 4}}},
        KeyCase{Qt::Key_Left, Qt::ControlModifier, {{"HScroll", TScroller::nscPageUp, 4}}},
        KeyCase{Qt::Key_Right, Qt::NoModifier, {{"HScroll", TScroller::nscLineDown, 4}}},
        KeyCase{Qt::Key_Right, Qt::ControlModifier, {{"HScroll", TScroller::nscPageDown, 4}}},
        // Delete types DEL only, never a second character.
        KeyCase{Qt::Key_Delete, Qt::NoModifier, {{"Char", 127, 46}}},
        KeyCase{Qt::Key_Delete, Qt::ControlModifier, {{"Char", 127, 46}}},
        KeyCase{Qt::Key_Insert, Qt::NoModifier, {{"KeyDown", 0x2D, 0}}},
        KeyCase{Qt::Key_F5, Qt::NoModifier, {{"KeyDown", 0x74, 0}}},
        KeyCase{Qt::Key_A, Qt::NoModifier, {{"KeyDown", 'A', 0}, {"Char", 'a', 1}}},
        KeyCase{Qt::Key_A, Qt::ControlModifier, {{"KeyDown", 'A', CtrlShift}, {"Char", 1, 1}}},
        KeyCase{Qt::Key_G, Qt::ControlModifier, {{"KeyDown", 'G', CtrlShift}, {"Char", 7, 1}}},
        KeyCase{Qt::Key_Z, Qt::ControlModifier, {{"KeyDown", 'Z', CtrlShift}, {"Char", 26, 1}}},
        KeyCase{Qt::Key_X, Qt::AltModifier, {{"KeyDown", 'X', ssAlt}}},
        KeyCase{Qt::Key_5, Qt::NoModifier, {{"KeyDown", '5', 0}, {"Char", '5', 1}}},
        KeyCase{Qt::Key_Return, Qt::NoModifier, {{"KeyDown", 0x0D, 0}, {"Char", 13, 1}}},
        KeyCase{Qt::Key_Escape, Qt::NoModifier, {{"KeyDown", 0x1B, 0}, {"Char", 27, 1}}}));

TEST_F(ScrollerTest, LeftPressReachesItsCellAndTakesTheFocus) {
  View.SetHMargin(18);
  Show();
  View.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&View));
  View.Calls.clear();
  QTest::mousePress(View.viewport(), Qt::LeftButton, {}, QPoint(10, 31));
  EXPECT_EQ(View.Calls, (std::vector<THookCall>{{"LButtonDown", -1, 2}}));
  EXPECT_TRUE(View.Focused());
  QTest::mouseRelease(View.viewport(), Qt::LeftButton, {}, QPoint(10, 31));
}

TEST_F(ScrollerTest, RightPressTakesTheFocusWithoutAHook) {
  Show();
  View.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&View));
  View.Calls.clear();
  QTest::mousePress(View.viewport(), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_TRUE(View.Calls.empty());
  EXPECT_TRUE(View.Focused());
  QTest::mouseRelease(View.viewport(), Qt::RightButton, {}, QPoint(20, 20));
}

struct DoubleClickCase {
  Qt::MouseButtons Buttons;
  Qt::KeyboardModifiers Modifiers;
  bool Reaches;
};

class DoubleClick : public ::testing::TestWithParam<DoubleClickCase> {};

TEST_P(DoubleClick, OnlyAPlainLeftDoubleClickReachesItsHook) {
  const DoubleClickCase& c = GetParam();
  TTestView view;
  QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(8 * 4 + 1, 15 * 3 + 1), QPointF(), Qt::LeftButton, c.Buttons,
                    c.Modifiers);
  QApplication::sendEvent(view.viewport(), &event);
  // The second press of the double click is a press of its own.
  ASSERT_FALSE(view.Calls.empty());
  EXPECT_EQ(view.Calls.front(), (THookCall{"LButtonDown", 4, 3}));
  const THookCall doubleClick{"LButtonDblClk", 4, 3};
  EXPECT_EQ(view.Calls.back() == doubleClick, c.Reaches);
}

INSTANTIATE_TEST_SUITE_P(
    States, DoubleClick,
    ::testing::Values(DoubleClickCase{Qt::LeftButton, Qt::NoModifier, true},
                      DoubleClickCase{Qt::LeftButton, Qt::AltModifier, true},
                      DoubleClickCase{Qt::LeftButton, Qt::ShiftModifier, false},
                      DoubleClickCase{Qt::LeftButton, Qt::ControlModifier, false},
                      DoubleClickCase{Qt::LeftButton | Qt::RightButton, Qt::NoModifier, false},
                      DoubleClickCase{Qt::LeftButton | Qt::MiddleButton, Qt::NoModifier, false}));

TEST_F(ScrollerTest, CursorIsDrawnOnFocusWithoutAPaint) {
  View.Lines = {"0000 LD A,B", "0001 NOP", "0002 HALT"};
  View.CursorRow = 1;
  Show();
  View.clearFocus();
  QApplication::processEvents();
  const int paints = View.Paints;
  ASSERT_GT(paints, 0);
  ASSERT_FALSE(View.Focused());
  EXPECT_EQ(View.Canvas()->GridCell(0, 1).Background, clBtnFace);
  Focus();
  EXPECT_EQ(View.Paints, paints);
  EXPECT_EQ(View.Canvas()->GridLine(1).trimmed(), QStringLiteral("0001 NOP"));
  EXPECT_EQ(View.Canvas()->GridCell(0, 1).Background, clHighlight);
  EXPECT_EQ(View.Canvas()->GridCell(19, 1).Background, clHighlight);
  EXPECT_EQ(View.Canvas()->GridCell(0, 0).Background, clBtnFace);
  View.clearFocus();
  EXPECT_FALSE(View.Focused());
  EXPECT_EQ(View.Paints, paints);
  EXPECT_EQ(View.Canvas()->GridCell(0, 1).Background, clBtnFace);
}

TEST_F(ScrollerTest, PopupMenuLeavesTheFocusAndTheCursor) {
  QMenu menu;
  menu.addAction(QStringLiteral("&Goto..."));
  View.SetPopupMenu(&menu);
  Show();
  Focus();
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), View.viewport()->mapToGlobal(QPoint(10, 10)));
  QApplication::sendEvent(View.viewport(), &event);
  EXPECT_TRUE(menu.isVisible());
  EXPECT_TRUE(View.Focused());
  menu.close();
}

TEST_F(ScrollerTest, MarginChangeRepaintsAtOnce) {
  View.Lines = {"ABC"};
  Show();
  QApplication::processEvents();
  const int paints = View.Paints;
  View.SetHMargin(16);
  EXPECT_EQ(View.Paints, paints + 1);
  EXPECT_TRUE(View.Canvas()->GridLine(0).startsWith(QStringLiteral("ABC ")));
  QPoint cell(0, 0);
  View.MapCharsToPixels(cell);
  EXPECT_EQ(cell, QPoint(16, 0));
}

TEST_F(ScrollerTest, FontChangeMeasuresTheCellAgain) {
  TFont font = View.Font();
  font.Font.setPixelSize(26);
  View.SetFont(font);
  EXPECT_GT(View.GetColWidth(), 8);
  EXPECT_GT(View.GetLineHeight(), 15);
}

}  // namespace
