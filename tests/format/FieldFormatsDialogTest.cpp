#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "common/Clock.h"
#include "common/DateTime.h"
#include "format/FieldFormatsDialog.h"
#include "format/FormatRoutines.h"
#include "tests/support/EventLoop.h"
#include "tests/support/UserInput.h"

namespace {

// 2026-12-06 09:15:00 local time, for samples that do not move.
TDateTime FixedNow() {
  TDateTime date = 0;
  TDateTime time = 0;
  TryEncodeDate(2026, 12, 6, date);
  TryEncodeTime(9, 15, 0, 0, time);
  return date + time;
}

// The dialog on its own, filled with the built-in formats; what it hands on
// is kept in Handed (the last value) and Count.
class FieldFormatsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { Clock::SetNowSource(FixedNow); }
  void TearDown() override { Clock::SetNowSource({}); }

  void Listen(TFieldFormatsDialog& form) {
    QObject::connect(&form, &TFieldFormatsDialog::fieldFormatsChanged,
                     [this](const TFieldFormats& formats) {
                       Handed = formats;
                       ++Count;
                     });
  }

  template <typename T>
  T* Control(TFieldFormatsDialog& form, const char* name) {
    T* control = form.findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  std::string Text(TFieldFormatsDialog& form, const char* name) {
    return Control<QLineEdit>(form, name)->text().toStdString();
  }

  TFieldFormats Handed;
  int Count = 0;
};

void Type(QWidget* widget, const QString& text) {
  for (QChar ch : text) PressKey(widget, ch.unicode(), Qt::NoModifier, QString(ch));
}

void LeaveField(QWidget* widget) {
  QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
  QCoreApplication::sendEvent(widget, &focusOut);
}

TEST_F(FieldFormatsDialogTest, ControlsShowTheFormatsGivenAndOKHandsThemBack) {
  struct TRow {
    const char* Legend;
    int32_t TFieldFormats::*Value;
    int32_t Given;
    const char* Control;
    int Shown;  // selection or value
    int32_t HandedByOK;
  };
  const TRow rows[] = {
      {"a position layout beyond the list selects nothing", &TFieldFormats::PositionFormat, 7,
       "PositionFormat", -1, -1},
      {"a layout in the list", &TFieldFormats::SpeedFormat, 2, "SpeedFormat", 2, 2},
      {"decimals above the bound show the bound", &TFieldFormats::SpeedDecimals, 12,
       "SpeedDecimals", 9, 9},
      {"decimals below the bound show the bound", &TFieldFormats::AltitudeDecimals, -3,
       "AltitudeDecimals", 0, 0},
  };
  for (const TRow& row : rows) {
    Count = 0;
    TFieldFormatsDialog form;
    Listen(form);
    TFieldFormats given;
    given.*row.Value = row.Given;
    form.SetFieldFormats(given);
    EXPECT_EQ(Count, 0) << row.Legend << ": filling hands nothing on";
    if (auto* list = form.findChild<QComboBox*>(row.Control))
      EXPECT_EQ(list->currentIndex(), row.Shown) << row.Legend;
    else
      EXPECT_EQ(Control<QSpinBox>(form, row.Control)->value(), row.Shown) << row.Legend;
    Control<QPushButton>(form, "OKButton")->click();
    EXPECT_EQ(form.result(), QDialog::Accepted) << row.Legend;
    EXPECT_EQ(Handed.*row.Value, row.HandedByOK) << row.Legend;
  }
}

TEST_F(FieldFormatsDialogTest, ChangingAListHandsItOnAtOnce) {
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
    TFieldFormatsDialog form;
    Listen(form);
    PressKey(Control<QComboBox>(form, row.Control), Qt::Key_Down);
    EXPECT_EQ(Handed.*row.Value, 1) << row.Legend;
  }
}

