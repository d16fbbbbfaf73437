// The window applies the fix display's writes to its own fields by name.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>

#include <functional>

#include "common/HandlerErrors.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/UserInput.h"

namespace {

TEST(FixFields, SNRBarIsHeldWithinItsRange) {
  const struct {
    const char* Legend;
    const char* SNR;
    int Shown;
  } cases[] = {
      {"inside", "35", 35},
      {"bottom", "00", 0},
      {"top", "60", 60},
      {"above", "99", 60},
  };
  for (const auto& c : cases) {
    TWindowHarness harness;
    harness.SelectPort(0);
    harness.Script->Incoming =
        FrameSentence(std::string("GPGSV,1,1,01,04,40,083,") + c.SNR) + "\r\n";
    harness.Ticks(1);
    const auto* bar = harness.Find<QProgressBar>("SNR1");
    EXPECT_EQ(bar->value(), c.Shown) << c.Legend;
    EXPECT_EQ(harness.Find<QLineEdit>("PRN1")->text(), "4") << c.Legend;
  }
}

TEST(FixFields, DialogControlsAreNeverTakenForFields) {
  TWindowHarness harness;
  auto* stray = new QLineEdit(harness.Dialogs.FieldFormats);
  stray->setObjectName("Used1");
  stray->setText("dialog's own");
  harness.SelectPort(0);
  harness.Script->Incoming = FrameSentence("GPGSV,1,1,01,04,40,083,35") + "\r\n" +
                             FrameSentence("GPGSA,A,3,04,,,,,,,,,,,,2.5,1.3,2.1") + "\r\n";
  harness.Ticks(2);
  EXPECT_EQ(stray->text(), "dialog's own");
  EXPECT_EQ(harness.Main->centralWidget()->findChild<QLineEdit*>("Used1")->text(), "Yes");
}

// 22.4 knots: "22.4" as knots (the first unit), "41.5" as km/h (the third).
std::string SpeedShown(TWindowHarness& harness) {
  harness.Script->Incoming =
      FrameSentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W") + "\r\n";
  harness.Ticks(1);
  return harness.Find<QLineEdit>("Speed")->text().toStdString();
}

// The unit chosen in the Field formats dialog shows at once; OK keeps it and
// stores it, Cancel and Esc go back to what the store holds.
TEST(FieldFormats, ChoiceActsAtOnceAndOnlyOKKeepsIt) {
  const struct {
    const char* Legend;
    std::function<void(QDialog&)> Close;
    const char* ShownAfter;
    int32_t Stored;
  } cases[] = {
      {"OK", [](QDialog& d) { d.findChild<QPushButton*>("OKButton")->click(); }, "41.5", 2},
      {"Cancel", [](QDialog& d) { d.findChild<QPushButton*>("CancelButton")->click(); }, "22.4",
       -1},
      {"Esc", [](QDialog& d) { PressKey(&d, Qt::Key_Escape); }, "22.4", -1},
  };
  for (const auto& c : cases) {
    TWindowHarness harness;
    harness.SelectPort(0);
    std::string shownWhileOpen;
    harness.AnswerModal = [&](QDialog& dialog) {
      auto* speed = dialog.findChild<QComboBox*>("SpeedFormat");
      PressKey(speed, Qt::Key_Down);
      PressKey(speed, Qt::Key_Down);
      shownWhileOpen = SpeedShown(harness);
      c.Close(dialog);
      return dialog.result();
    };
    harness.Find<QAction>("actionFieldFormats")->trigger();
    EXPECT_EQ(shownWhileOpen, "41.5") << c.Legend;
    EXPECT_EQ(SpeedShown(harness), c.ShownAfter) << c.Legend;
    EXPECT_EQ(ReadSettingInt("Options", "SpeedFormat", -1), c.Stored) << c.Legend;
  }
}

// The user may edit the settings file between two openings: the dialog shows
// what the store holds when it opens, and that is in use once it closes.
TEST(FieldFormats, StoreIsReadAtEveryOpeningAndAfterEveryClose) {
  TWindowHarness harness;
  harness.SelectPort(0);
  EXPECT_EQ(SpeedShown(harness), "22.4");
  WriteSettingInt("Options", "SpeedFormat", 2);
  int listed = -1;
  harness.AnswerModal = [&](QDialog& dialog) {
    listed = dialog.findChild<QComboBox*>("SpeedFormat")->currentIndex();
    return int(QDialog::Rejected);
  };
  harness.Find<QAction>("actionFieldFormats")->trigger();
  EXPECT_EQ(listed, 2);
  EXPECT_EQ(SpeedShown(harness), "41.5");
}

// A write that fails still closes the dialog with OK; the error is shown and
// what the store holds stays in use.
TEST(FieldFormats, FailedWriteOnOKIsShownAndTheStoreStaysInUse) {
  TWindowHarness harness;
  harness.SelectPort(0);
  SetErrorHook(ReportError);
  harness.AnswerModal = [&](QDialog& dialog) {
    PressKey(dialog.findChild<QComboBox*>("SpeedFormat"), Qt::Key_Down);
    // Where the settings folder should be, a regular file: every write fails.
    qputenv("XDG_CONFIG_HOME", QByteArray("/dev/null/config"));
    dialog.findChild<QPushButton*>("OKButton")->click();
    return dialog.result();
  };
  harness.Find<QAction>("actionFieldFormats")->trigger();
  ShowWaitingErrors();
  SetErrorHook({});
  ASSERT_EQ(harness.ErrorsShown().size(), 1U);
  EXPECT_EQ(harness.ErrorsShown()[0].rfind("Failed to set data for 'DateFormat'\n", 0), 0U)
      << "the reason follows on a second line";
  EXPECT_FALSE(harness.Dialogs.FieldFormats->isVisible());
  EXPECT_EQ(SpeedShown(harness), "22.4");
}

}  // namespace
