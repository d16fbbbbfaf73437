// Publishing from the window to a real broker on 127.0.0.1: the MQTT dialog
// connects, a replay's lines go out as they are in the file and its epochs
// as the history records them, the status bar says how the link stands, and
// turning it off says "offline". The password reaches the settings file only
// when remembered, and the file is then its owner's alone.

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "app/ElidedLabel.h"
#include "common/Settings.h"
#include "history/EpochJson.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/MqttBroker.h"
#include "tests/support/TextFiles.h"

namespace {

// Fills the dialog and closes it with OK.
void SetMqtt(TWindowHarness& harness, bool enabled, const std::string& url,
             const std::string& password = {}, bool remember = false) {
  harness.AnswerModal = [=](QDialog& dialog) {
    dialog.findChild<QCheckBox*>("MqttEnabled")->setChecked(enabled);
    dialog.findChild<QLineEdit*>("MqttUrl")->setText(QString::fromStdString(url));
    dialog.findChild<QLineEdit*>("MqttUser")->setText(password.empty() ? "" : "roof");
    dialog.findChild<QLineEdit*>("MqttPassword")->setText(QString::fromStdString(password));
    dialog.findChild<QCheckBox*>("RememberPassword")->setChecked(remember);
    dialog.findChild<QDialogButtonBox*>("Buttons")->button(QDialogButtonBox::Ok)->click();
    return dialog.result();
  };
  harness.Dispatch([&] { Choose(*harness.Main, "actionMqtt"); });
}

const std::vector<std::string> kReplayed = {
    "$GPGGA,120000.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*67",
    "$GPGSV,1,1,01,05,40,083,46*40",
    "$GPGGA,120001.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*66",
};

TEST(MqttWindow, AReplayIsPublishedLineByLineAndEpochByEpoch) {
  TMqttBroker broker;
  ASSERT_TRUE(broker.Start());
  TMqttTestClient subscriber(broker.Port(), "bench/#");
  TWindowHarness harness;
  SetMqtt(harness, true, broker.Url("bench"));
  ASSERT_TRUE(subscriber.RunUntil([&] { return !subscriber.On("bench/status").empty(); }, 5000));
  Choose(*harness.Main, "actionStatistics");  // the status bar is read now
  EXPECT_EQ(harness.Find<TElidedLabel>("ShareStatus")->text(), "MQTT: connected");
  EXPECT_EQ(ReadSettingStr("MQTT", "Url", ""), broker.Url("bench"));

  harness.Check("IgnoreGSV");
  const std::string file = harness.Home.Path() + "/replay.TXT";
  ASSERT_TRUE(WriteAll(file, AsLog(kReplayed)));
  harness.Main->StartReplay(file);
  harness.Ticks(5);
  ASSERT_TRUE(subscriber.RunUntil(
      [&] { return subscriber.On("bench/nmea").size() >= kReplayed.size(); }, 5000));
  EXPECT_EQ(subscriber.On("bench/nmea"), kReplayed) << "before the filters";

  std::vector<std::string> epochs;
  const THistory& history = harness.Main->Receiver().History();
  for (uint64_t index = history.First(); index < history.End(); ++index)
    epochs.push_back(EpochJson(history.At(index)));
  ASSERT_EQ(epochs.size(), 2u) << "one a time text, the last at the end of the replay";
  ASSERT_TRUE(subscriber.RunUntil(
      [&] { return subscriber.On("bench/epoch").size() >= epochs.size(); }, 5000));
  EXPECT_EQ(subscriber.On("bench/epoch"), epochs);

  SetMqtt(harness, false, broker.Url("bench"));
  ASSERT_TRUE(subscriber.RunUntil([&] { return subscriber.On("bench/status").size() == 2; }, 5000));
  EXPECT_EQ(subscriber.On("bench/status"), (std::vector<std::string>{"online", "offline"}));
}

struct TPasswordCase {
  const char* Legend;
  bool Remember;
  const char* Stored;  // what the settings file holds
  bool OwnerOnly;
};

const TPasswordCase kPasswordCases[] = {
    {"not remembered: kept out of the file", false, "", false},
    {"remembered: stored, and the file is its owner's alone", true, "s3cret", true},
};

TEST(MqttWindow, ThePasswordIsStoredOnlyWhenRemembered) {
  for (const TPasswordCase& test : kPasswordCases) {
    SCOPED_TRACE(test.Legend);
    TWindowHarness harness;
    // Port 1 on the loopback address: nobody answers, and nothing leaves the machine.
    SetMqtt(harness, true, "mqtt://127.0.0.1:1/bench", "s3cret", test.Remember);
    EXPECT_EQ(ReadSettingStr("MQTT", "Password", ""), test.Stored);
    const auto perms = std::filesystem::status(SettingsLocation()).permissions();
    const bool ownerOnly =
        (perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all)) ==
        std::filesystem::perms::none;
    EXPECT_TRUE(!test.OwnerOnly || ownerOnly);
  }
}

TEST(MqttWindow, AWrongAddressIsSaidInTheDialogWhichStaysOpen) {
  TWindowHarness harness;
  QString problem;
  harness.AnswerModal = [&](QDialog& dialog) {
    dialog.findChild<QCheckBox*>("MqttEnabled")->setChecked(true);
    dialog.findChild<QLineEdit*>("MqttUrl")->setText("mqtt://broker.lan");
    dialog.findChild<QDialogButtonBox*>("Buttons")->button(QDialogButtonBox::Ok)->click();
    problem = dialog.findChild<QLabel*>("MqttProblem")->text();
    return int(dialog.result());
  };
  harness.Dispatch([&] { Choose(*harness.Main, "actionMqtt"); });
  EXPECT_EQ(problem.toStdString(),
            "Invalid broker URL: the topic prefix is missing (mqtt://HOST[:PORT]/PREFIX)");
  EXPECT_FALSE(ReadSettingBool("MQTT", "Enabled", false)) << "nothing stored";
}

}  // namespace