TEST_F(FieldFormatsDialogTest, TypedDecimalsHoldUntilTheFocusLeaves) {
  TFieldFormatsDialog form;
  Listen(form);
  auto* decimals = Control<QSpinBox>(form, "PositionDecimals");
  decimals->selectAll();
  Type(decimals, "15");
  EXPECT_EQ(Handed.PositionDecimals, 15);
  form.onClockTick();
  EXPECT_EQ(Text(form, "PositionSample1"), "42.842476900000001,S");
  Type(decimals, "x");
  EXPECT_EQ(Handed.PositionDecimals, 15) << "a letter is refused";
  LeaveField(decimals);
  EXPECT_EQ(decimals->text(), "9");
  EXPECT_EQ(Handed.PositionDecimals, 9);
  PressKey(decimals, Qt::Key_Up);
  EXPECT_EQ(Handed.PositionDecimals, 9) << "the Up key stops at the bound";
  PressKey(decimals, Qt::Key_Down);
  EXPECT_EQ(Handed.PositionDecimals, 8);
}

TEST_F(FieldFormatsDialogTest, TypedPatternShowsInTheSamplesButIsHandedOnOnlyByOK) {
  TFieldFormats given;
  given.TimeFormat = "hh:nn:ss";
  given.DateFormat = "dd/MM/yyyy";
  given.Locale.TimePMString = "nachm.";
  TFieldFormatsDialog form;
  Listen(form);
  form.SetFieldFormats(given);
  form.show();
  Control<QComboBox>(form, "TimeFormat")->setEditText("HH:MM");
  // The samples follow a typed pattern on the dialog's clock.
  ProcessEventsUntil([&] { return Text(form, "TimeSample1") == "09:15"; }, 5000);
  EXPECT_EQ(Text(form, "TimeSample1"), "09:15");
  EXPECT_EQ(Text(form, "TimeSample2"), "21:15") << "twelve hours ahead";
  EXPECT_EQ(Text(form, "DateSample1"), "06/12/2026");
  EXPECT_EQ(Text(form, "DateSample2"), "05/01/2027") << "thirty days ahead";
  Control<QComboBox>(form, "TimeFormat")->setEditText("h ampm");
  form.onClockTick();
  EXPECT_EQ(Text(form, "TimeSample2"), "9 nachm.") << "in the locale it was given";
  EXPECT_EQ(Count, 0) << "a pattern is not handed on while it is typed";

  Control<QComboBox>(form, "TimeFormat")->setEditText("HH:MM");
  Control<QPushButton>(form, "OKButton")->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(Handed.TimeFormat, "HH:MM");
  EXPECT_EQ(Handed.Locale.TimePMString, "nachm.");

  Control<QComboBox>(form, "DateFormat")->setEditText("");
  form.onClockTick();
  EXPECT_EQ(Text(form, "DateSample1") + Text(form, "DateSample2"), "") << "no pattern, no sample";
}

TEST_F(FieldFormatsDialogTest, CancelAndEscCloseWithoutHandingOn) {
  struct TRow {
    const char* Legend;
    bool ByEsc;
  };
  for (const TRow& row : {TRow{"Cancel button", false}, TRow{"Esc key", true}}) {
    TFieldFormatsDialog form;
    Listen(form);
    form.show();
    Control<QComboBox>(form, "TimeFormat")->setEditText("HH:MM");
    Count = 0;
    if (row.ByEsc)
      PressKey(&form, Qt::Key_Escape);
    else
      Control<QPushButton>(form, "CancelButton")->click();
    EXPECT_EQ(form.result(), QDialog::Rejected) << row.Legend;
    EXPECT_FALSE(form.isVisible()) << row.Legend;
    EXPECT_EQ(Count, 0) << row.Legend;
  }
}

}  // namespace

// Every entry of every drop-down shows whole, in the box and in its list.
TEST(FieldFormatsFormLayout, DropDownsFitTheirLongestEntry) {
  TFieldFormatsDialog form;
  form.show();
  for (QComboBox* box : form.findChildren<QComboBox*>()) {
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    const int field =
        box->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
            .width();
    for (int item = 0; item < box->count(); ++item) {
      const QString text = box->itemText(item);
      EXPECT_LE(box->fontMetrics().horizontalAdvance(text), field)
          << box->objectName().toStdString() << ": " << text.toStdString();
      EXPECT_LE(box->fontMetrics().horizontalAdvance(text), box->view()->minimumWidth())
          << box->objectName().toStdString() << " list: " << text.toStdString();
    }
  }
}
