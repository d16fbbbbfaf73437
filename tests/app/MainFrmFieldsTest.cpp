// The window applies the fix display's writes to its own fields by name.

#include <gtest/gtest.h>

#include <QProgressBar>

#include "tests/app/MainFrmHarness.h"

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

}  // namespace
