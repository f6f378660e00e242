#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <tuple>
#include <vector>

#include "DumpInterior.h"
#include "FileDialogAnswers.h"
#include "FileSizeLimit.h"
#include "InputAnswers.h"
#include "MainWindowFixture.h"
#include "NonRegularFile.h"
#include "Protocol.h"
#include "SettingsRegistry.h"
#include "WindowManagerClose.h"
#include "srcCpu.h"
#include "srcMemory.h"

namespace {

class MemoryWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // The CPU window's dump is read at the window's own size, not at one an
    // earlier main window left.
    Registry().WriteBinary(RegistryKey, "Cpu", nullptr, 0);
    Form->resize(900, 800);
    Form->show();
    Connect();
  }

  // The windows carry no meta-object of their own: they are found by name.
  std::vector<TfrmMemory*> Forms() const {
    std::vector<TfrmMemory*> forms;
    for (QWidget* form : Form->findChildren<QWidget*>(QStringLiteral("frmMemory"), Qt::FindDirectChildrenOnly))
      forms.push_back(static_cast<TfrmMemory*>(form));
    return forms;
  }
  TfrmMemory* Open() {
    const std::size_t before = Forms().size();
    Form->TLB_ViewDump->trigger();
    const std::vector<TfrmMemory*> forms = Forms();
    return forms.size() > before ? forms.back() : nullptr;
  }
  static std::string Line(TfrmMemory* form, int row) { return Line(form->DumpArea, row); }
  static std::string Address(TfrmMemory* form) { return form->txtAddress->text().toStdString(); }
  static void Popup(TfrmMemory* form, const char* item) { Popup(form->DumpArea, item); }
  static void Popup(TDumpInterior* view, const char* item) {
    view->Popup()->findChild<QAction*>(QString::fromLatin1(item))->trigger();
  }
  static std::string Line(TDumpInterior* view, int row) {
    view->Update();
    return view->Canvas()->GridLine(row).trimmed().toStdString();
  }
  TfrmCpu* Cpu() const { return Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu")); }
};

TEST_F(MemoryWindowTest, OpensUpToFourWindowsFromTheButtonAndTheMenu) {
  EXPECT_TRUE(Form->TLB_ViewDump->isEnabled());
  EXPECT_TRUE(Form->MNU_ViewDump->isEnabled());
  std::vector<TfrmMemory*> forms;
  for (int i = 0; i < 4; ++i) forms.push_back(Open());
  for (TfrmMemory* form : forms) ASSERT_NE(form, nullptr);
  TfrmMemory* form = forms[0];
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Memory dump"));
  EXPECT_TRUE(form->windowFlags() & Qt::Tool);
  EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(Address(form), " CODE:00000000");
  EXPECT_EQ(Line(form, 0), "CODE:0000 00 00 00 00 00 00 00 00 ........");
  EXPECT_TRUE(form->btn8Bytes->isChecked());
  EXPECT_EQ(Form->ViewCount(), 5);  // and the CPU window

  Form->MNU_ViewDump->trigger();
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "No more dump windows available");
  EXPECT_EQ(Boxes.Messages[0].Caption, "WARNING");
  EXPECT_EQ(Forms().size(), 4u);

  form->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(Form->ViewCount(), 4);
  EXPECT_NE(Open(), nullptr);
}

