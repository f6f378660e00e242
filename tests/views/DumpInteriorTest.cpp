#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DumpInterior.h"
#include "EngineFixture.h"
#include "FileDialogAnswers.h"
#include "GuiTestApplication.h"
#include "InputAnswers.h"
#include "MessageBoxRecorder.h"
#include "Protocol.h"

namespace {

using D = TDumpInterior;

class DumpInteriorTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    Seed();
  }
  // 41h, 42h, ... from 0100h to 01FFh, zeros from 0200h to 02FFh.
  static void Seed() {
    std::vector<uint8_t> bytes(256);
    for (int i = 0; i < 256; ++i) bytes[i] = static_cast<uint8_t>(0x41 + i);
    TheProtocol->WriteMemory(1, 0x100, 128, bytes.data());
    TheProtocol->WriteMemory(1, 0x180, 128, bytes.data() + 128);
    TheProtocol->FillBlock(1, 0x200, 0x100, 1, std::vector<uint8_t>{0}.data());
  }
  void TearDown() override {
    View.reset();
    EngineFixture::TearDown();
  }

  // A focused view at 0100h showing `lines` lines, as the host windows set it up.
  void Show(D::TDataMode mode, int lines = 4) {
    View = std::make_unique<D>();
    View->SetColor(clWhite);
    View->SetScrollBars(ssBoth);
    View->OnAddrChanged = [this](QObject*, uint16_t area, uint32_t addr) {
      Area = area;
      Reported = addr;
    };
    View->OnDataModeChanged = [this](QObject*, uint16_t mode) { ModeReported = mode; };
    View->OnChange = [this](QObject*) { View->Refresh(); };
    View->SetDataMode(mode);
    View->SetAddr(0x100);
    QSize outer;
    View->ComputeAreaSize(QSize(View->AreaAddrSize() + 66, lines), outer);
    View->resize(outer);
    View->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(View.get()));
    View->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(View.get()));
    View->setFocus();
    QApplication::processEvents();
    View->Update();
  }

  QString Line(int row) const { return View->Canvas()->GridLine(row).trimmed(); }
  // The characters the cursor highlights.
  QString Cursor() const {
    QString text;
    for (int row = 0; row < View->Canvas()->GridRows(); ++row)
      for (int column = 0; column < View->Canvas()->GridColumns(); ++column)
        if (View->Canvas()->GridCell(column, row).Background == clHighlight)
          text += View->Canvas()->GridCell(column, row).Char;
    return text;
  }
  void Keys(const std::vector<Qt::Key>& keys) {
    for (Qt::Key key : keys) QTest::keyClick(View.get(), key);
    View->Update();
  }
  void ClickColumn(int column, int row, bool twice = false) {
    const QPoint at(column * 8 + 4, row * 15 + 7);
    if (twice)
      QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, at);
    else
      QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, at);
    View->Update();
  }
  void Command(const char* name) {
    QAction* action = View->Popup()->findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
    Refocus();
  }
  // A dialog took the focus; closing it gives it back.
  void Refocus() {
    View->activateWindow();
    View->setFocus();
    QApplication::processEvents();
    View->Update();
  }
  static std::vector<uint8_t> Memory(uint32_t address, int count) {
    std::vector<uint8_t> bytes(static_cast<std::size_t>(count));
    TheProtocol->ReadMemory(1, address, static_cast<uint8_t>(count), bytes.data());
    return bytes;
  }

  // "caption|prompt|initial text" of each input dialog shown.
  std::vector<std::string> Asked() const {
    std::vector<std::string> asked;
    for (const TShownInput& shown : Input.Shown)
      asked.push_back(shown.Caption + '|' + shown.Prompt + '|' + shown.Initial);
    return asked;
  }

  std::unique_ptr<D> View;
  uint16_t Area = 0;
  uint32_t Reported = 0;
  int ModeReported = -1;
  TInputAnswers Input;
  TMessageBoxRecorder Boxes;
};

