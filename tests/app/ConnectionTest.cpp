#include <QAction>
#include <QMenu>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "MainWindowFixture.h"
#include "ProgramFolder.h"

namespace {

TEST_F(MainWindowTest, FirstPollComesOnlyAfterFiveHundredMilliseconds) {
  IdleAfter(500);
  EXPECT_EQ(ProtocolScript().PollCount, 0);
  EXPECT_FALSE(Form->Connected());
  IdleAfter(1);
  EXPECT_EQ(ProtocolScript().PollCount, 1);
  EXPECT_TRUE(Form->Connected());
}

TEST_F(MainWindowTest, FirstAnswerEnablesTheWindowAndResetsTheViews) {
  Form->RegisterView(new FakeView(&Log, "a", Form.get()));
  Connect();
  EXPECT_TRUE(Form->isEnabled());
  EXPECT_EQ(Form->StatusText(), QString());
  EXPECT_EQ(Form->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(Log, std::vector<std::string>({Entry("a", UM_TARGETRESET, 0)}));
  EXPECT_TRUE(Boxes.Messages.empty());
  EXPECT_TRUE(QuitCodes.empty());
  // The set-up waited 100 ms and the next poll is due 500 ms after it.
  IdleAfter(500);
  EXPECT_EQ(ProtocolScript().PollCount, 1);
  IdleAfter(1);
  EXPECT_EQ(ProtocolScript().PollCount, 2);
  EXPECT_EQ(Log.size(), 1u);
}

TEST_F(MainWindowTest, ConnectionOpensTheCpuWindowWhenThereIsOne) {
  Form->SetViewFactory(TViewKind::Cpu, Factory("cpu"));
  Connect();
  EXPECT_TRUE(Form->TLB_ViewCpu->isChecked());
  ASSERT_EQ(Form->ViewCount(), 1);
  EXPECT_EQ(Log, std::vector<std::string>({Entry("cpu", UM_TARGETRESET, 0)}));
}

class UnansweredPolls : public MainWindowTest {
  void Prepare() override { ProtocolScript().PollResults = {0, 0x1234}; }
};

TEST_F(UnansweredPolls, KeepTheWindowDisabledAndPollingEveryFiveHundredMilliseconds) {
  Connect();
  EXPECT_FALSE(Form->isEnabled());
  EXPECT_EQ(Form->StatusText(), QStringLiteral("WAIT...."));
  IdleAfter(400);
  EXPECT_EQ(ProtocolScript().PollCount, 1);
  IdleAfter(101);
  EXPECT_EQ(ProtocolScript().PollCount, 2);
  EXPECT_FALSE(Form->Connected());
  IdleAfter(501);
  EXPECT_TRUE(Form->Connected());
  EXPECT_EQ(ProtocolScript().PollCount, 3);
}

class OldFirmware : public MainWindowTest {
  void Prepare() override { ProtocolScript().FirmwareVersion = std::string("\x03" "99", 3); }
};

TEST_F(OldFirmware, IsFatalButTheSetUpRunsToItsEnd) {
  Connect();
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "Incompatible firmware version !");
  EXPECT_EQ(Boxes.Messages[0].Caption, "FATAL ERROR");
  EXPECT_EQ(Boxes.Messages[0].Flags, unsigned(MB_OK | MB_ICONSTOP));
  // The program ends with a failure code, not as a success.
  EXPECT_EQ(QuitCodes, std::vector<int>({1}));
  EXPECT_TRUE(Form->Connected());
  EXPECT_TRUE(Form->isEnabled());
}

struct FirmwareCase {
  const char* Version;
  bool Fatal;
};

class FirmwareVersions : public MainWindowTest, public ::testing::WithParamInterface<FirmwareCase> {
  void Prepare() override { ProtocolScript().FirmwareVersion = std::string(GetParam().Version, 3); }
};

TEST_P(FirmwareVersions, FirstByteBelowFourIsRefused) {
  Connect();
  EXPECT_EQ(Boxes.Messages.size(), GetParam().Fatal ? 1u : 0u);
  EXPECT_EQ(QuitCodes.size(), GetParam().Fatal ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, FirmwareVersions,
                         ::testing::Values(FirmwareCase{"400", false}, FirmwareCase{"\x04" "00", false},
                                           FirmwareCase{"\x00" "00", true}, FirmwareCase{"\x03" "00", true},
                                           FirmwareCase{"\xff" "00", false}));

TEST_F(MainWindowTest, TargetWithoutOptionalFeaturesDisablesTheirCommands) {
  Form->SetViewFactory(TViewKind::Trace, Factory("trace"));
  EXPECT_TRUE(Form->TLB_ViewTrace->isEnabled());
  Connect();
  EXPECT_FALSE(Form->TLB_ViewTrace->isEnabled());
  EXPECT_FALSE(Form->MNU_ViewTrace->isEnabled());
  EXPECT_FALSE(Form->MNU_ConfigureMemory->menuAction()->isEnabled());
  EXPECT_TRUE(Form->MNU_ConfigureMemory->actions().isEmpty());
  // A window unit that sets its factory only now does not switch it on.
  Form->SetViewFactory(TViewKind::Trace, Factory("trace"));
  EXPECT_FALSE(Form->TLB_ViewTrace->isEnabled());
  EXPECT_FALSE(Form->MNU_ViewTrace->isEnabled());
  // Also after a long operation the trace stays off.
  SendBeginBusy("Loading");
  SendMessage(Form->Handle(), UM_ENDBUSY);
  EXPECT_FALSE(Form->TLB_ViewTrace->isEnabled());
}

class TargetWithAreasAndTrace : public MainWindowTest {
  void Prepare() override {
    const char areas[] = "\x10\x00" "CO~DE|program\0ROM\0RAM\0\x01\x00" "DATA\0A\0B\0\x02\x01";
    ProtocolScript().Areas.assign(areas, areas + sizeof areas);  // the final NUL ends the table
    ProtocolScript().Trace = {1, 2, 3};
  }
};

TEST_F(TargetWithAreasAndTrace, MemoryAreasBecomeSubItemsOnce) {
  Form->SetViewFactory(TViewKind::Trace, Factory("trace"));
  Connect();
  EXPECT_TRUE(Form->TLB_ViewTrace->isEnabled());
  EXPECT_TRUE(Form->MNU_ConfigureMemory->menuAction()->isEnabled());
  EXPECT_EQ(Form->MNU_ConfigureMemory->menuAction()->data().toInt(), -1);
  auto check = [this] {
    const QList<QAction*> items = Form->MNU_ConfigureMemory->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), QStringLiteral("CODE"));
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("MNU_ConfigureMemory_0"));
    EXPECT_EQ(items[0]->data().toInt(), 0);
    EXPECT_EQ(items[1]->text(), QStringLiteral("DATA"));
    EXPECT_EQ(items[1]->objectName(), QStringLiteral("MNU_ConfigureMemory_1"));
    EXPECT_EQ(items[1]->data().toInt(), 1);
  };
  check();

  // A monitor reload makes the next answer set the connection up again.
  ProtocolScript().Events[0x22] = {5, ""};
  SendMessage(Form->Handle(), UM_TARGETEVENT, 0x22, 0);
  EXPECT_FALSE(Form->Connected());
  IdleAfter(501);
  EXPECT_TRUE(Form->Connected());
  check();
}

