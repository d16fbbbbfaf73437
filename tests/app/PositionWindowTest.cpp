// The Position window and File, "Export track..." as the main window drives
// them: a replay fills the history they read.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScatterSeries>

#include "app/PositionScatter.h"
#include "app/PositionWindow.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/TextFiles.h"

namespace {

const std::string kTrackLog = TOLVANE_SOURCE_DIR "/tests/tools/data/track.log";
// The capture's 12 lines and its end.
constexpr int kTrackTicks = 13;

int Points(const QScatterSeries* series) {
  return series ? static_cast<int>(series->count()) : 0;
}

TPositionWindow* OpenPosition(TWindowHarness& harness) {
  harness.Find<QAction>("actionPosition")->trigger();
  QApplication::processEvents();
  return harness.Main->findChild<TPositionWindow*>();
}

void TypeReference(TPositionWindow& form, const QString& latitude, const QString& longitude,
                   const QString& altitude) {
  form.findChild<QLineEdit*>("ReferenceLatitude")->setText(latitude);
  form.findChild<QLineEdit*>("ReferenceLongitude")->setText(longitude);
  form.findChild<QLineEdit*>("ReferenceAltitude")->setText(altitude);
  form.findChild<QPushButton*>("ApplyReference")->click();
}

TEST(PositionWindow, FollowsAReplayAndATypedReference) {
  TWindowHarness harness;
  TPositionWindow* form = OpenPosition(harness);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(harness.Find<QAction>("actionPosition")->shortcut(), QKeySequence("Ctrl+P"));
  harness.Main->StartReplay(kTrackLog);
  harness.Ticks(kTrackTicks);
  QApplication::processEvents();
  TPositionScatter& scatter = *form->Scatter();
  // Four fixes on one spot: two autonomous (sharing a dot), one RTK fixed,
  // one PPS, the last ringed; no horizontal spread, so the circles have no
  // size.
  EXPECT_EQ(Points(scatter.Quality(1)), 1);
  EXPECT_EQ(Points(scatter.Quality(3)), 1);
  EXPECT_EQ(Points(scatter.Quality(4)), 1);
  EXPECT_TRUE(scatter.Latest().has_value());
  EXPECT_LT(scatter.CircleRadius(TPositionScatter::kCep95), 1e-6);
  ASSERT_FALSE(form->Rows().empty());
  EXPECT_EQ(form->Rows()[0].Measured, "4");

  // 0.0001 degrees of latitude north of the spot: about 11 m.
  TypeReference(*form, "59.329433333,N", "18.068666667", "28.6");
  ASSERT_TRUE(form->Reference().has_value());
  EXPECT_NEAR(scatter.CircleRadius(TPositionScatter::kCep50), 11.1, 0.1);
  EXPECT_NEAR(scatter.CircleRadius(TPositionScatter::kDrms2), 22.3, 0.1);
  EXPECT_GE(scatter.HalfWidth(), 11.1) << "the scale follows the circles out";
  EXPECT_EQ(TAppSettings().PositionReference(), form->Reference()) << "kept in the settings";

  TypeReference(*form, "95", "18", "0");
  EXPECT_EQ(form->findChild<QLabel*>("ReferenceStatus")->text(),
            "The reference latitude is not a latitude.");
  EXPECT_NEAR(scatter.CircleRadius(TPositionScatter::kCep50), 11.1, 0.1) << "the last one stays";

  form->findChild<QPushButton*>("UseMean")->click();
  EXPECT_FALSE(form->Reference().has_value());
  EXPECT_LT(scatter.CircleRadius(TPositionScatter::kCep50), 1e-6);
  EXPECT_EQ(TAppSettings().PositionReference(), std::nullopt);
}

struct TFarCase {
  const char* Legend;
  const char* Latitude;
  const char* Longitude;
  const char* Warning;  // empty: none shown
};

const TFarCase kFarCases[] = {
    {"9 km north: near enough", "59.41", "18.068666667", ""},
    {"New York for Stockholm", "40.7128", "-74.006", "Reference is 6,337 km from the fixes"},
};

TEST(PositionWindow, WarnsOfAFarReference) {
  TWindowHarness harness;
  TPositionWindow* form = OpenPosition(harness);
  ASSERT_NE(form, nullptr);
  harness.Main->StartReplay(kTrackLog);
  harness.Ticks(kTrackTicks);
  QApplication::processEvents();
  auto* warning = form->findChild<QWidget*>("ReferenceWarning");
  for (const TFarCase& test : kFarCases) {
    SCOPED_TRACE(test.Legend);
    TypeReference(*form, test.Latitude, test.Longitude, "28.6");
    EXPECT_EQ(warning->isVisibleTo(form), *test.Warning != 0);
    if (*test.Warning) {
      EXPECT_EQ(form->findChild<QLabel*>("ReferenceWarningText")->text(), test.Warning);
    }
    EXPECT_TRUE(form->Reference().has_value()) << "the warning leaves the reference be";
  }
  form->findChild<QPushButton*>("WarningUseMean")->click();
  EXPECT_FALSE(form->Reference().has_value());
  EXPECT_FALSE(warning->isVisibleTo(form));
}

struct TExportCase {
  const char* Legend;
  const char* Filter;
  const char* Name;
  const char* Beginning;  // of the file written
  const char* Used;       // the filter the dialog comes back with
};

const TExportCase kExportCases[] = {
    {"GPX by its filter", "GPX 1.1 (*.gpx)", "walk.gpx",
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\"", "GPX 1.1 (*.gpx)"},
    {"KML by its filter", "KML 2.2 (*.kml)", "walk.kml",
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml ", "KML 2.2 (*.kml)"},
    {"CSV by its filter", "CSV (*.csv)", "walk.csv", "n,time,date,quality,", "CSV (*.csv)"},
    {"KML typed under the GPX filter: the name wins", "GPX 1.1 (*.gpx)", "walk2.KML",
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml ", "KML 2.2 (*.kml)"},
};

TEST(PositionWindow, ExportTrack) {
  TWindowHarness harness;
  harness.Main->StartReplay(kTrackLog);
  harness.Ticks(kTrackTicks);
  for (const TExportCase& test : kExportCases) {
    SCOPED_TRACE(test.Legend);
    const QString path = QString::fromStdString(harness.Home.Path()) + "/" + test.Name;
    harness.AnswerModal = [&](QDialog& dialog) {
      auto& files = static_cast<QFileDialog&>(dialog);
      files.selectNameFilter(test.Filter);
      files.selectFile(path);
      return int(QDialog::Accepted);
    };
    harness.Dispatch([&] { harness.Find<QAction>("actionExportTrack")->trigger(); });
    EXPECT_EQ(ReadAll(path.toStdString()).rfind(test.Beginning, 0), 0u);
    EXPECT_EQ(harness.Find<QFileDialog>("ExportDialog")->selectedNameFilter(), test.Used)
        << "the type used comes back";
  }
  harness.AnswerModal = [&](QDialog& dialog) {
    static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(harness.Home.Path()) +
                                                 "/no/such/folder/walk.gpx");
    return int(QDialog::Accepted);
  };
  harness.Dispatch([&] { harness.Find<QAction>("actionExportTrack")->trigger(); });
  ASSERT_FALSE(harness.Messages.empty());
  EXPECT_EQ(harness.Messages.back().Text.rfind("Could not write the track to ", 0), 0u);
}

}  // namespace