TEST_F(MemoryWindowTest, ButtonsAndThePopupChooseTheGroupingTogether) {
  TfrmMemory* form = Open();
  ASSERT_NE(form, nullptr);
  form->DumpArea->SetNewAddress(1, 0x100);
  QTest::keyClick(form->DumpArea, Qt::Key_Down);
  EXPECT_EQ(Address(form), " CODE:00000108");

  Popup(form, "N16Bytes");
  EXPECT_TRUE(form->btn16Bytes->isChecked());
  EXPECT_EQ(form->DumpArea->DataMode(), TDumpInterior::BYTEx16);

  QTest::keyClick(form->DumpArea, Qt::Key_Down);
  QTest::mouseClick(form->btnWord, Qt::LeftButton);
  EXPECT_TRUE(form->btnWord->isChecked());
  EXPECT_EQ(form->DumpArea->DataMode(), TDumpInterior::WORDx8);
  EXPECT_EQ(Address(form), " CODE:00000100");
  // The window grows no taller than the view allows: eight lines of words.
  form->resize(form->width(), 2000);
  EXPECT_EQ(form->DumpArea->GetNumLines(), 8);

  // Double words make a shorter row and a narrower window; nothing of the
  // longer row stays.
  const uint8_t bytes[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  TheProtocol->WriteMemory(1, 0x100, 16, bytes);
  TfrmMemory* fresh = Open();
  fresh->DumpArea->SetNewAddress(1, 0x100);
  QTest::mouseClick(fresh->btnWord, Qt::LeftButton);
  fresh->resize(fresh->maximumSize());
  EXPECT_EQ(Line(fresh, 0), "CODE:0100 0201 0403 0605 0807 0A09 0C0B 0E0D 100F");
  QTest::mouseClick(fresh->btnDword, Qt::LeftButton);
  EXPECT_EQ(Line(fresh, 0), "CODE:0100 04030201 08070605 0C0B0A09 100F0E0D");
}

TEST_F(MemoryWindowTest, DoubleClickOnTheAddressAsksWhereToShow) {
  TfrmMemory* form = Open();
  ASSERT_NE(form, nullptr);
  TInputAnswers answers({"DATA:100H", std::nullopt});
  QTest::mouseDClick(form->txtAddress, Qt::LeftButton);
  EXPECT_EQ(Address(form), " DATA:00000100");
  EXPECT_EQ(Line(form, 0).substr(0, 10), "DATA:0100 ");
  QTest::mouseDClick(form->txtAddress, Qt::LeftButton);
  EXPECT_EQ(Address(form), " DATA:00000100");
  EXPECT_EQ(answers.Shown.size(), 2u);
}

// An edit goes to the main window, which has every view show it.
TEST_F(MemoryWindowTest, AChangeInOneWindowShowsInTheOthers) {
  TfrmMemory* first = Open();
  TfrmMemory* second = Open();
  ASSERT_NE(second, nullptr);
  second->DumpArea->SetDataMode(TDumpInterior::WORDx8);
  second->resize(second->maximumSize());
  TInputAnswers answers({"1,2,3"});
  QTest::keyClick(first->DumpArea, Qt::Key_Right);
  QTest::keyClick(first->DumpArea, '1');
  EXPECT_EQ(Line(first, 0), "CODE:0000 00 01 02 03 00 00 00 00 ........");
  EXPECT_EQ(Line(second, 0), "CODE:0000 0100 0302 0000 0000 0000 0000 0000 0000");
  EXPECT_EQ(answers.Shown.size(), 1u);
  EXPECT_EQ(Line(Cpu()->DumpArea, 0), "CODE:0000 00 01 02 03 00 00 00 00 ........");
}

// The sample image's first 32 bytes, loaded as a block, are what srec_cat
// reads from the file.
TEST_F(MemoryWindowTest, LoadsABlockOfTheSampleImage) {
  TfrmMemory* form = Open();
  ASSERT_NE(form, nullptr);
  const uint8_t erased = 0xFF;
  TheProtocol->FillBlock(1, 0, 0x40, 1, &erased);
  TFileDialogAnswers files({{QStringLiteral(TARVIK_SAMPLES "/demo.hex"), 2}});
  TInputAnswers answers({"0,0,20H"});
  Popup(form, "ReadBlock");
  EXPECT_EQ(Line(form, 0), "CODE:0000 C3 00 01 FF FF FF FF FF ........");

  QTemporaryDir dir;
  const QString binary = dir.filePath(QStringLiteral("demo.bin"));
  const std::string command = "srec_cat " TARVIK_SAMPLES "/demo.hex -intel -crop 0 0x20 -fill 0xFF 0 0x20 -o " +
                              binary.toStdString() + " -binary 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  QFile file(binary);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray expected = file.readAll();
  std::vector<uint8_t> loaded(0x21);
  TheProtocol->ReadMemory(1, 0, 0x21, loaded.data());
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(loaded.data()), 0x20), expected);
  EXPECT_EQ(loaded[0x20], 0xFF);
  EXPECT_TRUE(Boxes.Messages.empty());
}

// A saved block whose data fit but whose end line does not is reported once
// the busy state has ended, as a record that does not fit is; the data stay.
TEST_F(MemoryWindowTest, SaveBlockReportsAnEndLineTheDiskCannotTake) {
  QTemporaryDir dir;
  const QString whole = dir.filePath(QStringLiteral("whole")), cut = dir.filePath(QStringLiteral("cut"));
  TfrmMemory* form = Open();
  ASSERT_NE(form, nullptr);
  for (int filter : {1, 2, 3}) {  // symbolic, Intel HEX, S-records
    SCOPED_TRACE(filter);
    TInputAnswers answers({"0,0,10H", "0,0,10H"});
    TFileDialogAnswers files({{whole, filter}, {cut, filter}});
    Popup(form, "SaveBlock");
    const std::string expected = Contents(whole);
    ASSERT_FALSE(expected.empty());
    Boxes.Messages.clear();
    TBusyAtBoxes busy(*Form);
    {
      TFileSizeLimit limit(expected.size() - 1);
      Popup(form, "SaveBlock");
    }
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Text, "Cannot write file!");
    EXPECT_EQ(Boxes.Messages[0].Caption, "Error");
    EXPECT_EQ(Boxes.Messages[0].Flags & MB_ICONSTOP, MB_ICONSTOP);
    EXPECT_EQ(busy.Busy, std::vector<bool>{false});
    EXPECT_EQ(Contents(cut), expected.substr(0, expected.size() - 1));
  }
}

