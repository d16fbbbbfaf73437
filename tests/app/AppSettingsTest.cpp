// The application's settings object: the values the port reads at every open,
// and a window's place, read as the store holds them at that moment.

#include "app/AppSettings.h"

#include <gtest/gtest.h>

#include "app/KeptPlace.h"
#include "common/Settings.h"
#include "tests/support/SettingsHome.h"

namespace {

TEST(AppSettings, BaudRateIsTheStoredWholeNumberElse4800) {
  const struct {
    const char* Stored;  // nullptr: nothing stored
    int32_t Rate;
  } cases[] = {
      {nullptr, 4800}, {"", 4800},          {"9600 baud", 4800}, {"99999999999", 4800},
      {"fast", 4800},  {"  +19200", 19200}, {"14400", 14400},
  };
  for (const auto& c : cases) {
    TTempSettingsHome home;
    if (c.Stored) WriteSettingStr("Options", "BaudRate", c.Stored);
    EXPECT_EQ(TAppSettings().BaudRate(), c.Rate) << (c.Stored ? c.Stored : "nothing stored");
  }
  TTempSettingsHome home;
  WriteSettingInt("Options", "BaudRate", 9600);
  EXPECT_EQ(TAppSettings().BaudRate(), 4800) << "stored as an integer, not text";
}

TEST(AppSettings, PortDevicePathFromTheEnvironmentTheStoreOrTheTable) {
  TTempSettingsHome home;
  const TAppSettings settings;
  WriteSettingStr("Ports", "COM2", "tcp://127.0.0.1:10110");
  qputenv("TOLVANE_COM3", "/dev/pts/7");
  WriteSettingStr("Ports", "COM3", "/dev/ttyUSB9");
  const struct {
    const char* Legend;
    int Index;
    const char* Path;
  } cases[] = {
      {"the built-in table", 0, "/dev/ttyUSB0"},
      {"the store", 1, "tcp://127.0.0.1:10110"},
      {"the environment before the store", 2, "/dev/pts/7"},
      {"the last slot", 7, "/dev/ttyS3"},
      {"below the slots", -1, ""},
      {"above the slots", 8, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(settings.PortDevicePath(c.Index), c.Path) << c.Legend;
  qunsetenv("TOLVANE_COM3");
}

TEST(AppSettings, PortChoicesComeBackAsWrittenWithTheEnvironmentBeside) {
  TTempSettingsHome home;
  TAppSettings settings;
  TPortChoices written;
  written[0].Device = "/dev/serial/by-id/usb-GNSS-if00";
  written[0].BaudRate = "230400";
  written[6].Device = "gpsd://localhost";
  settings.StorePortChoices(written);
  qputenv("TOLVANE_COM7", "/dev/pts/3");
  const TPortChoices read = settings.PortChoices();
  qunsetenv("TOLVANE_COM7");
  EXPECT_EQ(read[0].Device, written[0].Device);
  EXPECT_EQ(read[0].BaudRate, "230400");
  EXPECT_EQ(read[1].DefaultPath, "/dev/ttyUSB1") << "nothing stored: the table's path beside";
  EXPECT_EQ(read[6].Device, "gpsd://localhost") << "kept under the environment";
  EXPECT_EQ(read[6].Environment, "/dev/pts/3");
  EXPECT_EQ(ReadSettingStr("Ports", "com1baudrate", ""), "230400") << "section \"Ports\", any case";
}

TEST(AppSettings, WindowPlaceTakesOnlyWhatIsWhole) {
  TTempSettingsHome home;
  TAppSettings settings;
  EXPECT_FALSE(settings.WindowPlace("Charts").Position) << "nothing stored";
  settings.StoreWindowPlace("Charts", QPoint(-1, -1), QSize(300, 200));
  EXPECT_EQ(settings.WindowPlace("Charts").Position, QPoint(-1, -1)) << "-1 is a place too";
  EXPECT_EQ(settings.WindowPlace("Charts").Size, QSize(300, 200));
  WriteSettingInt("Windows", "ChartsHeight", 0);
  WriteSettingStr("Windows", "ChartsTop", "12");
  EXPECT_FALSE(settings.WindowPlace("Charts").Size) << "a size of 0";
  EXPECT_FALSE(settings.WindowPlace("Charts").Position) << "a top stored as text";
}

// A window's place brought onto the screen (0,0 800x600), as restoreGeometry
// brings it.
TEST(KeptPlace, OntoScreen) {
  const QRect screen(0, 0, 800, 600);
  const struct {
    const char* Legend;
    QRect Stored;
    QRect Restored;
  } cases[] = {
      {"inside", {40, 30, 640, 400}, {40, 30, 640, 400}},
      {"off to the left", {-20000, 30, 640, 400}, {1, 30, 640, 400}},
      {"off to the right", {700, 30, 640, 400}, {159, 30, 640, 400}},
      {"below the bottom", {40, 500, 640, 400}, {40, 199, 640, 400}},
      {"above the top", {40, -50, 640, 400}, {40, 1, 640, 400}},
      {"larger than the screen", {0, 0, 2000, 1000}, {1, 1, 798, 598}},
  };
  for (const auto& c : cases) EXPECT_EQ(OntoScreen(c.Stored, screen), c.Restored) << c.Legend;
}

// The first place of a window beside the main window (frame 200,100 400x300)
// on a screen of the given width, 700 high.
TEST(KeptPlace, BesideFrame) {
  const QRect owner(200, 100, 400, 300);
  auto placed = [&](int screenWidth, QSize size) {
    return BesideFrame(owner, size, QRect(0, 0, screenWidth, 700));
  };
  EXPECT_EQ(placed(1200, {300, 200}), QRect(608, 100, 300, 200)) << "room on the right";
  EXPECT_EQ(placed(700, {180, 200}), QRect(12, 100, 180, 200)) << "no room right: on the left";
  EXPECT_EQ(placed(900, {500, 200}), QRect(399, 100, 500, 200))
      << "room on neither side: against the roomier edge";
  EXPECT_EQ(placed(1200, {300, 650}), QRect(608, 49, 300, 650))
      << "taller than the room below: moved up";
}

}  // namespace
