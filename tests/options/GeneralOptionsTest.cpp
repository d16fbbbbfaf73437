#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <functional>
#include <memory>

#include "common/Settings.h"
#include "options/GeneralOptionsFrm.h"
#include "source/Serial.h"
#include "tests/support/ScriptedSerialDevice.h"
#include "tests/support/SettingsHome.h"

namespace {

template <typename T>
T* Control(QWidget& form, const char* name) {
  T* control = form.findChild<T*>(name);
  EXPECT_NE(control, nullptr) << name;
  return control;
}

std::string Stored(const char* name) {
  return ReadSettingStr("Options", name, "<none>");
}

class GeneralOptionsTest : public ::testing::Test {
 protected:
  std::unique_ptr<TGeneralOptionsForm> MakeForm(TSerial* port = nullptr) {
    auto form = std::make_unique<TGeneralOptionsForm>([port] { return port; });
    form->show();
    return form;
  }
  std::unique_ptr<TSerial> OpenScriptedPort() {
    auto port = std::make_unique<TSerial>([] { return 0; }, TScriptedSerialDevice::Factory(Script));
    port->Open();
    Script->Calls.clear();
    return port;
  }
  int CallCount(const std::string& call) const {
    return static_cast<int>(std::count(Script->Calls.begin(), Script->Calls.end(), call));
  }

