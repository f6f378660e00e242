#pragma once
// The engine on the scripted target, with the clock, the main window's
// messages, the H key and message boxes in the test's hands, and a scratch
// folder for the files a test writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "KeyState.h"
#include "MainFormMessages.h"
#include "MessageBoxRecorder.h"
#include "ScriptedProtocol.h"
#include "TickCount.h"

class LoadingTest : public EngineFixture {
 protected:
  void SetUp() override {
    ProtocolScript() = {};
    EngineFixture::SetUp();
    Folder = std::filesystem::temp_directory_path() /
             ("loading-" + std::to_string(getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Folder);
    UseTestClock(true, 1000);
    PreviousMainForm = SetMainFormHandler([this](unsigned msg, WPARAM, LPARAM text) -> LRESULT {
      Busy.push_back(msg == UM_ENDBUSY ? std::string("end") : MessageText(text));
      return 0;
    });
    PreviousKeys = SetKeyStateHandler([this](int vk) -> short {
      if (vk != VkKeyScan('h')) return 0;
      return ++KeyLooks == PressAtLook ? 0x0001 : 0;
    });
    PreviousQuit = SetQuitHandler([this](int code) { QuitCodes.push_back(code); });
  }
  void TearDown() override {
    SetQuitHandler(std::move(PreviousQuit));
    SetKeyStateHandler(std::move(PreviousKeys));
    SetMainFormHandler(std::move(PreviousMainForm));
    UseTestClock(false);
    std::filesystem::remove_all(Folder);
    EngineFixture::TearDown();
  }

  std::string Write(const char* name, const std::string& text) const {
    const std::string path = (Folder / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  std::filesystem::path Folder;
  TMessageBoxRecorder Boxes;
  std::vector<std::string> Busy;  // texts of the busy messages, "end" for UM_ENDBUSY
  std::vector<int> QuitCodes;
  int KeyLooks = 0;
  int PressAtLook = -1;  // the look at the H key that finds it pressed (the first clears it)

 private:
  TMainFormHandler PreviousMainForm;
  TKeyStateHandler PreviousKeys;
  TQuitHandler PreviousQuit;
};