// A pipe, a folder or a device is refused before an open could wait on it:
// nothing can be read from one, nor written onto a pipe that nobody reads.
TEST_F(MemoryWindowTest, BlocksOfNoRegularFileAreRefusedAtOnce) {
  TfrmMemory* form = Open();
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"ReadBlock", "pipe", "File not found!Error"},
      {"ReadBlock", "folder", "File not found!Error"},
      {"ReadBlock", "device", "File not found!Error"},
      {"SaveBlock", "pipe", "Cannot create file!Error"},
  };
  for (const auto& [item, kind, message] : cases) {
    SCOPED_TRACE(std::string(item) + " " + kind);
    QTemporaryDir dir;
    TNonRegularFile file(kind, dir.filePath("block.hex").toStdString());
    TFileDialogAnswers files({{QString::fromStdString(file.Path), 2}});
    TInputAnswers answers({"0,0,10H"});
    Boxes.Messages.clear();
    Popup(form, item);
    EXPECT_FALSE(file.Waited());
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Text + Boxes.Messages[0].Caption, message);
  }
}

// Sixteen lines of sixteen bytes in the CPU window's tallest bottom panel.
TEST_F(MemoryWindowTest, TheCpuWindowsDumpFollowsTheTargetAtItsTallest) {
  TfrmCpu* cpu = Cpu();
  ASSERT_NE(cpu, nullptr);
  cpu->showMaximized();
  cpu->pnlCpu->setSizes({1000, 1000});
  ASSERT_EQ(cpu->pnlBottom->height(), 267);
  TDumpInterior* dump = cpu->DumpArea;
  EXPECT_EQ(dump->AddrMode(), TDumpInterior::ADDRx16);
  std::vector<uint8_t> bytes(128);
  for (int i = 0; i < 128; ++i) bytes[i] = static_cast<uint8_t>(0x80 + i);
  TheProtocol->WriteMemory(1, 0x80, 128, bytes.data());
  Popup(dump, "N16Bytes");
  ASSERT_EQ(dump->GetNumLines(), 16);
  SendMessage(Form->Handle(), UM_STOPPED);
  EXPECT_EQ(Line(dump, 15), "CODE:00F0 F0 F1 F2 F3 F4 F5 F6 F7 - F8 F9 FA FB FC FD FE FF ................");
}

// A window manager's close request is no input: it reaches the window at the
// transfer's first event pump, inside the handler, which goes on using the
// window. The window leaves the list at once and is freed after the handler.
TEST_F(MemoryWindowTest, ClosedByItsWindowManagerDuringABlockTransfer) {
  QTemporaryDir dir;
  const QString saved = dir.filePath(QStringLiteral("block.bin"));
  const std::pair<const char*, TFileAnswer> cases[] = {{"ReadBlock", {TARVIK_SAMPLES "/demo.hex", 2}},
                                                       {"SaveBlock", {saved, 4}}};
  for (const auto& [item, file] : cases) {
    SCOPED_TRACE(item);
    const QPointer<TfrmMemory> form = Open();
    ASSERT_TRUE(form);
    const int views = Form->ViewCount();
    TInputAnswers answers({"0,0,20H"});
    TFileDialogAnswers files({file});
    TFileDialogHandler answer;
    answer = SetFileDialogHandler([&](TFileDialogRequest& request) {
      PostWindowManagerClose(*form);
      return answer(request);
    });
    // Inside an event, as the program runs every command.
    QMetaObject::invokeMethod(Form.get(), [&, item = item] {
      Popup(form, item);
      EXPECT_TRUE(form) << "freed under the handler";
    }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    SetFileDialogHandler(std::move(answer));
    EXPECT_FALSE(form);
    EXPECT_EQ(Form->ViewCount(), views - 1);
  }
  std::vector<uint8_t> image(0x20);
  TheProtocol->ReadMemory(1, 0, 0x20, image.data());
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray(reinterpret_cast<const char*>(image.data()), 0x20));
  EXPECT_EQ(image[0], 0xC3);  // the sample's first instruction, loaded
}

}  // namespace