  TTempSettingsHome Home;
  std::shared_ptr<TSerialScript> Script = std::make_shared<TSerialScript>();
};

TEST_F(GeneralOptionsTest, NoStoredSettingsGiveTheDefaults) {
  auto form = MakeForm();
  EXPECT_EQ(Control<QComboBox>(*form, "BaudRate")->currentText(), "4800");
  EXPECT_FALSE(form->Options().IgnoreInvalid || form->Options().IgnoreGGA ||
               form->Options().IgnoreRMC || form->Options().IgnoreGSV ||
               form->Options().IgnoreGSA || form->Options().RecordTimestamps);
  EXPECT_EQ(form->Options().TimestampFormat, 0);
  EXPECT_TRUE(Control<QRadioButton>(*form, "RelativeTimestamp")->isChecked());
  EXPECT_EQ(form->Options().PPSCommand, "");
}

struct LoadCase {
  const char* Legend;
  const char* BaudRate;
  int TimestampFormat;
  int ExpectedBaudIndex;
  int ExpectedFormat;
};

TEST_F(GeneralOptionsTest, StoredValuesOutsideTheChoicesLoadAsSpecified) {
  const LoadCase cases[] = {
      {"listed rate, local time", "115200", 1, 6, 1},
      {"rate written by hand: no selection", "1234", 0, -1, 0},
      {"rate with a space: no selection", "9600 ", 0, -1, 0},
      {"format above the last item selects it", "9600", 7, 2, 1},
      {"format -1 selects nothing", "9600", -1, 2, -1},
      {"format below -1 selects nothing", "9600", -5, 2, -1},
  };
  for (const LoadCase& c : cases) {
    WriteSettingStr("Options", "BaudRate", c.BaudRate);
    WriteSettingInt("Options", "TimestampFormat", c.TimestampFormat);
    TGeneralOptionsForm form(nullptr);
    EXPECT_EQ(Control<QComboBox>(form, "BaudRate")->currentIndex(), c.ExpectedBaudIndex)
        << c.Legend;
    EXPECT_EQ(form.Options().TimestampFormat, c.ExpectedFormat) << c.Legend;
  }
}

TEST_F(GeneralOptionsTest, ControlsAreTheLiveValues) {
  WriteSettingBool("Options", "IgnoreGSV", true);
  WriteSettingStr("Options", "PPSCommand", "$PGRMO,GPRMC,1");
  auto form = MakeForm();
  EXPECT_TRUE(form->Options().IgnoreGSV);
  EXPECT_EQ(form->Options().PPSCommand, "$PGRMO,GPRMC,1");
  Control<QCheckBox>(*form, "IgnoreGGA")->setChecked(true);
  Control<QRadioButton>(*form, "LocalPCTime")->setChecked(true);
  EXPECT_TRUE(form->Options().IgnoreGGA) << "read before the dialog closes";
  EXPECT_EQ(form->Options().TimestampFormat, 1);
}

struct CloseCase {
  const char* Legend;
  std::function<void(TGeneralOptionsForm&)> Close;
};

void PressKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

TEST_F(GeneralOptionsTest, EveryWayOfClosingSavesEveryValue) {
  const CloseCase cases[] = {
      {"OK button", [](auto& f) { Control<QPushButton>(f, "OKButton")->click(); }},
      {"Enter in the PPS field",
       [](auto& f) { PressKey(Control<QLineEdit>(f, "PPSCommand"), Qt::Key_Return); }},
      {"Esc", [](auto& f) { PressKey(&f, Qt::Key_Escape); }},
      {"close box", [](auto& f) { f.close(); }},
  };
  int round = 0;
  for (const CloseCase& c : cases) {
    bool odd = ++round % 2 == 1;
    auto form = MakeForm();
    Control<QComboBox>(*form, "BaudRate")->setCurrentIndex(odd ? 2 : 5);
    for (const char* name : {"IgnoreInvalid", "IgnoreGGA", "IgnoreRMC", "IgnoreGSV", "IgnoreGSA",
                             "RecordTimestamps"}) {
      Control<QCheckBox>(*form, name)->setChecked(odd);
    }
    Control<QRadioButton>(*form, odd ? "LocalPCTime" : "RelativeTimestamp")->setChecked(true);
    Control<QLineEdit>(*form, "PPSCommand")->setText(odd ? "PPS odd" : "PPS even");
    c.Close(*form);
    EXPECT_FALSE(form->isVisible()) << c.Legend;
    EXPECT_EQ(Stored("BaudRate"), odd ? "9600" : "57600") << c.Legend;
    for (const char* name : {"IgnoreInvalid", "IgnoreGGA", "IgnoreRMC", "IgnoreGSV", "IgnoreGSA",
                             "RecordTimestamps"}) {
      EXPECT_EQ(ReadSettingBool("Options", name, !odd), odd) << c.Legend << " " << name;
    }
    EXPECT_EQ(ReadSettingInt("Options", "TimestampFormat", 9), odd ? 1 : 0) << c.Legend;
    EXPECT_EQ(Stored("PPSCommand"), odd ? "PPS odd" : "PPS even") << c.Legend;
  }
}

TEST_F(GeneralOptionsTest, NoSelectionIsSavedAsEmptyRateAndMinusOne) {
  WriteSettingStr("Options", "BaudRate", "1234");
  WriteSettingInt("Options", "TimestampFormat", -5);
  auto form = MakeForm();
  form->accept();
  EXPECT_EQ(ReadSettingInt("Options", "TimestampFormat", 9), -1);
  // An empty rate reads as the default, so the next showing offers 4800.
  EXPECT_EQ(ReadSettingStr("Options", "BaudRate", "default"), "default");
  TGeneralOptionsForm next(nullptr);
  EXPECT_EQ(Control<QComboBox>(next, "BaudRate")->currentText(), "4800");
}

struct ReopenCase {
  const char* Legend;
  bool PortExists;
  bool PortOpen;
  int BaudIndex;
  int ExpectedCloses;
  int32_t ExpectedRate;  // 0: not reopened
};

TEST_F(GeneralOptionsTest, ClosingReopensAnOpenPortAtTheSavedRate) {
  const ReopenCase cases[] = {
      {"open port, new rate", true, true, 4, 1, 38400},
      {"open port, no rate selected", true, true, -1, 1, 4800},
      {"port closed: nothing opened", true, false, 4, 0, 0},
      {"no port at all", false, false, 4, 0, 0},
  };
  for (const ReopenCase& c : cases) {
    Script = std::make_shared<TSerialScript>();
    std::unique_ptr<TSerial> port = OpenScriptedPort();
    if (!c.PortOpen) port->Close();
    Script->Calls.clear();
    Script->BaudRate = 0;
    auto form = MakeForm(c.PortExists ? port.get() : nullptr);
    Control<QComboBox>(*form, "BaudRate")->setCurrentIndex(c.BaudIndex);
    form->accept();
    EXPECT_EQ(CallCount("Close"), c.ExpectedCloses) << c.Legend;
    EXPECT_EQ(Script->BaudRate, c.ExpectedRate) << c.Legend;
    EXPECT_EQ(port->IsOpen(), c.PortOpen) << c.Legend;
    port->Close();
  }
}

TEST_F(GeneralOptionsTest, FailedSaveClosesTheDialogAndLeavesThePortAlone) {
  std::unique_ptr<TSerial> port = OpenScriptedPort();
  auto form = MakeForm(port.get());
  // The store's folder cannot be made where a regular file stands.
  QFile blocker(QString::fromStdString(Home.Path() + "/Tolvane"));
  QFile::remove(QString::fromStdString(Home.SettingsFile()));
  QDir(QString::fromStdString(Home.Path() + "/Tolvane")).removeRecursively();
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  EXPECT_THROW(form->done(QDialog::Accepted), ESettingsError);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(CallCount("Close"), 0);
  EXPECT_TRUE(port->IsOpen());
  port->Close();
}

TEST_F(GeneralOptionsTest, FailedReopenIsRaisedAfterEverythingIsSaved) {
  std::unique_ptr<TSerial> port = OpenScriptedPort();
  auto form = MakeForm(port.get());
  Control<QLineEdit>(*form, "PPSCommand")->setText("saved anyway");
  Script->OpenFails = true;
  EXPECT_THROW(form->done(QDialog::Accepted), EDeviceError);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(Stored("PPSCommand"), "saved anyway");
  EXPECT_FALSE(port->IsOpen());
}

}  // namespace
