#include <gtest/gtest.h>

#include <QProgressBar>

#include "tests/app/MainFrmHarness.h"

namespace {

TEST(FixFields, TextByComponentName) {
  TWindowHarness harness;
  TMainForm& main = *harness.Main;
  main.SetFieldText("Used7", "Yes");
  EXPECT_EQ(main.GetFieldText("Used7"), "Yes");
  EXPECT_EQ(harness.Find<QLineEdit>("Used7")->text(), "Yes");
  main.SetFieldText("Used7");
  EXPECT_EQ(main.GetFieldText("Used7"), "") << "no text clears the field";
  EXPECT_EQ(main.GetFieldText("Used13"), "") << "no such field reads as empty";
  main.SetFieldText("Used13", "Yes");  // no such field: nothing happens
  main.SetFieldText("Latitude",
                    "51\xC2\xB0"
                    "28.632'N");
  EXPECT_EQ(main.GetFieldText("Latitude"),
            "51\xC2\xB0"
            "28.632'N")
      << "UTF-8 text, as the field formats write it";
}

TEST(FixFields, SNRBarIsHeldWithinItsRange) {
  const struct {
    const char* Legend;
    int Position;
    int Shown;
  } cases[] = {
      {"inside", 35, 35}, {"bottom", 0, 0}, {"top", 60, 60}, {"above", 99, 60}, {"below", -5, 0},
  };
  for (const auto& c : cases) {
    TWindowHarness harness;
    harness.Main->SetSNRBar("SNR4", c.Position, QColor(255, 0, 0));
    const auto* bar = harness.Find<QProgressBar>("SNR4");
    EXPECT_EQ(bar->value(), c.Shown) << c.Legend;
    EXPECT_EQ(bar->palette().color(QPalette::Window), QColor(255, 0, 0)) << c.Legend;
  }
}

}  // namespace

namespace {

TEST(FixFields, DialogControlsAreNeverTakenForFields) {
  TWindowHarness harness;
  auto* stray = new QLineEdit(harness.Dialogs.FieldFormats);
  stray->setObjectName("Latitude");
  stray->setText("dialog's own");
  harness.Main->SetFieldText("Latitude", "51N");
  EXPECT_EQ(stray->text(), "dialog's own");
  EXPECT_EQ(harness.Main->GetFieldText("Latitude"), "51N");
}

}  // namespace
