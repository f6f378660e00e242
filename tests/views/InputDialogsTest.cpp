#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <set>
#include <utility>

#include "ChoiceForm.h"
#include "GuiTestApplication.h"
#include "Input.h"
#include "InputQuery.h"
#include "Inputdialogs.h"
#include "Messages.h"
#include "ModalDialog.h"

namespace {

// Answers every dialog shown while it lives with the given actions.
class TDialogScript {
 public:
  template <typename Form>
  explicit TDialogScript(std::function<void(Form&)> answer) {
    Previous = SetModalDialogHandler([this, answer](QDialog& dialog) {
      ++Shown;
      auto* form = dynamic_cast<Form*>(&dialog);
      ASSERT_NE(form, nullptr);
      answer(*form);
    });
  }
  ~TDialogScript() { SetModalDialogHandler(std::move(Previous)); }

  int Shown = 0;

 private:
  TModalDialogHandler Previous;
};

using TInputAnswer = std::function<void(TInputForm&)>;
using TChoiceAnswer = std::function<void(TChoiceForm&)>;

struct QueryCase {
  const char* Name;
  unsigned char Mode;
  TInputAnswer Answer;
  bool Result;
  std::string Value;
};

class InputQuery : public ::testing::TestWithParam<QueryCase> {};

TEST_P(InputQuery, AnswersOrLeavesTheValue) {
  const QueryCase& c = GetParam();
  TDialogScript script(c.Answer);
  std::string value = "1234";
  EXPECT_EQ(InputQueryDialog("Modify value", "New value:", value, c.Mode, 0), c.Result);
  EXPECT_EQ(value, c.Value);
  EXPECT_EQ(script.Shown, 1);
}

void Ok(TInputForm& form) { QTest::mouseClick(form.cmOK, Qt::LeftButton); }

INSTANTIATE_TEST_SUITE_P(
    Answers, InputQuery,
    ::testing::Values(
        QueryCase{"OkKeepsTheInitialValue", 0, Ok, true, "1234"},
        QueryCase{"SelectedValueIsReplaced", 1,
                  [](TInputForm& form) {
                    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
                    QTest::keyClicks(form.Input, "7");
                    Ok(form);
                  },
                  true, "7"},
        QueryCase{"TypingAppendsAfterTheCaret", 0,
                  [](TInputForm& form) {
                    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
                    QTest::keyClicks(form.Input, "7");
                    Ok(form);
                  },
                  true, "12347"},
        QueryCase{"EnterIsOk", 0,
                  [](TInputForm& form) {
                    QTest::keyClicks(form.Input, "H");
                    QTest::keyClick(form.Input, Qt::Key_Return);
                  },
                  true, "1234H"},
        QueryCase{"EmptiedFieldGivesAnEmptyValue", 0,
                  [](TInputForm& form) {
                    form.Input->clear();
                    Ok(form);
                  },
                  true, ""},
        QueryCase{"CancelButton", 1,
                  [](TInputForm& form) {
                    QTest::keyClicks(form.Input, "99");
                    QTest::mouseClick(form.cmCancel, Qt::LeftButton);
                  },
                  false, "1234"},
        QueryCase{"Escape", 0,
                  [](TInputForm& form) {
                    QTest::keyClicks(form.Input, "99");
                    QTest::keyClick(form.Input, Qt::Key_Escape);
                  },
                  false, "1234"},
        QueryCase{"CloseBox", 0, [](TInputForm& form) { form.close(); }, false, "1234"},
        QueryCase{"CloseDialogMessage", 0,
                  [](TInputForm& form) {
                    QTest::keyClicks(form.Input, "99");
                    SendMessage(form.Handle(), UM_CLOSEDIALOG);
                  },
                  false, "1234"},
        QueryCase{"LeftOpenIsCancel", 0, [](TInputForm& form) { QTest::keyClicks(form.Input, "99"); }, false,
                  "1234"}),
    [](const auto& info) { return info.param.Name; });

TEST(InputQueryDialog, TildesLeaveCaptionAndPrompt) {
  QString caption;
  QString prompt;
  TDialogScript script(TInputAnswer([&](TInputForm& form) {
    caption = form.windowTitle();
    prompt = form.Prompt->text();
  }));
  std::string value;
  InputQueryDialog("~main~", "~~~", value, 0, 0);
  EXPECT_EQ(caption, QStringLiteral("main"));
  EXPECT_EQ(prompt, QString());
  InputQueryDialog("Add ~Watch", "a~b~~c", value, 0, 0);
  EXPECT_EQ(caption, QStringLiteral("Add Watch"));
  EXPECT_EQ(prompt, QStringLiteral("abc"));
}

TEST(InputQueryDialog, AnswersTheEnginesPrompts) {
  InstallInputQuery();
  QString caption;
  TDialogScript script(TInputAnswer([&](TInputForm& form) {
    caption = form.windowTitle();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClicks(form.Input, "P100,3");
    Ok(form);
  }));
  std::string answer = "0,0";
  EXPECT_TRUE(::InputQuery("Change to bank 02h", "Address,Value:", answer, 1));
  EXPECT_EQ(answer, "P100,3");
  EXPECT_EQ(caption, QStringLiteral("Change to bank 02h"));
  SetInputQueryHandler(nullptr);
}

TEST(InputQueryDialog, KeepsTheHelpContextAndHidesHelp) {
  TDialogScript script(TInputAnswer([](TInputForm& form) {
    EXPECT_EQ(form.HelpFile, QStringLiteral("Corvane.hlp"));
    EXPECT_EQ(form.HelpContext, 1);
    EXPECT_FALSE(form.cmHelp->isVisible());
    EXPECT_TRUE(form.cmOK->isDefault());
    QTest::keyClick(form.Input, Qt::Key_F1);
    EXPECT_TRUE(form.isVisible());
  }));
  std::string value = "0";
  EXPECT_FALSE(InputQueryDialog("Modify value", "CLOCK", value, 1, 1));
}

TEST(InputQueryDialog, FieldLeftOnceSelectsItsTextWhenEnteredAgain) {
  TDialogScript script(TInputAnswer([](TInputForm& form) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_FALSE(form.AutoSelect());
    form.cmOK->setFocus(Qt::OtherFocusReason);
    form.Input->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(form.AutoSelect());
    QTest::keyClicks(form.Input, "5");
    Ok(form);
  }));
  std::string value = "1234";
  EXPECT_TRUE(InputQueryDialog("Modify stack", "New value:", value, 0, 0));
  EXPECT_EQ(value, "5");
}

