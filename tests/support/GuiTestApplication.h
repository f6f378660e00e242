#pragma once
// One QApplication for every test of a GUI test program, made before the
// first test. Window geometry goes to a settings folder of its own, never the
// user's.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "Application.h"

class GuiTestApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "tarvik-tests";
    static char* argv[] = {name, nullptr};
    // Headless unless the caller chose a platform (ctest may not pass it on).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    Application = new TApplication(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsDir.path());
  }
  void TearDown() override {
    delete Application;
    Application = nullptr;
  }

 private:
  QApplication* Application = nullptr;
  QTemporaryDir SettingsDir;
};

inline ::testing::Environment* const GuiTestApplicationInstance =
    ::testing::AddGlobalTestEnvironment(new GuiTestApplication);