// The line text itself is the line builder's; here the popup, the prefix
// colour and the cursor on the first item.
TEST_F(DumpInteriorTest, ThePopupAndTheFirstLine) {
  Show(D::BYTEx16);
  QStringList captions;
  for (QAction* action : View->Popup()->actions()) {
    captions << action->text();
    if (action->menu())
      for (QAction* mode : action->menu()->actions()) captions << mode->text();
  }
  EXPECT_EQ(captions, (QStringList{"Display at...", "Modify...", "Clear block...", "Fill block...", "Copy block...",
                                   "Load block...", "Save block...", "Display mode", "8 Bytes", "16 Bytes", "8 Words",
                                   "4 Dwords"}));
  EXPECT_EQ(Line(0), "CODE:0100 41 42 43 44 45 46 47 48 - 49 4A 4B 4C 4D 4E 4F 50 ABCDEFGHIJKLMNOP");
  EXPECT_EQ(Cursor(), "41");
  EXPECT_EQ(View->Canvas()->GridCell(3, 0).Background, 0xFFDFB5u);
  EXPECT_EQ(View->Canvas()->GridCell(View->AreaAddrSize() + 10, 1).Background, clWhite);
}

// Keys, or a click on a column after the prefix of the first line.
struct MoveCase {
  D::TDataMode Mode;
  uint32_t Start;
  int Click;  // -1: none
  std::vector<Qt::Key> Keys;
  uint32_t Address;  // reported for the cursor
  const char* Cursor;
  const char* FirstLine;  // its start
};

TEST_F(DumpInteriorTest, KeysAndClicksMoveTheCursorAndTheWindow) {
  const MoveCase cases[] = {
      {D::BYTEx8, 0x100, -1, {Qt::Key_Left}, 0x100, "41", "CODE:0100"},
      {D::BYTEx8, 0x100, -1, {Qt::Key_End, Qt::Key_Right}, 0x107, "H", "CODE:0100"},
      {D::BYTEx8, 0x100, -1, {Qt::Key_End, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left}, 0x103, "D", "CODE:0100"},
      {D::BYTEx8, 0x100, -1, {Qt::Key_Right, Qt::Key_Down, Qt::Key_Down}, 0x111, "52", "CODE:0100"},
      {D::BYTEx8, 0x100, -1, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}, 0x120, "61", "CODE:0108"},
      {D::BYTEx8, 0x100, -1, {Qt::Key_PageDown}, 0x120, "61", "CODE:0120"},
      {D::BYTEx16, 0x100, -1, {Qt::Key_End}, 0x10F, "P", "CODE:0100"},
      {D::WORDx8, 0x100, -1, {Qt::Key_End}, 0x10E, "504F", "CODE:0100"},
      {D::DWORDx4, 0x100, -1, {Qt::Key_End, Qt::Key_Right}, 0x10C, "504F4E4D", "CODE:0100"},
      // Up at 0000h wraps through the area's 16 bits.
      {D::BYTEx8, 0, -1, {Qt::Key_Up}, 0xFFF8, "00", "CODE:FFF8"},
      {D::BYTEx16, 0, -1, {Qt::Key_Up}, 0xFFF0, "00", "CODE:FFF0"},
      {D::BYTEx8, 0x100, 4, {}, 0x101, "42", "CODE:0100"},
      // A click past the data part leaves the cursor where it was.
      {D::BYTEx8, 0x100, 40, {}, 0x100, "41", "CODE:0100"},
  };
  for (const MoveCase& c : cases) {
    Show(c.Mode);
    View->SetNewAddress(1, c.Start);
    if (c.Click >= 0) ClickColumn(View->AreaAddrSize() + c.Click, 0);
    Keys(c.Keys);
    SCOPED_TRACE(c.Cursor);
    EXPECT_EQ(Reported, c.Address);
    EXPECT_EQ(Cursor(), QString::fromLatin1(c.Cursor));
    EXPECT_TRUE(Line(0).startsWith(QString::fromLatin1(c.FirstLine))) << Line(0).toStdString();
  }
}