TEST_F(MainWindowTest, MonitorReloadRepeatsTheSetUpWithTheFirmwareCheck) {
  // The reload downloads the monitor file from the program's folder.
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("reload-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "Monitor1.hex") << ":0100000000FF\n";
  ProgramFolder programFolder(folder.string());
  Connect();
  ProtocolScript().Events[0x05] = {5, "Monitor lost"};
  SendMessage(Form->Handle(), UM_TARGETEVENT, 0x05, 0);
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(Boxes.Messages[0].Text, "Monitor lost");
  EXPECT_EQ(Boxes.Messages[0].Caption, "WARNING");
  EXPECT_FALSE(Form->Connected());
  ProtocolScript().FirmwareVersion = std::string("\x02" "00", 3);
  IdleAfter(501);
  EXPECT_TRUE(Form->Connected());
  ASSERT_EQ(Boxes.Messages.size(), 2u);
  EXPECT_EQ(Boxes.Messages[1].Text, "Incompatible firmware version !");
  EXPECT_TRUE(ProtocolScript().MonitorEnded);
  std::filesystem::remove_all(folder);
}

struct EventCase {
  std::uint8_t Action;
  const char* Text;
  unsigned Broadcast;  // 0: none
};

class TargetEvents : public MainWindowTest, public ::testing::WithParamInterface<EventCase> {};

TEST_P(TargetEvents, ShowTheirWarningAndTellTheViews) {
  Connect();
  Form->RegisterView(new FakeView(&Log, "v", Form.get()));
  ProtocolScript().Events[0x40] = {GetParam().Action, GetParam().Text};
  SendMessage(Form->Handle(), UM_TARGETEVENT, 0x40, 77);
  EXPECT_EQ(Boxes.Messages.size(), GetParam().Text[0] ? 1u : 0u);
  if (GetParam().Broadcast)
    EXPECT_EQ(Log, std::vector<std::string>({Entry("v", GetParam().Broadcast, 77)}));
  else
    EXPECT_TRUE(Log.empty());
  EXPECT_TRUE(Form->Connected());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, TargetEvents,
                         ::testing::Values(EventCase{2, "", UM_TARGETRESET}, EventCase{3, "Refreshed", UM_REFRESH},
                                           EventCase{4, "", UM_REFRESH}, EventCase{6, "Stopped", UM_STOPPED},
                                           EventCase{9, "Odd", 0}, EventCase{0, "Just a warning", 0}));

struct UnknownCase {
  WPARAM Code;
  const char* Text;
};

TEST_F(MainWindowTest, UnknownTargetEventShowsItsCode) {
  const UnknownCase cases[] = {{0x1A, "Unknown warning code : 001A"},
                               {0xBEEF, "Unknown warning code : BEEF"},
                               {0x12345, "Unknown warning code : 12345"}};
  for (const UnknownCase& c : cases) {
    Boxes.Messages.clear();
    SendMessage(Form->Handle(), UM_TARGETEVENT, c.Code, 0);
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Text, c.Text);
    EXPECT_EQ(Boxes.Messages[0].Caption, "WARNING");
    EXPECT_EQ(Boxes.Messages[0].Flags, unsigned(MB_OK | MB_ICONWARNING));
  }
}

TEST_F(MainWindowTest, QuitFromTheTargetEndsTheProgramNormallyAtTheNextIdle) {
  Connect();
  SendMessage(Form->Handle(), UM_QUIT);
  EXPECT_TRUE(QuitCodes.empty());
  Form->AppIdle();
  EXPECT_EQ(QuitCodes, std::vector<int>({0}));
}

}  // namespace
