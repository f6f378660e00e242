// File > Open, Reload and Symbol load and the monitor request, inside the real
// main window, with the dialog answered through its hook and the samples.
#include <QAction>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "CodeInterior.h"
#include "Debug.h"
#include "FileDialogAnswers.h"
#include "MainWindowFixture.h"
#include "NonRegularFile.h"
#include "ProgramFolder.h"
#include "Symbols.h"
#include "TargetPokes.h"
#include "Tgtz80.h"
#include "srcCpu.h"
#include "srcPopupMsg.h"

namespace {

constexpr int INTEL = 2, MARDYN = 9;

class LoadWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Form->resize(900, 700);
    Form->show();
    Connect();
  }

  static QString Sample(const char* name) { return QStringLiteral(TARVIK_SAMPLES "/") + name; }
  std::string CodeRow(uint16_t pc) {
    SetPC(pc);
    SendMessage(Form->Handle(), UM_STOPPED, pc, 0);
    auto* code = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"))->CodeArea;
    code->Update();
    return code->Canvas()->GridLine(0).trimmed().toStdString();
  }

  TFileDialogAnswers Files;
};

TEST_F(LoadWindowTest, OpenShowsTheTenFormatsAndLoadsTheObjectFile) {
  ASSERT_TRUE(Form->TLB_Open->isEnabled());
  Files.Answers = {{Sample("demo.abs"), MARDYN}};
  Form->MNU_FileOpen->trigger();
  ASSERT_EQ(Files.Requests.size(), 1u);
  EXPECT_EQ(Files.Requests[0].Title, QStringLiteral("Load file"));
  EXPECT_EQ(Files.Requests[0].FilterIndex, 1);
  EXPECT_TRUE(Files.Requests[0].FileMustExist);
  EXPECT_EQ(QtNameFilters(Files.Requests[0].Filter).size(), 10);
  EXPECT_TRUE(Files.Requests[0].Filter.startsWith(QStringLiteral("IAR Symbolic (*.A?\?)|*.A?\?|Intel HEX & SYM")));
  EXPECT_TRUE(Files.Requests[0].Filter.endsWith(QStringLiteral("Mardyn (*.*)|*.*|Pellis (*.*)|*.*|")));
  EXPECT_TRUE(Boxes.Messages.empty());
  EXPECT_EQ(TheDebug->GetLoadedFile(nullptr, nullptr, nullptr), 1);
  EXPECT_NE(CodeRow(0x020A).find("_add"), std::string::npos);

  // Reload asks nothing and loads the same file again.
  Form->TLB_Reload->trigger();
  EXPECT_EQ(Files.Requests.size(), 1u);
  EXPECT_EQ(TheDebug->GetLoadedFile(nullptr, nullptr, nullptr), 1);
}

TEST_F(LoadWindowTest, ImageWithSymbolsLoadsCodeAndLabels) {
  Files.Answers = {{Sample("demo.hex"), INTEL}};
  Form->TLB_Open->trigger();
  EXPECT_TRUE(Boxes.Messages.empty());
  // The views were refreshed: the open CPU window shows the code without being asked.
  TScroller* code = Form->findChild<TfrmCpu*>(QStringLiteral("frmCpu"))->CodeArea;
  code->Update();
  EXPECT_EQ(code->Canvas()->GridLine(0).trimmed().toStdString().substr(0, 11), "0000:C30001");
  EXPECT_NE(CodeRow(0x023D).find("_main"), std::string::npos);
  EXPECT_FALSE(Form->Busy());

  // Symbol load takes the symbols again (none new) and writes nothing.
  const int symbols = TheSymbols->Count();
  ProtocolScript().Transfers.clear();
  Form->MNU_FileSymbol->trigger();
  EXPECT_EQ(TheSymbols->Count(), symbols);
  for (const TMemoryTransfer& t : ProtocolScript().Transfers) EXPECT_NE(t.Kind, TTransferKind::WriteHex);
}

TEST_F(LoadWindowTest, MissingImageIsForgottenSoReloadAsksAgain) {
  Files.Answers = {{"/nonexistent/demo.hex", INTEL}};
  Form->MNU_FileOpen->trigger();
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "File not found!");
  Form->MNU_FileReload->trigger();
  EXPECT_EQ(Files.Requests.size(), 2u);
  // A cancelled dialog changes nothing.
  EXPECT_EQ(Boxes.Messages.size(), 1u);
}

TEST_F(LoadWindowTest, TheTargetsMonitorRequestDownloadsTheMonitorFile) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("monitor-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "Monitor1.hex") << ":0400000001020304F2\n:00000001FF\n";
  ProgramFolder programFolder(folder.string());
  ProtocolScript().Events[0x05] = {EVENT_RELOAD_MONITOR, ""};
  SendMessage(Form->Handle(), UM_TARGETEVENT, 0x05, 0);
  ASSERT_EQ(ProtocolScript().MonitorBlocks.size(), 1u);
  EXPECT_EQ(ProtocolScript().MonitorBlocks[0].Data, (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_TRUE(ProtocolScript().MonitorEnded);
  EXPECT_FALSE(Form->StatusMessage->isVisible());
  EXPECT_FALSE(Form->Connected());
  EXPECT_TRUE(QuitCodes.empty());
  std::filesystem::remove_all(folder);
}

// A pipe, a folder or a device is refused before an open could wait on it.
TEST_F(LoadWindowTest, WhatIsNoRegularFileIsNotFound) {
  ProtocolScript().Events[0x05] = {EVENT_RELOAD_MONITOR, ""};
  for (const char* kind : NonRegularKinds) {
    QTemporaryDir dir;
    const TNonRegularFile image(kind, dir.filePath("demo.hex").toStdString());
    const TNonRegularFile monitor(kind, dir.filePath("Monitor1.hex").toStdString());
    Boxes.Messages.clear();
    Files.Answers = {{QString::fromStdString(image.Path), INTEL}};
    Form->MNU_FileOpen->trigger();
    ProgramFolder programFolder(dir.path().toStdString());
    SendMessage(Form->Handle(), UM_TARGETEVENT, 0x05, 0);
    ASSERT_EQ(Boxes.Messages.size(), 2u) << kind;
    EXPECT_EQ(Boxes.Messages[0].Text + Boxes.Messages[0].Caption, "File not found!Error");
    EXPECT_EQ(Boxes.Messages[1].Text, "Monitor code-file not found!");
    EXPECT_FALSE(ProtocolScript().MonitorEnded);
  }
  EXPECT_EQ(QuitCodes, std::vector<int>(3, 2));
}

}  // namespace