// A key typed on the item after the first, or a popup command.
struct EditCase {
  D::TDataMode Mode;
  char Key;
  const char* Command;
  const char* Asked;  // "caption|prompt|initial text"; empty: no dialog
  const char* Answer;
  uint32_t Check;
  std::vector<uint8_t> Bytes;  // from Check on afterwards
  const char* Message;         // shown, or empty
};

TEST_F(DumpInteriorTest, EditsChangeMemoryAsAnswered) {
  // One write or fill pattern carries 255 bytes; more are refused, nothing written.
  const std::string longest = "\"" + std::string(255, 'x') + "\"";
  const std::string too_long = "\"" + std::string(256, 'x') + "\"";
  const std::string longest_fill = "200H,1," + longest, too_long_fill = "200H,1," + too_long;
  const char* modify = "Modify memory|New value(s):|";
  const std::string modify5 = modify + std::string("5"), modify1 = modify + std::string("1"),
                    modifyQuote = modify + std::string("\"");
  const char* fill = "Fill block|Start address, Count, Pattern:|";
  const char* copy = "Copy block|From, To, Count:|";
  const EditCase cases[] = {
      {D::BYTEx8, '5', "", modify5.c_str(), "5", 0x101, {0x05, 0x43}, ""},
      {D::WORDx8, '5', "", modify5.c_str(), "5", 0x101, {0x42, 0x05, 0x00, 0x45}, ""},
      {D::DWORDx4, '1', "", modify1.c_str(), "12345678H", 0x101, {0x42, 0x43, 0x44, 0x78, 0x56, 0x34, 0x12, 0x49}, ""},
      {D::BYTEx8, '"', "", modifyQuote.c_str(), longest.c_str(), 0x101, {0x78, 0x78}, ""},
      {D::BYTEx8, '"', "", modifyQuote.c_str(), too_long.c_str(), 0x101, {0x42, 0x43}, "Value out of range"},
      {D::BYTEx8, '+', "", "", "", 0x101, {0x42, 0x43}, ""},
      {D::BYTEx8, ' ', "", "", "", 0x101, {0x42, 0x43}, ""},
      {D::BYTEx8, 0, "FillBlock", fill, "200H,5,{1,2}", 0x200, {1, 2, 1, 2, 1, 0}, ""},
      {D::BYTEx8, 0, "FillBlock", fill, "100H,3,\"\"", 0x100, {0x41, 0x42, 0x43}, ""},
      {D::BYTEx8, 0, "FillBlock", fill, longest_fill.c_str(), 0x200, {0x78, 0}, ""},
      {D::BYTEx8, 0, "FillBlock", fill, too_long_fill.c_str(), 0x200, {0}, "Value out of range"},
      {D::BYTEx8, 0, "ClearBlock", "Clear block|Start address, count:|", "101H,0", 0x100, {0x41, 0x42}, ""},
      {D::BYTEx8, 0, "CopyBlock", copy, "CODE:100H,DATA:201H,3", 0x200, {0, 0x41, 0x42, 0x43, 0}, ""},
      {D::BYTEx8, 0, "CopyBlock", copy, "100H,,3", 0x200, {0}, "Incorrect address"},
  };
  for (const EditCase& c : cases) {
    Seed();
    Show(c.Mode);
    Keys({Qt::Key_Right});
    Input.Shown.clear();
    Boxes.Messages.clear();
    Input.Answers = {std::string(c.Answer)};
    if (c.Key) {
      QTest::keyClick(View.get(), c.Key);
      View->Update();
    } else {
      Command(c.Command);
    }
    SCOPED_TRACE(c.Answer);
    EXPECT_EQ(Asked(), *c.Asked ? std::vector<std::string>{c.Asked} : std::vector<std::string>{});
    EXPECT_EQ(Memory(c.Check, static_cast<int>(c.Bytes.size())), c.Bytes);
    EXPECT_EQ(Boxes.Messages.empty() ? std::string() : Boxes.Messages[0].Text, c.Message);
    if (c.Key && c.Mode == D::BYTEx8) {
      EXPECT_TRUE(Line(0).startsWith("CODE:0100 41 " + QString::asprintf("%02X", c.Bytes[0])));
    }
  }
}

