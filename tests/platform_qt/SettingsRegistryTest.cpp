#include <gtest/gtest.h>

#include <QSettings>
#include <QWidget>

#include <cstdint>
#include <cstring>

#include "GuiTestApplication.h"
#include "SettingsRegistry.h"

namespace {

class SettingsRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings(QStringLiteral("Ostrel"), QStringLiteral("Corvane")).clear();
  }
  TSettingsRegistry Store;
};

TEST_F(SettingsRegistryTest, ValueNamesMatchWithoutRegardToCase) {
  const std::uint8_t written[4] = {1, 2, 3, 4};
  ASSERT_TRUE(Store.WriteBinary(RegistryKey, "Registers", written, sizeof written));
  std::uint8_t read[4] = {};
  EXPECT_TRUE(Store.ReadBinary(RegistryKey, "registers", read, sizeof read));
  EXPECT_EQ(std::memcmp(read, written, sizeof read), 0);
  EXPECT_TRUE(Store.ValueExists(RegistryKey, "REGISTERS"));

  // Writing under another spelling replaces the value instead of adding one.
  const std::uint8_t again[4] = {9, 9, 9, 9};
  ASSERT_TRUE(Store.WriteBinary(RegistryKey, "SREGISTERS", again, sizeof again));
  ASSERT_TRUE(Store.WriteBinary(RegistryKey, "rEgIsTeRs", again, sizeof again));
  QSettings settings(QStringLiteral("Ostrel"), QStringLiteral("Corvane"));
  settings.beginGroup(QStringLiteral("SOFTWARE/Ostrel/Corvane"));
  EXPECT_EQ(settings.childKeys(), QStringList({QStringLiteral("Registers"), QStringLiteral("SREGISTERS")}));
  EXPECT_TRUE(Store.ReadBinary(RegistryKey, "Registers", read, sizeof read));
  EXPECT_EQ(read[0], 9);
}

TEST_F(SettingsRegistryTest, MissingValueOrOtherSizeIsNotRead) {
  std::uint8_t buffer[16];
  std::memset(buffer, 0xAA, sizeof buffer);
  EXPECT_FALSE(Store.ReadBinary(RegistryKey, "Cpu", buffer, 20 > sizeof buffer ? sizeof buffer : 20));
  EXPECT_FALSE(Store.ValueExists(RegistryKey, "Cpu"));
  const std::uint8_t twenty[20] = {};
  ASSERT_TRUE(Store.WriteBinary(RegistryKey, "Registers", twenty, sizeof twenty));
  EXPECT_FALSE(Store.ReadBinary(RegistryKey, "Registers", buffer, sizeof buffer));
  EXPECT_EQ(buffer[0], 0xAA);
  // Another key keeps its own values.
  EXPECT_FALSE(Store.ValueExists("SOFTWARE\\Ostrel\\Other", "Registers"));
}

TEST_F(SettingsRegistryTest, WindowGeometrySurvivesARunAsSixteenLittleEndianBytes) {
  QWidget window;
  window.setGeometry(-20, 35, 300, 200);
  const TWindowRect saved{window.x(), window.y(), window.width(), window.height()};
  ASSERT_TRUE(WriteWindowRect("Watches", saved));

  std::uint8_t raw[16];
  ASSERT_TRUE(Registry().ReadBinary(RegistryKey, "watches", raw, sizeof raw));
  const std::uint8_t expected[16] = {0xEC, 0xFF, 0xFF, 0xFF, 35, 0, 0, 0, 0x2C, 1, 0, 0, 200, 0, 0, 0};
  EXPECT_EQ(std::memcmp(raw, expected, sizeof raw), 0);

  TWindowRect restored;
  ASSERT_TRUE(ReadWindowRect("WATCHES", restored));
  QWidget reopened;
  reopened.setGeometry(restored.Left, restored.Top, restored.Width, restored.Height);
  EXPECT_EQ(reopened.geometry(), QRect(-20, 35, 300, 200));
}

class MemoryStore : public TRegistryStore {
 public:
  int Reads = 0;
  bool ReadBinary(const std::string&, const std::string&, void*, std::size_t) override { return ++Reads, false; }
  bool WriteBinary(const std::string&, const std::string&, const void*, std::size_t) override { return true; }
  bool ValueExists(const std::string&, const std::string&) override { return false; }
};

TEST_F(SettingsRegistryTest, AnInstalledStoreTakesThePlaceOfTheProgramsOwn) {
  MemoryStore store;
  SetRegistry(&store);
  TWindowRect rect;
  EXPECT_FALSE(ReadWindowRect("Trace", rect));
  EXPECT_EQ(store.Reads, 1);
  SetRegistry(nullptr);
  EXPECT_EQ(&Registry() == &store, false);
}

}  // namespace