TEST(InputQueryDialog, OpensCentredOnTheMainForm) {
  struct TMainForm : QWidget, TMessageReceiver {
    void Dispatch(TMessage&) override {}
  } mainForm;
  mainForm.setGeometry(100, 80, 640, 480);
  mainForm.show();
  SetMainForm(&mainForm);
  QPoint centre;
  TDialogScript script(TInputAnswer([&](TInputForm& form) { centre = form.frameGeometry().center(); }));
  std::string value;
  InputQueryDialog("Display at address", "New address:", value, 0, 0);
  SetMainForm(nullptr);
  // Centred once its frame is known: only the halving of odd sizes may differ.
  EXPECT_LE((centre - mainForm.frameGeometry().center()).manhattanLength(), 2);
}

TEST(InputQueryDialog, GivesTheFocusBackToTheWindowThatHadIt) {
  QWidget window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  // As on a display without a window manager: nothing has the focus once the
  // dialog is gone, unless it is given back.
  TDialogScript script(TInputAnswer([](TInputForm& form) {
    QApplication::setActiveWindow(nullptr);
    Ok(form);
  }));
  std::string value;
  InputQueryDialog("Assemble line", "Source line:", value, 0, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), &window);
}

TEST(InputQueryDialog, EightBitTextsRoundTrip) {
  TDialogScript script(TInputAnswer([](TInputForm& form) { Ok(form); }));
  std::string value = "\xB5P \xE9";
  EXPECT_TRUE(InputQueryDialog("Assemble line", "Source line:", value, 0, 0));
  EXPECT_EQ(value, "\xB5P \xE9");
}

struct ChoiceCase {
  int Items;
  int ClientHeight;
  size_t Columns;
};

