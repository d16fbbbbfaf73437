// The General options dialog on its own, and its values in the store. What
// closing it saves and reopens is the main window's part (tests/app).

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <iterator>
#include <optional>

#include "common/Settings.h"
#include "options/GeneralOptionsDialog.h"
#include "tests/support/FindControl.h"
#include "tests/support/SettingsHome.h"
#include "tests/support/UserInput.h"

namespace {

const char* const kCheckBoxes[] = {"IgnoreInvalid",   "IgnoreGGA", "IgnoreRMC",
                                   "IgnoreGSV",       "IgnoreGSA", "ShowBinaryFrames",
                                   "RecordTimestamps"};

// The dialog, with what it last handed on and how it was closed.
class GeneralOptionsTest : public ::testing::Test {
 protected:
  GeneralOptionsTest() {
    QObject::connect(&Form, &TGeneralOptionsDialog::optionsChanged,
                     [this](const TGeneralOptions& options) { Handed = options; });
    QObject::connect(&Form, &QDialog::finished, [this](int) { HandedWhenFinished = Handed; });
  }

  TTempSettingsHome Home;
  TGeneralOptionsDialog Form;
  TGeneralOptions Handed;
  std::optional<TGeneralOptions> HandedWhenFinished;
};

TEST_F(GeneralOptionsTest, NoStoredSettingsGiveTheDefaults) {
  Form.SetOptions(StoredGeneralOptions());
  EXPECT_EQ(Control<QComboBox>(Form, "BaudRate")->currentText(), "4800");
  EXPECT_EQ(Handed, TGeneralOptions{}) << "nothing ignored, relative stamps, no PPS command";
  EXPECT_TRUE(Control<QRadioButton>(Form, "RelativeTimestamp")->isChecked());
}

TEST_F(GeneralOptionsTest, StoredValuesOutsideTheChoicesLoadAsSpecified) {
  const struct {
    const char* Legend;
    const char* BaudRate;
    int TimestampFormat;
    int ExpectedBaudIndex;
    int ExpectedFormat;
  } cases[] = {
      {"listed rate, local time", "115200", 1, 6, 1},
      {"rate written by hand: no selection", "1234", 0, -1, 0},
      {"rate with a space: no selection", "9600 ", 0, -1, 0},
      {"format above the last item selects it", "9600", 7, 2, 1},
      {"format -1 selects nothing", "9600", -1, 2, -1},
      {"format below -1 selects nothing", "9600", -5, 2, -1},
  };
  for (const auto& c : cases) {
    WriteSettingStr("Options", "BaudRate", c.BaudRate);
    WriteSettingInt("Options", "TimestampFormat", c.TimestampFormat);
    Form.SetOptions(StoredGeneralOptions());
    EXPECT_EQ(Control<QComboBox>(Form, "BaudRate")->currentIndex(), c.ExpectedBaudIndex)
        << c.Legend;
    EXPECT_EQ(Handed.BaudRate, c.ExpectedBaudIndex < 0 ? "" : c.BaudRate) << c.Legend;
    EXPECT_EQ(Handed.Monitor.TimestampFormat, c.ExpectedFormat) << c.Legend;
  }
}

TEST_F(GeneralOptionsTest, EveryControlChangeIsHandedOnAtOnce) {
  TGeneralOptions given;
  given.Monitor.IgnoreGSV = true;
  given.Monitor.PPSCommand = "$PGRMO,GPRMC,1";
  Form.SetOptions(given);
  EXPECT_EQ(Handed, given);
  Control<QCheckBox>(Form, "IgnoreGGA")->setChecked(true);
  EXPECT_TRUE(Handed.Monitor.IgnoreGGA);
  Control<QRadioButton>(Form, "LocalPCTime")->setChecked(true);
  EXPECT_EQ(Handed.Monitor.TimestampFormat, 1);
  Control<QLineEdit>(Form, "PPSCommand")->setText("X");
  EXPECT_EQ(Handed.Monitor.PPSCommand, "X");
  Control<QComboBox>(Form, "BaudRate")->setCurrentIndex(4);
  EXPECT_EQ(Handed.BaudRate, "38400");
  EXPECT_TRUE(Handed.Monitor.IgnoreGSV) << "what was not touched stays";
}

TEST_F(GeneralOptionsTest, EveryWayOfClosingHandsOnEveryValueBeforeItFinishes) {
  const struct {
    const char* Legend;
    std::function<void(TGeneralOptionsDialog&)> Close;
  } cases[] = {
      {"OK button", [](auto& f) { Control<QPushButton>(f, "OKButton")->click(); }},
      {"Enter in the PPS field",
       [](auto& f) { PressKey(Control<QLineEdit>(f, "PPSCommand"), Qt::Key_Return); }},
      {"Esc", [](auto& f) { PressKey(&f, Qt::Key_Escape); }},
      {"close box", [](auto& f) { f.close(); }},
  };
  int round = 0;
  for (const auto& c : cases) {
    const bool odd = ++round % 2 == 1;
    HandedWhenFinished.reset();
    Form.show();
    Control<QComboBox>(Form, "BaudRate")->setCurrentIndex(odd ? 2 : 5);
    for (const char* name : kCheckBoxes) Control<QCheckBox>(Form, name)->setChecked(odd);
    Control<QRadioButton>(Form, odd ? "LocalPCTime" : "RelativeTimestamp")->setChecked(true);
    Control<QLineEdit>(Form, "PPSCommand")->setText(odd ? "PPS odd" : "PPS even");
    c.Close(Form);
    EXPECT_FALSE(Form.isVisible()) << c.Legend;
    ASSERT_TRUE(HandedWhenFinished) << c.Legend;
    const TMonitorOptions& monitor = HandedWhenFinished->Monitor;
    EXPECT_EQ(HandedWhenFinished->BaudRate, odd ? "9600" : "57600") << c.Legend;
    for (const TBoolOption& option : kBoolOptions)
      EXPECT_EQ(monitor.*option.Member, odd) << c.Legend << " " << option.Name;
    EXPECT_EQ(monitor.TimestampFormat, odd ? 1 : 0) << c.Legend;
    EXPECT_EQ(monitor.PPSCommand, odd ? "PPS odd" : "PPS even") << c.Legend;
  }
}

TEST(GeneralOptionsStore, ValuesReadBackAsWritten) {
  const struct {
    const char* Legend;
    TGeneralOptions Written;
    TGeneralOptions Read;
  } cases[] = {
      {"every value set",
       {{true, false, true, false, true, false, true, 1, "PPS"}, "57600"},
       {{true, false, true, false, true, false, true, 1, "PPS"}, "57600"}},
      // An empty rate reads as the default, so the next showing offers 4800.
      {"no rate and no stamp form",
       {{false, false, false, false, false, true, false, -1, ""}, ""},
       {{false, false, false, false, false, true, false, -1, ""}, "4800"}},
  };
  for (const auto& c : cases) {
    TTempSettingsHome home;
    StoreGeneralOptions(c.Written);
    EXPECT_EQ(StoredGeneralOptions(), c.Read) << c.Legend;
  }
}

}  // namespace
