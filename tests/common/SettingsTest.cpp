#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>
#include <functional>

#include "common/Settings.h"
#include "tests/support/SettingsHome.h"
#include "tests/support/TextFiles.h"

namespace {

const char kHeader[] = "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]\n";

// Each value is written over the one before, so every row also checks that
// a write replaces what was there.
TEST(Settings, ValuesRoundTrip) {
  TTempSettingsHome home;
  for (const int32_t value : {0, -1, INT32_MIN, INT32_MAX}) {
    WriteSettingInt("Options", "V", value);
    EXPECT_EQ(ReadSettingInt("Options", "V", 7), value);
  }
  for (const bool value : {true, false}) {
    WriteSettingBool("Options", "V", value);
    EXPECT_EQ(ReadSettingBool("Options", "V", !value), value);
  }
  for (const std::string value : {"$PGRMO,,2*75", "C:\\\"x\"", "\xE9\xFF\x01", "a\r\nb"}) {
    WriteSettingStr("Options", "V", value);
    EXPECT_EQ(ReadSettingStr("Options", "V", "default"), value);
  }
}

TEST(Settings, FreshHomeReadsDefaultsAndCreatesNothing) {
  TTempSettingsHome home;
  EXPECT_EQ(ReadSettingInt("Options", "ReplaySpeed", 500), 500);
  EXPECT_TRUE(ReadSettingBool("Options", "IgnoreGGA", true));
  EXPECT_EQ(ReadSettingStr("Options", "BaudRate", "4800"), "4800");
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(home.Path() + "/Tolvane")));
}

// Each row is a file written by hand, read afresh (nothing is cached); the
// three readers must fall back to their defaults (7, false, "dflt") or read
// what is meant.
TEST(Settings, ReadersTakeOnlyTheirOwnType) {
  struct {
    const char* Legend;
    std::string Entry;
    int32_t Int;
    bool Bool;
    std::string Str;
  } cases[] = {
      {"text is no integer", "\"V\"=\"4800\"", 7, false, "4800"},
      {"dword is no text", "\"V\"=dword:000012c0", 4800, true, "dflt"},
      {"any non-zero dword is true", "\"V\"=dword:00000002", 2, true, "dflt"},
      {"top bit set is negative", "\"V\"=dword:fffffffb", -5, true, "dflt"},
      {"zero dword is false", "\"V\"=dword:00000000", 0, false, "dflt"},
      {"empty text reads as the default", "\"V\"=\"\"", 7, false, "dflt"},
      {"number too big for a dword", "\"V\"=dword:1000000000", 7, false, "dflt"},
      {"unreadable line", "\"V\"=dword:12 34", 7, false, "dflt"},
      {"expandable text", "\"V\"=hex(2):25,00,00,00", 7, false, "%"},
  };
  TTempSettingsHome home;
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteAll(home.SettingsFile(), kHeader + c.Entry + "\n"));
    EXPECT_EQ(ReadSettingInt("options", "v", 7), c.Int) << c.Legend;
    EXPECT_EQ(ReadSettingBool("options", "v", false), c.Bool) << c.Legend;
    EXPECT_EQ(ReadSettingStr("options", "v", "dflt"), c.Str) << c.Legend;
  }
}

TEST(Settings, AWriteReplacesTheValueWithItsType) {
  TTempSettingsHome home;
  WriteSettingStr("Options", "BaudRate", "9600");
  WriteSettingInt("Options", "BaudRate", 9600);
  EXPECT_EQ(ReadSettingStr("Options", "BaudRate", "4800"), "4800");
  EXPECT_EQ(ReadSettingInt("Options", "BaudRate", 0), 9600);
}

TEST(Settings, HandEditedFileSurvivesAWrite) {
  TTempSettingsHome home;
  const std::string before =
      "Windows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; my receiver at home\r\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Ports]\r\n"
      "\"COM1\" = \"/dev/source/by-id/usb-GPS\"\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]\r\n"
      "   \"ReplaySpeed\"=dword:000001f4\r\n"
      "this line means nothing\r\n"
      "\"IgnoreGGA\"   =   dword:1\r\n";
  ASSERT_TRUE(WriteAll(home.SettingsFile(), before));
  WriteSettingInt("Options", "replayspeed", 250);
  WriteSettingStr("Options", "PPSCommand", "$PX");
  std::string expected = before;
  expected.replace(expected.find("   \"ReplaySpeed\"=dword:000001f4"), 31,
                   "\"ReplaySpeed\"=dword:000000fa");
  expected += "\"PPSCommand\"=\"$PX\"\r\n";
  EXPECT_EQ(ReadAll(home.SettingsFile()), expected);
  EXPECT_EQ(ReadSettingStr("Ports", "COM1", ""), "/dev/source/by-id/usb-GPS");
  EXPECT_TRUE(ReadSettingBool("Options", "IgnoreGGA", false));
}

}  // namespace
