#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <cstring>
#include <deque>
#include <functional>

#include "ChoiceForm.h"
#include "DisplayOptions.h"
#include "Input.h"
#include "MainWindowFixture.h"
#include "ModalDialog.h"
#include "Symbols.h"
#include "srcAbout.h"
#include "srcCpuConfiguration.h"
#include "srcEditMap.h"
#include "srcHwLines.h"
#include "srcMemMap.h"
#include "srcTargetRead.h"
#include "srcTargetWrite.h"

namespace {

// Answers the modal dialogs in the order they come up, a nested one while its
// parent's step still runs.
class TDialogSteps {
 public:
  using TStep = std::function<void(QDialog&)>;
  explicit TDialogSteps(std::deque<TStep> steps) : Steps(std::move(steps)) {
    Previous = SetModalDialogHandler([this](QDialog& dialog) {
      Titles.push_back(dialog.windowTitle().toStdString());
      if (Steps.empty()) return;
      TStep step = std::move(Steps.front());
      Steps.pop_front();
      step(dialog);
    });
  }
  ~TDialogSteps() { SetModalDialogHandler(std::move(Previous)); }
  std::deque<TStep> Steps;
  std::vector<std::string> Titles;

 private:
  TModalDialogHandler Previous;
};

template <typename T>
std::function<void(QDialog&)> On(std::function<void(T&)> act) {
  return [act](QDialog& dialog) {
    auto* form = dynamic_cast<T*>(&dialog);
    ASSERT_NE(form, nullptr);
    act(*form);
  };
}

std::vector<std::string> Rows(const QListWidget* list) {
  std::vector<std::string> rows;
  for (int i = 0; i < list->count(); ++i) rows.push_back(list->item(i)->text().toStdString());
  return rows;
}

class TargetDialogs : public MainWindowTest {
 protected:
  void Prepare() override {
    const char areas[] = "\x10\x00" "&Code|program\0ROM\0RAM\0\x00\x01";
    ProtocolScript().Areas.assign(areas, areas + sizeof areas);
    ProtocolScript().MemoryMap = {{0, 0xFFFF, 0}};
    const char lines[] = "\x02\x00~RESET\0\x03\x05" "NMI\0\x00\x00";
    ProtocolScript().HwLines.assign(lines, lines + sizeof lines);
    const char settings[] = "\x03\x02\x0C\x00" "Slow\0xx" "Mid\0xx" "Fast\0xx" "\0" "\x03" "Clock\0\x01\x02";
    ProtocolScript().CpuSettings.assign(settings, settings + sizeof settings);
  }
  void SetUp() override {
    MainWindowTest::SetUp();
    Connect();
  }
};

TEST_F(TargetDialogs, MemoryMapShowsSwapsAndEditsItsRanges) {
  QAction* code = Form->MNU_ConfigureMemory->actions().value(0);
  ASSERT_NE(code, nullptr);
  ASSERT_TRUE(code->isEnabled());
  std::vector<std::string> shown;
  TDialogSteps steps({On<TfrmMemMap>([&](TfrmMemMap& map) {
                        map.cmdSwap->click();  // before the map is shown
                        map.cmdShow->click();
                        map.cmdSwap->click();  // no row selected
                        map.lbState->setCurrentRow(0);
                        map.cmdSwap->click();
                        shown = Rows(map.lbState);
                        map.lbState->setCurrentRow(0);
                        map.cmdEdit->click();
                        map.cmdAdd->click();
                      }),
                      On<TfrmEditMap>([](TfrmEditMap& editor) {
                        EXPECT_EQ(editor.Edit1->text(), QStringLiteral("00000000h,0000FFFFh"));
                        editor.Edit1->setText(QStringLiteral("100h,1FFh"));
                        editor.RadioItems->button(0)->click();
                        editor.Button1->click();
                      }),
                      On<TfrmEditMap>([](TfrmEditMap& editor) {
                        EXPECT_EQ(editor.Edit1->text(), QStringLiteral("0,0000FFFFh"));
                        QTest::keyClick(&editor, Qt::Key_Escape);  // closes the editor only
                      })});
  ProtocolScript().Log.clear();
  code->trigger();
  EXPECT_EQ(steps.Titles, (std::vector<std::string>{"Edit code map", "Edit map", "Add map"}));
  ASSERT_EQ(Boxes.Messages.size(), 2u);
  EXPECT_EQ(Boxes.Messages[0].Text, "You must show maps before this!");
  EXPECT_EQ(Boxes.Messages[1].Text, "You must select one row on the list!");
  ASSERT_EQ(ProtocolScript().MemoryMapWrites.size(), 2u);
  EXPECT_EQ(ProtocolScript().MemoryMapWrites[0].Bits, 0x02);  // swap: the mask
  EXPECT_EQ(ProtocolScript().MemoryMapWrites[1].From, 0x100u);
  EXPECT_EQ(ProtocolScript().MemoryMapWrites[1].To, 0x1FFu);
  EXPECT_EQ(ProtocolScript().MemoryMapWrites[1].Bits, 0);
  EXPECT_EQ(shown, std::vector<std::string>{"From 00000000h to 0000FFFFh as ROM"});
}

TEST_F(TargetDialogs, ReadFromListsTheBytesWithoutWrapping) {
  const uint8_t bytes[] = {0xAA, 0xBB};
  TheProtocol->WriteMemory(0, 0xFFFE, 2, bytes);
  TheProtocol->WriteMemory(0, 0x0000, 2, bytes);
  TSymbolRecord symbol{};
  std::strcpy(symbol.Name, "Z\xE4hler");  // a name of Latin-1 bytes, as an object file may hold
  symbol.Value = 0xFFFF;
  TheSymbols->Add(&symbol);
  std::vector<std::string> lines;
  std::vector<std::string> byName;
  TDialogSteps steps({On<TfrmTargetRead>([&](TfrmTargetRead& dialog) {
    dialog.Edit1->setText(QStringLiteral("CODE:Z\u00E4hler"));
    dialog.cmdDo->click();
    byName = Rows(dialog.ListBox1);
    dialog.Edit1->setText(QStringLiteral("CODE:0FFFEH,4"));
    dialog.cmdDo->click();
    lines = Rows(dialog.ListBox1);
    dialog.Edit1->setText(QStringLiteral("CODE:0,65"));
    dialog.cmdDo->click();
    EXPECT_EQ(dialog.ListBox1->count(), 4);
  })});
  Form->MNU_ViewReadFrom->trigger();
  EXPECT_EQ(steps.Titles, std::vector<std::string>{"Read from"});
  EXPECT_EQ(lines, (std::vector<std::string>{"@CODE:FFFE = AA", "@CODE:FFFF = BB", "@CODE:10000 = AA",
                                             "@CODE:10001 = BB"}));
  EXPECT_EQ(byName, std::vector<std::string>{"@CODE:FFFF = BB"});
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "Too many elements !");
}