class ChoiceLayout : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChoiceLayout, OneColumnUpToSevenItemsThenTwo) {
  const ChoiceCase& c = GetParam();
  static const char* const names[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", nullptr};
  std::vector<const char*> items(names, names + c.Items);
  items.push_back(nullptr);
  TDialogScript script(TChoiceAnswer([&](TChoiceForm& form) {
    EXPECT_EQ(form.size(), QSize(306, c.ClientHeight));
    EXPECT_EQ(form.Group->geometry(), QRect(4, 4, 298, c.ClientHeight - 36));
    EXPECT_EQ(form.OkButton->geometry(), QRect(148, c.ClientHeight - 25, 73, 21));
    EXPECT_EQ(form.CancelButton->geometry(), QRect(228, c.ClientHeight - 25, 73, 21));
    std::set<int> lefts;
    for (QAbstractButton* button : form.Buttons->buttons()) {
      lefts.insert(button->x());
      EXPECT_TRUE(form.Group->rect().contains(button->geometry()));
    }
    EXPECT_EQ(lefts.size(), c.Columns);
  }));
  ChoiceDialog("Modify value", items.data(), 0);
  EXPECT_EQ(script.Shown, 1);
}

INSTANTIATE_TEST_SUITE_P(Counts, ChoiceLayout,
                         ::testing::Values(ChoiceCase{1, 72, 1}, ChoiceCase{7, 168, 1}, ChoiceCase{8, 120, 2},
                                           ChoiceCase{9, 120, 2}, ChoiceCase{10, 136, 2}));

const char* const Speeds[] = {"~4~ MHz", "8 MHz", "10 MHz", "12 MHz", "16 MHz", nullptr};

struct ChoiceAnswerCase {
  const char* Name;
  int ItemIndex;
  TChoiceAnswer Answer;
  int Result;
};

class ChoiceAnswers : public ::testing::TestWithParam<ChoiceAnswerCase> {};

TEST_P(ChoiceAnswers, GiveTheChosenIndexOrMinusOne) {
  const ChoiceAnswerCase& c = GetParam();
  TDialogScript script(c.Answer);
  EXPECT_EQ(ChoiceDialog("Modify value", Speeds, c.ItemIndex), c.Result);
}

void ChoiceOk(TChoiceForm& form) { QTest::mouseClick(form.OkButton, Qt::LeftButton); }

INSTANTIATE_TEST_SUITE_P(
    Answers, ChoiceAnswers,
    ::testing::Values(ChoiceAnswerCase{"PresetKept", 2, ChoiceOk, 2},
                      ChoiceAnswerCase{"NonePresetNoneChosen", -1, ChoiceOk, -1},
                      ChoiceAnswerCase{"IndexOutOfRangePresetsNone", 5, ChoiceOk, -1},
                      ChoiceAnswerCase{"Clicked", 0,
                                       [](TChoiceForm& form) {
                                         QTest::mouseClick(form.Buttons->button(4), Qt::LeftButton, {},
                                                           QPoint(5, form.Buttons->button(4)->height() / 2));
                                         ChoiceOk(form);
                                       },
                                       4},
                      ChoiceAnswerCase{"ArrowKeyMovesThePresetChoice", 1,
                                       [](TChoiceForm& form) {
                                         ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
                                         QWidget* focus = QApplication::focusWidget();
                                         ASSERT_NE(focus, nullptr);
                                         QTest::keyClick(focus, Qt::Key_Down);
                                         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                                       },
                                       2},
                      ChoiceAnswerCase{"NothingCheckedEnterIsOk", -1,
                                       [](TChoiceForm& form) {
                                         ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
                                         EXPECT_EQ(QApplication::focusWidget(), form.OkButton);
                                         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                                       },
                                       -1},
                      ChoiceAnswerCase{"Cancel", 1,
                                       [](TChoiceForm& form) {
                                         QTest::mouseClick(form.CancelButton, Qt::LeftButton);
                                       },
                                       -1},
                      ChoiceAnswerCase{"CloseBox", 1, [](TChoiceForm& form) { form.close(); }, -1},
                      ChoiceAnswerCase{"CloseDialogMessage", 1,
                                       [](TChoiceForm& form) { SendMessage(form.Handle(), UM_CLOSEDIALOG); }, -1}),
    [](const auto& info) { return info.param.Name; });

TEST(ChoiceDialog, ItemsLoseTheirTildes) {
  TDialogScript script(TChoiceAnswer([](TChoiceForm& form) {
    EXPECT_EQ(form.Buttons->button(0)->text(), QStringLiteral("4 MHz"));
    EXPECT_EQ(form.Buttons->button(4)->text(), QStringLiteral("16 MHz"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Modify value"));
    ChoiceOk(form);
  }));
  EXPECT_EQ(ChoiceDialog("Modify value", Speeds, 0), 0);
}

TEST(ChoiceDialog, NoItemsGiveMinusOne) {
  TDialogScript script(TChoiceAnswer([](TChoiceForm& form) {
    EXPECT_TRUE(form.Buttons->buttons().isEmpty());
    ChoiceOk(form);
  }));
  EXPECT_EQ(ChoiceDialog("Modify value", nullptr, 0), -1);
  const char* const none[] = {nullptr};
  EXPECT_EQ(ChoiceDialog("Modify value", none, 0), -1);
}

}  // namespace
