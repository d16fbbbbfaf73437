// The Set replay rate dialog on its own, and the rate in the store. Saving it
// when the dialog closes is the main window's part (tests/app).

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include "common/Settings.h"
#include "monitor/MonitorOptions.h"
#include "options/ReplayRateDialog.h"
#include "tests/support/SettingsHome.h"
#include "tests/support/UserInput.h"

namespace {

QSpinBox* SpeedField(TReplayRateDialog& form) {
  return form.findChild<QSpinBox*>("ReplaySpeed");
}

void TypeInto(TReplayRateDialog& form, const QString& text) {
  SpeedField(form)->findChild<QLineEdit*>()->setText(text);
}

// The dialog and the last rate it handed on (-1: none yet).
struct TListened {
  TListened() {
    QObject::connect(&Form, &TReplayRateDialog::replaySpeedChanged,
                     [this](int milliseconds) { Handed = milliseconds; });
  }
  TReplayRateDialog Form;
  int Handed = -1;
};

// Runs the dialog modally, typing `typed` and pressing `key` in the field once
// it is up. A dialog that does not close is rejected after a while, so the
// test fails instead of hanging.
int ExecPressing(TReplayRateDialog& form, int key, Qt::KeyboardModifiers modifiers,
                 const QString& typed = {}) {
  QTimer::singleShot(0, &form, [&form, key, modifiers, typed] {
    if (!typed.isEmpty()) TypeInto(form, typed);
    PressKey(SpeedField(form), key, modifiers);
  });
  QTimer::singleShot(2000, &form, [&form] {
    if (form.isVisible()) form.reject();
  });
  return form.exec();
}

TEST(ReplayRate, StoredValuesAreBroughtIntoRange) {
  const std::pair<int, int> cases[] = {
      // stored, read
      {3, 10}, {9, 10}, {10, 10}, {250, 250}, {5000, 5000}, {9000, 5000}, {-40, 10},
  };
  for (const auto& [stored, read] : cases) {
    TTempSettingsHome home;
    WriteSettingInt("Options", "ReplaySpeed", stored);
    EXPECT_EQ(StoredReplaySpeed(), read) << stored;
  }
  TTempSettingsHome home;
  EXPECT_EQ(StoredReplaySpeed(), 500) << "nothing stored";
}

TEST(ReplayRate, TypedTextIsHandedOnAtCloseAsAWholeNumberInRange) {
  const std::pair<const char*, int> cases[] = {
      // typed, handed on
      {"250", 250}, {"", 10}, {"7", 10}, {"9999", 5000}, {"12x", 10},
  };
  for (const auto& [typed, handed] : cases) {
    TListened dialog;
    dialog.Form.show();
    TypeInto(dialog.Form, typed);
    EXPECT_EQ(dialog.Handed, -1) << "not while it is typed: " << typed;
    dialog.Form.close();
    EXPECT_EQ(dialog.Handed, handed) << typed;
    EXPECT_EQ(SpeedField(dialog.Form)->value(), handed) << "the field shows it: " << typed;
  }
}

TEST(ReplayRate, EveryChangeOfTheFieldIsHandedOnButNotTheGivenRate) {
  TListened dialog;
  dialog.Form.SetReplaySpeed(9000);
  EXPECT_EQ(dialog.Handed, -1);
  EXPECT_EQ(SpeedField(dialog.Form)->value(), 5000);
  SpeedField(dialog.Form)->setValue(120);
  EXPECT_EQ(dialog.Handed, 120);
}

TEST(ReplayRate, EnterInTheFieldClosesWithOk) {
  const std::pair<Qt::KeyboardModifiers, int> cases[] = {
      {Qt::NoModifier, Qt::Key_Return},
      {Qt::ShiftModifier, Qt::Key_Return},
      {Qt::ControlModifier | Qt::AltModifier, Qt::Key_Enter},
  };
  TListened dialog;
  int speed = 100;
  for (const auto& [modifiers, key] : cases) {
    SpeedField(dialog.Form)->setValue(++speed);
    EXPECT_EQ(ExecPressing(dialog.Form, key, modifiers), QDialog::Accepted) << speed;
    EXPECT_EQ(dialog.Handed, speed);
  }
}

TEST(ReplayRate, AHalfTypedRateConfirmedWithEnterIsHandedOnInRange) {
  TListened dialog;
  EXPECT_EQ(ExecPressing(dialog.Form, Qt::Key_Return, Qt::NoModifier, "7"), QDialog::Accepted);
  EXPECT_EQ(dialog.Handed, 10);
}

TEST(ReplayRate, StoredPaceIsReadAsWrittenOrAsTheFixedInterval) {
  const struct {
    const char* Legend;
    int Mode;            // -1: not stored
    const char* Factor;  // nullptr: not stored
    TReplayPacing Read;
  } cases[] = {
      {"nothing stored: today's fixed interval", -1, nullptr, {}},
      {"the recorded pace at 10x", 1, "10", {TReplayMode::RecordedPace, 10}},
      {"as fast as possible", 1, "max", {TReplayMode::RecordedPace, 0}},
      {"a speed the list lacks is kept", 1, "3", {TReplayMode::RecordedPace, 3}},
      {"an unknown mode is the fixed interval", 7, "2", {TReplayMode::FixedInterval, 2}},
      {"a factor that is no number reads 1x", 1, "fast", {TReplayMode::RecordedPace, 1}},
      {"a zero factor would never move", 1, "0", {TReplayMode::RecordedPace, 1}},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.Legend);
    TTempSettingsHome home;
    if (test.Mode >= 0) WriteSettingInt("Options", "ReplayMode", test.Mode);
    if (test.Factor) WriteSettingStr("Options", "ReplayFactor", test.Factor);
    EXPECT_EQ(StoredReplayPacing(), test.Read);
    StoreReplayPacing(test.Read);
    EXPECT_EQ(StoredReplayPacing(), test.Read) << "written back as read";
  }
}

TEST(ReplayRate, RecordedPaceIsChosenWithItsSpeedAndHandedOnAtClose) {
  TReplayRateDialog form;
  std::optional<TReplayPacing> handed;
  QObject::connect(&form, &TReplayRateDialog::replayPacingChanged,
                   [&handed](const TReplayPacing& pacing) { handed = pacing; });
  auto* speeds = form.findChild<QComboBox*>("ReplayFactor");
  form.SetReplayPacing({TReplayMode::FixedInterval, 3});
  EXPECT_FALSE(handed);
  EXPECT_EQ(speeds->currentText(), "3x") << "the stored speed is offered in its place";
  EXPECT_FALSE(speeds->isEnabled());
  EXPECT_TRUE(SpeedField(form)->isEnabled());

  form.show();
  form.findChild<QRadioButton*>("RecordedPaceChoice")->click();
  EXPECT_TRUE(speeds->isEnabled());
  EXPECT_FALSE(SpeedField(form)->isEnabled());
  speeds->setCurrentIndex(speeds->findText("as fast as possible"));
  EXPECT_EQ(handed, (TReplayPacing{TReplayMode::RecordedPace, 0}));
  speeds->setCurrentIndex(speeds->findText("60x"));
  handed.reset();
  form.close();
  EXPECT_EQ(handed, (TReplayPacing{TReplayMode::RecordedPace, 60})) << "handed on at close";
}

}  // namespace