struct WriteCase {
  std::string Values;
  std::vector<uint8_t> Written;  // empty: nothing written
  const char* Message;           // text / caption; "" none
};

TEST_F(TargetDialogs, WriteToWritesListsAndStringsAndRefusesTheRest) {
  const WriteCase cases[] = {
      {"1, 2, 3", {1, 2, 3}, ""},
      {"\"AB\"", {0x41, 0x42}, ""},
      {"{7}", {7}, ""},
      {"", {}, "Range check error / Corvane 4"},
      {"1FFh", {}, ""},
      {"\"" + std::string(129, 'x') + "\"", {}, "Value out of range / Error"},
      {"'", {}, "Syntax error / Error"},
      {"\"\u00FC\u20AC\"", {0xFC, '?'}, ""},  // one byte a character, as every input dialog
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.Values.substr(0, 20));
    Boxes.Messages.clear();
    ProtocolScript().Transfers.clear();
    Form->RegisterView(new FakeView(&Log, "v", Form.get()));
    Log.clear();
    TDialogSteps steps({On<TfrmTargetWrite>([&](TfrmTargetWrite& dialog) {
      dialog.Edit1->setText(QStringLiteral("CODE:200H"));
      dialog.Edit2->setText(QString::fromStdString(c.Values));
      dialog.cmdDo->click();
    })});
    Form->MNU_ViewWriteTo->trigger();
    std::vector<uint8_t> written;
    for (const TMemoryTransfer& t : ProtocolScript().Transfers)
      if (t.Kind == TTransferKind::Write) {
        written.resize(t.Count);
        TheProtocol->ReadMemory(0, t.Address, static_cast<uint8_t>(t.Count), written.data());
      }
    EXPECT_EQ(written, c.Written);
    EXPECT_EQ(Log.empty(), c.Written.empty());  // every view refreshed after a write
    EXPECT_EQ(Boxes.Messages.empty() ? "" : Boxes.Messages[0].Text + " / " + Boxes.Messages[0].Caption, c.Message);
  }
}

