#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "common/Clock.h"
#include "common/DateTime.h"
#include "common/Settings.h"
#include "format/FieldFormatsFrm.h"
#include "format/FormatRoutines.h"
#include "format/LocaleFormats.h"
#include "tests/support/SettingsHome.h"

namespace {

// 2026-12-06 09:15:00 local time, for samples that do not move.
TDateTime FixedNow() {
  TDateTime date = 0;
  TDateTime time = 0;
  TryEncodeDate(2026, 12, 6, date);
  TryEncodeTime(9, 15, 0, 0, time);
  return date + time;
}

class FieldFormatsForm : public ::testing::Test {
 protected:
  void SetUp() override {
    Clock::SetNowSource(FixedNow);
    LocaleFormats = TLocaleFormats{};
    LoadFieldFormats();
  }
  void TearDown() override { Clock::SetNowSource({}); }

  template <typename T>
  T* Control(TFieldFormatsForm& form, const char* name) {
    T* control = form.findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  std::string Text(TFieldFormatsForm& form, const char* name) {
    return Control<QLineEdit>(form, name)->text().toStdString();
  }

  TTempSettingsHome Home;
};

void PressKey(QWidget* widget, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(widget, &release);
}

void Type(QWidget* widget, const QString& text) {
  for (QChar ch : text) PressKey(widget, ch.unicode(), QString(ch));
}

void LeaveField(QWidget* widget) {
  QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
  QCoreApplication::sendEvent(widget, &focusOut);
}

void WaitFor(int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST_F(FieldFormatsForm, ControlsComeFromTheStore) {
  struct TRow {
    const char* Legend;
    const char* Setting;
    int32_t Stored;
    const char* Control;
    int Shown;  // selection or value
    int32_t SavedByOK;
  };
  const TRow rows[] = {
      {"a position layout beyond the list selects nothing", "PositionFormat", 7, "PositionFormat",
       -1, -1},
      {"a stored layout in the list", "SpeedFormat", 2, "SpeedFormat", 2, 2},
      {"decimals above the bound show the bound", "SpeedDecimals", 12, "SpeedDecimals", 9, 9},
      {"decimals below the bound show the bound", "AltitudeDecimals", -3, "AltitudeDecimals", 0, 0},
  };
  for (const TRow& row : rows) {
    TTempSettingsHome home;
    WriteSettingInt("Options", row.Setting, row.Stored);
    TFieldFormatsForm form;
    if (auto* list = form.findChild<QComboBox*>(row.Control))
      EXPECT_EQ(list->currentIndex(), row.Shown) << row.Legend;
    else
      EXPECT_EQ(Control<QSpinBox>(form, row.Control)->value(), row.Shown) << row.Legend;
    Control<QPushButton>(form, "OKButton")->click();
    EXPECT_EQ(ReadSettingInt("Options", row.Setting, 1000), row.SavedByOK) << row.Legend;
  }
}

TEST_F(FieldFormatsForm, ChangingAListTakesEffectAtOnce) {
  struct TRow {
    const char* Legend;
    const char* Control;
    int32_t TFieldFormats::*Value;
  };
  const TRow rows[] = {
      {"position layout", "PositionFormat", &TFieldFormats::PositionFormat},
      {"altitude unit", "AltitudeFormat", &TFieldFormats::AltitudeFormat},
      {"validity words", "ValidFormat", &TFieldFormats::ValidFormat},
      {"speed unit", "SpeedFormat", &TFieldFormats::SpeedFormat},
  };
  for (const TRow& row : rows) {
    TFieldFormatsForm form;
    PressKey(Control<QComboBox>(form, row.Control), Qt::Key_Down);
    EXPECT_EQ(FieldFormats.*row.Value, 1) << row.Legend;
  }
}

TEST_F(FieldFormatsForm, TypedDecimalsHoldUntilTheFocusLeaves) {
  TFieldFormatsForm form;
  auto* decimals = Control<QSpinBox>(form, "PositionDecimals");
  decimals->selectAll();
  Type(decimals, "15");
  EXPECT_EQ(FieldFormats.PositionDecimals, 15);
  form.ClockTimerTimer();
  EXPECT_EQ(Text(form, "PositionSample1"), "42.842476900000001,S");
  Type(decimals, "x");
  EXPECT_EQ(FieldFormats.PositionDecimals, 15) << "a letter is refused";
  LeaveField(decimals);
  EXPECT_EQ(decimals->text(), "9");
  EXPECT_EQ(FieldFormats.PositionDecimals, 9);
  PressKey(decimals, Qt::Key_Up);
  EXPECT_EQ(FieldFormats.PositionDecimals, 9) << "the Up key stops at the bound";
  PressKey(decimals, Qt::Key_Down);
  EXPECT_EQ(FieldFormats.PositionDecimals, 8);
}

TEST_F(FieldFormatsForm, TypedPatternShowsInTheSamplesButNotInUseUntilOK) {
  WriteSettingStr("Options", "TimeFormat", "hh:nn:ss");
  WriteSettingStr("Options", "DateFormat", "dd/MM/yyyy");
  LoadFieldFormats();
  TFieldFormatsForm form;
  form.show();
  Control<QComboBox>(form, "TimeFormat")->setEditText("HH:MM");
  WaitFor(600);
  EXPECT_EQ(Text(form, "TimeSample1"), "09:15");
  EXPECT_EQ(Text(form, "TimeSample2"), "21:15") << "twelve hours ahead";
  EXPECT_EQ(Text(form, "DateSample1"), "06/12/2026");
  EXPECT_EQ(Text(form, "DateSample2"), "05/01/2027") << "thirty days ahead";

  EXPECT_EQ(FormatTime(0.5), "12:00:00") << "the main window keeps the pattern in use";
  Control<QPushButton>(form, "OKButton")->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  LoadFieldFormats();
  EXPECT_EQ(FormatTime(0.5), "12:00");

  Control<QComboBox>(form, "DateFormat")->setEditText("");
  form.ClockTimerTimer();
  EXPECT_EQ(Text(form, "DateSample1") + Text(form, "DateSample2"), "") << "no pattern, no sample";
}

TEST_F(FieldFormatsForm, CancelAndEscRestoreTheStoredFormats) {
  struct TRow {
    const char* Legend;
    bool ByEsc;
  };
  for (const TRow& row : {TRow{"Cancel button", false}, TRow{"Esc key", true}}) {
    TFieldFormatsForm form;
    form.show();
    PressKey(Control<QComboBox>(form, "SpeedFormat"), Qt::Key_Down);
    PressKey(Control<QComboBox>(form, "SpeedFormat"), Qt::Key_Down);
    ASSERT_EQ(FieldFormats.SpeedFormat, 2) << row.Legend;
    if (row.ByEsc)
      PressKey(&form, Qt::Key_Escape);
    else
      Control<QPushButton>(form, "CancelButton")->click();
    EXPECT_EQ(form.result(), QDialog::Rejected) << row.Legend;
    EXPECT_EQ(FieldFormats.SpeedFormat, 0) << row.Legend;
    form.show();
    EXPECT_EQ(Control<QComboBox>(form, "SpeedFormat")->currentIndex(), 0)
        << row.Legend << ": shown again, the list agrees with the formats in use";
    form.hide();
  }
}

}  // namespace