TEST_F(DumpInteriorTest, DoubleClickAndModifyAskWithAnEmptyAnswer) {
  Show(D::BYTEx8);
  Input.Answers = {std::string("7"), std::nullopt};
  ClickColumn(View->AreaAddrSize() + 6, 0, true);
  Command("Modify");
  EXPECT_EQ(Asked(), (std::vector<std::string>{"Modify memory|New value(s):|", "Modify memory|New value(s):|"}));
  EXPECT_EQ(Memory(0x102, 2), (std::vector<uint8_t>{0x07, 0x44}));
  EXPECT_EQ(View->ModifyMemory("x"), -1);
  // An empty answer or pattern sends the target nothing.
  int writes = 0;
  TTransferRecorder previous = SetTransferRecorder([&](const TMemoryTransfer& transfer) {
    if (transfer.Kind == TTransferKind::Write) ++writes;
  });
  for (const char* empty : {"", "\"\"", "{}"}) {
    Input.Answers = {std::string(empty)};
    View->ModifyMemory("");
  }
  SetTransferRecorder(std::move(previous));
  EXPECT_EQ(writes, 0);
}

TEST_F(DumpInteriorTest, DisplayAtMovesTheWindowAndTheCursorHome) {
  Show(D::BYTEx8);
  Keys({Qt::Key_Down, Qt::Key_Right});
  Input.Answers = {std::string("DATA:100H"), std::string("300H")};
  Command("GotoAddr");
  EXPECT_EQ(Asked().back(), "Display at address|New address:|");
  EXPECT_TRUE(Line(0).startsWith("DATA:0100 41 "));
  EXPECT_EQ(Area, 2);
  EXPECT_EQ(Reported, 0x100u);
  EXPECT_EQ(Cursor(), "41");
  QTest::keyClick(View.get(), Qt::Key_G, Qt::ControlModifier);
  Refocus();
  EXPECT_TRUE(Line(0).startsWith("CODE:0300 "));
  // A program area's addresses have 24 bits and always six digits.
  Input.Answers = {std::string("PCODE:12345H")};
  Command("GotoAddr");
  EXPECT_EQ(Area, 0x81);
  EXPECT_EQ(View->AreaAddrSize(), 12);
  EXPECT_TRUE(Line(0).startsWith("CODE:012345 00 ")) << Line(0).toStdString();
  Keys({Qt::Key_End});
  EXPECT_EQ(Reported, 0x1234Cu);
  EXPECT_EQ(Cursor(), ".");
}

TEST_F(DumpInteriorTest, TheVerticalBarJogsByWholePages) {
  Show(D::BYTEx8);
  QScrollBar* bar = View->verticalScrollBar();
  for (int release : {-37, 0, 200}) {
    bar->setSliderDown(true);
    bar->setSliderPosition(release);
    bar->setSliderDown(false);
    View->Update();
    EXPECT_EQ(bar->value(), 0);
  }
  EXPECT_TRUE(Line(0).startsWith("CODE:0100 "));  // -256, nothing, +256
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  View->Update();
  EXPECT_TRUE(Line(0).startsWith("CODE:0108 "));
}