TEST_F(TargetDialogs, ExternalLinesFollowTheBitmap) {
  ProtocolScript().HwLineBitmap[3] = 0x20;
  ProtocolScript().HwLineBitmap[9] = 0xFF;  // no listed line
  std::vector<std::string> names;
  std::vector<bool> checked;
  TDialogSteps steps({On<TfrmHwLines>([&](TfrmHwLines& dialog) {
    for (int i = 0; i < dialog.CheckListBox1->count(); ++i) {
      names.push_back(dialog.CheckListBox1->item(i)->text().toStdString());
      checked.push_back(dialog.CheckListBox1->item(i)->checkState() == Qt::Checked);
    }
    dialog.CheckListBox1->item(1)->setCheckState(Qt::Checked);
    dialog.cmdOk->click();
  })});
  Form->MNU_ConfigureExternals->trigger();
  EXPECT_EQ(steps.Titles, std::vector<std::string>{"Set external lines"});
  EXPECT_EQ(names, (std::vector<std::string>{"RESET", "NMI"}));
  EXPECT_EQ(checked, (std::vector<bool>{true, false}));
  std::vector<uint8_t> expected(256);
  expected[3] = 0x20;
  expected[0] = 0x01;
  EXPECT_EQ(ProtocolScript().HwLineBitmap, expected);
}

TEST_F(TargetDialogs, CpuSettingsChangeOnlyOnOk) {
  ProtocolScript().CpuSettingValues = {0x08, 0x12, 0x34};
  std::vector<std::string> before, after;
  std::string prompt;
  auto run = [&](bool ok) {
    TDialogSteps steps({On<TfrmCpuConfiguration>([&](TfrmCpuConfiguration& dialog) {
                          before = Rows(dialog.lbSettings);
                          for (int row : {0, 1}) {
                            dialog.lbSettings->setCurrentRow(row);
                            emit dialog.lbSettings->itemDoubleClicked(dialog.lbSettings->item(row));
                          }
                          after = Rows(dialog.lbSettings);
                          EXPECT_EQ(dialog.lbSettings->currentRow(), 1);
                          (ok ? dialog.cmdOk : dialog.cmdCancel)->click();
                        }),
                        On<TChoiceForm>([](TChoiceForm& choice) {
                          EXPECT_TRUE(choice.Buttons->button(2)->isChecked());
                          choice.Buttons->button(1)->click();
                          choice.OkButton->click();
                        }),
                        On<TInputForm>([&](TInputForm& input) {
                          prompt = input.Prompt->text().toStdString();
                          EXPECT_EQ(input.Input->text(), QStringLiteral("01234h"));
                          input.Input->setText(QStringLiteral("5678h"));
                          input.cmOK->click();
                        })});
    Form->MNU_ConfigureCpu->trigger();
    EXPECT_EQ(steps.Titles, (std::vector<std::string>{"Configure CPU", "Modify value", "Modify value"}));
  };
  run(false);
  EXPECT_EQ(before, (std::vector<std::string>{"Fast", "Clock" + std::string(27, '.') + "1234h"}));
  EXPECT_EQ(after, (std::vector<std::string>{"Mid", "Clock" + std::string(27, '.') + "5678h"}));
  EXPECT_EQ(prompt, "Clock");
  EXPECT_EQ(ProtocolScript().CpuSettingValues, (std::vector<uint8_t>{0x08, 0x12, 0x34}));
  run(true);
  EXPECT_EQ(ProtocolScript().CpuSettingValues, (std::vector<uint8_t>{0x04, 0x56, 0x78}));
}

TEST_F(TargetDialogs, EscAndTheCloseMessageCancelEveryOne) {
  for (QAction* command : {Form->MNU_ViewReadFrom, Form->MNU_ViewWriteTo, Form->MNU_ConfigureExternals,
                           Form->MNU_ConfigureCpu, Form->MNU_ConfigureMemory->actions().value(0)}) {
    for (bool message : {false, true}) {
      int result = -1;
      TDialogSteps steps({[&](QDialog& dialog) {
        if (message)
          SendMessage(dynamic_cast<TMessageReceiver&>(dialog).Handle(), UM_CLOSEDIALOG, 0, 0);
        else
          QTest::keyClick(&dialog, Qt::Key_Escape);
        result = dialog.result();
      }});
      command->trigger();
      EXPECT_EQ(result, mrCancel) << command->text().toStdString() << message;
    }
  }
}

TEST_F(MainWindowTest, AboutBoxAndDisplayOptions) {
  TDialogSteps steps({On<TfrmAbout>([](TfrmAbout& about) { about.Button1->click(); })});
  Connect();
  Form->TLB_About->trigger();
  EXPECT_EQ(steps.Titles, std::vector<std::string>{"About"});

  Form->MNU_OptionsDisplay->trigger();
  QPointer<TfrmDisplayOptions> options = Form->findChild<TfrmDisplayOptions*>();
  ASSERT_TRUE(options);
  EXPECT_TRUE(options->isVisible());
  EXPECT_GT(options->cbFontName->count(), 0);
  QTest::keyClick(options, Qt::Key_Escape);  // only the Cancel button's result
  EXPECT_TRUE(options->isVisible());
  options->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(options);
}

}  // namespace
