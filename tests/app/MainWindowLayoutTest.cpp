// The main window's size: never smaller than the controls of its top panel,
// and never wider for a long status text, which ends in "…" with the whole
// text in its tool tip.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStatusBar>

#include "app/ElidedLabel.h"
#include "tests/app/MainWindowHarness.h"

namespace {

TEST(MainFormLayout, ShrunkWindowStillShowsEveryControl) {
  TWindowHarness harness;
  harness.Main->show();
  harness.Main->resize(100, 100);
  QApplication::processEvents();
  const QWidget* panel = harness.Find<QWidget>("TopPanel");
  for (const QWidget* control : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control->isHidden()) continue;
    EXPECT_TRUE(panel->rect().contains(control->geometry())) << control->objectName().toStdString();
  }
}

TEST(MainFormLayout, LongStatusTextIsElidedNotWidened) {
  TWindowHarness harness;
  harness.Main->show();
  QApplication::processEvents();
  const int width = harness.Main->width();
  const int minimum = harness.Main->minimumSizeHint().width();
  auto* source = harness.Find<TElidedLabel>("SourceStatus");
  ASSERT_NE(source, nullptr);
  const QString text = "Replaying " + QString(300, 'x') + ".TXT";
  source->setText(text);
  QApplication::processEvents();
  EXPECT_EQ(harness.Main->width(), width);
  EXPECT_EQ(harness.Main->minimumSizeHint().width(), minimum);
  EXPECT_TRUE(source->ShownText().endsWith(QChar(0x2026))) << source->ShownText().toStdString();
  EXPECT_EQ(source->FullTextTip(), text);
  source->setText("No source");
  EXPECT_EQ(source->ShownText(), "No source");
  EXPECT_TRUE(source->FullTextTip().isEmpty()) << "a text that fits has no tip";
  // A short text gets the width it asks for, to the fraction of a pixel.
  auto* rate = harness.Find<TElidedLabel>("RateStatus");
  for (const QString shortText : {"0.0 lines/s", "12.5 lines/s", "100.0 lines/s", "7 lines/s"}) {
    rate->setText(shortText);
    QApplication::processEvents();
    EXPECT_EQ(rate->ShownText().toStdString(), shortText.toStdString());
  }
}

}  // namespace