TEST_F(DumpInteriorTest, ModeChangesPutTheCursorHomeAndLimitTheHeight) {
  Show(D::BYTEx8);
  Keys({Qt::Key_Down, Qt::Key_End});
  Command("N16Bytes");
  EXPECT_EQ(ModeReported, D::BYTEx16);
  EXPECT_EQ(Reported, 0x100u);
  EXPECT_EQ(Cursor(), "41");
  EXPECT_EQ(View->GetHScrollMax(), 31);
  for (D::TDataMode mode : {D::BYTEx8, D::BYTEx16, D::WORDx8, D::DWORDx4}) {
    View->SetDataMode(mode);
    QSize min, max;
    View->GetMinMaxInfo(min, max);
    View->resize(max);
    EXPECT_EQ(View->GetNumLines(), mode == D::BYTEx8 ? 16 : 8);
    View->resize(min);
    EXPECT_EQ(View->GetNumLines(), 1);
  }
}

// A view too low for one line still builds one, and the cursor stays on it.
TEST_F(DumpInteriorTest, DownInAViewWithoutVisibleLinesMovesTheWindow) {
  Show(D::BYTEx8);
  View->resize(View->width(), 20);
  ASSERT_EQ(View->GetNumLines(), 0);
  Keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Down});
  EXPECT_EQ(Reported, 0x118u);
  EXPECT_EQ(View->Addr(), 0x118u);
}

// Sixteen lines of sixteen bytes, as the CPU window's tallest panel shows,
// are more than one transfer can carry.
TEST_F(DumpInteriorTest, TallViewsReadTheirBytesInTransfersTheTargetAllows) {
  std::vector<TMemoryTransfer> reads;
  TTransferRecorder previous = SetTransferRecorder([&](const TMemoryTransfer& transfer) {
    if (transfer.Kind == TTransferKind::Read) reads.push_back(transfer);
  });
  Show(D::BYTEx16, 16);
  reads.clear();
  View->Refresh();
  View->Update();
  SetTransferRecorder(std::move(previous));
  ASSERT_EQ(View->GetNumLines(), 16);
  uint32_t total = 0;
  for (const TMemoryTransfer& read : reads) {
    EXPECT_LE(read.Count, 255u);
    EXPECT_EQ(read.Address, 0x100 + total);
    total += read.Count;
  }
  EXPECT_EQ(total, 17u * 16u);
  EXPECT_EQ(Line(15), "CODE:01F0 31 32 33 34 35 36 37 38 - 39 3A 3B 3C 3D 3E 3F 40 123456789:;<=>?@");
}

// The file dialog's fourth filter is the binary format.
TEST_F(DumpInteriorTest, LoadAndSaveBlockAskForTheBlockAndTheFile) {
  const std::string file = (std::filesystem::temp_directory_path() / "dump-view-block.bin").string();
  TFileDialogAnswers files({{QString::fromStdString(file), 4}, {QString::fromStdString(file), 4}});
  Show(D::BYTEx8);
  Input.Answers = {std::string("101H,2,3"), std::string("1,DATA:200H,2")};
  Command("SaveBlock");
  Command("ReadBlock");
  std::filesystem::remove(file);
  const std::vector<TFileDialogRequest>& requests = files.Requests;
  EXPECT_EQ(Asked(), (std::vector<std::string>{"Write block|From mem addr, To file addr, Count:|",
                                                    "Read block|From file addr, To mem addr, Count:|"}));
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_TRUE(requests[0].Save && !requests[0].OverwritePrompt && requests[0].Title == "Save data");
  EXPECT_TRUE(!requests[1].Save && requests[1].FileMustExist && requests[1].Title == "Load data");
  EXPECT_EQ(requests[1].FilterIndex, 1);
  EXPECT_EQ(requests[1].Filter,
            "IAR Symbolic (*.a?\?)|*.a?\?|Intel-Hex (*.hex)|*.hex|Motorola hex (*.hex)|*.hex|Binary (*.bin)|*.bin");
  // Saved: 42h 43h 44h; loaded from file address 1 on: 43h 44h.
  EXPECT_EQ(Memory(0x1FF, 4), (std::vector<uint8_t>{0x40, 0x43, 0x44, 0x00}));
  EXPECT_TRUE(Boxes.Messages.empty());
}

}  // namespace
