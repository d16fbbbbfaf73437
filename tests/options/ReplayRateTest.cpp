#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>

#include "common/Settings.h"
#include "options/ReplayRateFrm.h"
#include "tests/support/SettingsHome.h"

namespace {

QSpinBox* SpeedField(TReplayRateForm& form) {
  return form.findChild<QSpinBox*>("ReplaySpeed");
}

void TypeInto(TReplayRateForm& form, const QString& text) {
  SpeedField(form)->findChild<QLineEdit*>()->setText(text);
}

int StoredSpeed() {
  return ReadSettingInt("Options", "ReplaySpeed", -1);
}

// Runs the dialog modally, typing `typed` and pressing `key` in the field once
// it is up. A
// dialog that does not close is rejected after a while, so the test fails
// instead of hanging.
int ExecPressing(TReplayRateForm& form, int key, Qt::KeyboardModifiers modifiers,
                 const QString& typed = {}) {
  QTimer::singleShot(0, &form, [&form, key, modifiers, typed] {
    if (!typed.isEmpty()) TypeInto(form, typed);
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(SpeedField(form), &press);
  });
  QTimer::singleShot(2000, &form, [&form] {
    if (form.isVisible()) form.reject();
  });
  return form.exec();
}

TEST(ReplayRate, StoredValuesAreBroughtIntoRange) {
  const std::pair<int, int> cases[] = {
      // stored, shown
      {3, 10}, {9, 10}, {10, 10}, {250, 250}, {5000, 5000}, {9000, 5000}, {-40, 10},
  };
  for (const auto& [stored, shown] : cases) {
    TTempSettingsHome home;
    WriteSettingInt("Options", "ReplaySpeed", stored);
    TReplayRateForm form;
    EXPECT_EQ(form.ReplaySpeed(), shown) << stored;
    form.show();
    form.close();
    EXPECT_EQ(StoredSpeed(), shown) << "replaced at the next close: " << stored;
  }
}

TEST(ReplayRate, NothingStoredShows500) {
  TTempSettingsHome home;
  TReplayRateForm form;
  EXPECT_EQ(form.ReplaySpeed(), 500);
}

TEST(ReplayRate, TypedTextReadsAsAWholeNumberInRange) {
  const std::pair<const char*, int> cases[] = {
      // typed, read
      {"250", 250}, {"", 10}, {"7", 10}, {"9999", 5000}, {"12x", 10},
  };
  TTempSettingsHome home;
  TReplayRateForm form;
  for (const auto& [typed, read] : cases) {
    TypeInto(form, typed);
    EXPECT_EQ(form.ReplaySpeed(), read) << typed;
  }
}

TEST(ReplayRate, EnterInTheFieldClosesWithOkAndSaves) {
  const std::pair<Qt::KeyboardModifiers, int> cases[] = {
      {Qt::NoModifier, Qt::Key_Return},
      {Qt::ShiftModifier, Qt::Key_Return},
      {Qt::ControlModifier | Qt::AltModifier, Qt::Key_Enter},
  };
  TTempSettingsHome home;
  TReplayRateForm form;
  int speed = 100;
  for (const auto& [modifiers, key] : cases) {
    SpeedField(form)->setValue(++speed);
    EXPECT_EQ(ExecPressing(form, key, modifiers), QDialog::Accepted) << speed;
    EXPECT_EQ(StoredSpeed(), speed);
  }
}

TEST(ReplayRate, AHalfTypedRateConfirmedWithEnterIsSavedInRange) {
  TTempSettingsHome home;
  TReplayRateForm form;
  EXPECT_EQ(ExecPressing(form, Qt::Key_Return, Qt::NoModifier, "7"), QDialog::Accepted);
  EXPECT_EQ(StoredSpeed(), 10);
  EXPECT_EQ(form.ReplaySpeed(), 10);
}

}  // namespace
