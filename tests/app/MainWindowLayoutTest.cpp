// The main window's size: never smaller than the controls of its top panel,
// and never wider for a long status text, which ends in "…" with the whole
// text in its tool tip.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStatusBar>
#include <string_view>

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

// The fields the user reads first stay whole at the default width; the fix
// label gets the room left, and the sharing what the fix label leaves.
TEST(MainFormLayout, StatusFieldsWholeTheFixLabelNextTheSharingLast) {
  TWindowHarness harness;
  harness.Main->show();
  const std::pair<const char*, QString> fields[] = {
      {"SourceStatus", "Replay: f9p-rover.TXT, 100 %"},
      {"RateStatus", "27.4 lines/s"},
      {"BadChecksumStatus", "3 bad checksums"},
      {"AgeStatus", "Last line 0.2 s ago"},
      {"FixStatus", "RTK float, corrections 2.4 s old"},
      {"ShareStatus", "Sharing on port 10110: 2 clients; MQTT: connected to 127.0.0.1:1883"},
  };
  for (const auto& [name, text] : fields) {
    auto* label = harness.Find<TElidedLabel>(name);
    label->show();
    label->setText(text);
  }
  harness.Find<TElidedLabel>("FixStatus")
      ->setMaximumWidth(harness.Find<TElidedLabel>("FixStatus")->sizeHint().width());
  struct TRow {
    const char* Legend;
    int Width;
    bool FixWhole;
  };
  for (const TRow& row :
       {TRow{"the default width", 616, false}, TRow{"a wide window", 1000, true}}) {
    harness.Main->resize(row.Width, harness.Main->height());
    QApplication::processEvents();
    int left = -1;
    for (const auto& [name, text] : fields) {
      const auto* label = harness.Find<TElidedLabel>(name);
      EXPECT_GT(label->x(), left) << row.Legend << ": " << name << " after the one before";
      left = label->x();
      const std::string_view field = name;
      const bool whole = field == "ShareStatus" ? false
                         : field == "FixStatus" ? row.FixWhole
                                                : true;
      EXPECT_EQ(label->ShownText() == text, whole) << row.Legend << ": " << name;
    }
  }
}

}  // namespace
