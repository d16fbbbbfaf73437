// The Charts window as the main window drives it: opened from the Tools
// menu, it follows a replay through the monitor's history and shows each
// epoch's fix quality in its band, a fallback from fixed to float included.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/ChartPanel.h"
#include "app/ChartsWindow.h"
#include "app/FixQualityLook.h"
#include "app/MainWindow.h"
#include "common/Routines.h"
#include "tests/support/EventLoop.h"
#include "tests/support/SettingsHome.h"

namespace {

std::string Gga(const char* time, int quality) {
  const std::string position = quality > 0 ? "4807.038,N,01131.000,E," : ",,,,";
  return FrameSentence("GPGGA," + std::string(time) + "," + position + std::to_string(quality) +
                       ",08,0.9," + (quality > 0 ? "545.4,M" : ",") + ",46.9,M,,");
}

// A minute of RTK at 1 Hz, cut short: fixed, a fallback to float, fixed
// again, an epoch without a fix, fixed; each GGA with the satellites' GSV.
const std::vector<std::string> kLog = {
    FrameSentence("GPRMC,120000,A,4807.038,N,01131.000,E,0.0,0.0,070126,,,R"),
    Gga("120000", 4),
    FrameSentence("GPGSV,1,1,02,05,40,083,46,12,17,308,41"),
    Gga("120001", 4),
    FrameSentence("GPGSV,1,1,02,05,40,083,45,12,17,308,40"),
    Gga("120002", 5),
    FrameSentence("GPGSV,1,1,02,05,40,083,44,12,17,308,39"),
    Gga("120003", 4),
    FrameSentence("GPGSV,1,1,02,05,40,083,45,12,17,308,40"),
    Gga("120004", 0),
    FrameSentence("GPGSV,1,1,02,05,40,083,45,12,17,308,40"),
    Gga("120005", 4),
    FrameSentence("GPGSV,1,1,02,05,40,083,46,12,17,308,41"),
    Gga("120006", 4),
};

TEST(ChartsWindow, FollowsAReplayAndShowsTheQualityBand) {
  TTempSettingsHome home;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string logName = dir.filePath("rtk.txt").toStdString();
  QFile file(QString::fromStdString(logName));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  for (const std::string& line : kLog) file.write((line + "\r\n").c_str());
  file.close();

  TMainWindow main;
  auto* open = main.findChild<QAction*>("actionCharts");
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->text(), "Charts...");
  EXPECT_EQ(open->shortcut(), QKeySequence("Ctrl+H"));
  open->trigger();
  auto* charts = main.findChild<TChartsWindow*>();
  ASSERT_NE(charts, nullptr);
  ASSERT_TRUE(charts->isVisible());
  EXPECT_EQ(charts->ShownText(), "No epochs yet");

  main.StartReplay(logName);
  for (size_t tick = 0; tick <= kLog.size() + 1; ++tick) main.onReceiveTick();
  ASSERT_FALSE(main.Receiver().Replaying());
  // 12:00:00 on 7 January 2026, on the charts' axis.
  constexpr double kNoon = 20'460 * 86'400.0 + 12 * 3'600;
  ASSERT_TRUE(ProcessEventsUntil([&] { return charts->Data().LastTime() == kNoon + 6; }, 5000));
  EXPECT_TRUE(charts->FollowsLive());
  EXPECT_EQ(charts->ShownText(), "Epochs from 2026-01-07 12:00:00 to 2026-01-07 12:00:06 UTC (7)");

  struct TBandRow {
    const char* Legend;
    double At;  // seconds after noon
    TFixQuality Quality;
  };
  const TBandRow rows[] = {
      {"fixed from the start", 0.5, TFixQuality::RTKFixed},
      {"the fallback to float", 2.5, TFixQuality::RTKFloat},
      {"fixed again", 3.5, TFixQuality::RTKFixed},
      {"the epoch without a fix", 4.5, TFixQuality::NoFix},
      {"fixed to the end", 5.5, TFixQuality::RTKFixed},
  };
  TChartPanel& band = charts->QualityBand();
  const QImage image = band.grab().toImage();
  const qreal ratio = band.devicePixelRatioF();
  const int middle = static_cast<int>(band.chart()->plotArea().center().y() * ratio);
  for (const TBandRow& row : rows) {
    SCOPED_TRACE(row.Legend);
    const int x = static_cast<int>(band.ViewX(kNoon + row.At) * ratio);
    EXPECT_EQ(image.pixelColor(x, middle).rgb(), FixQualityQColor(row.Quality).rgb());
  }
  EXPECT_FALSE(charts->JammingStrip().isVisible()) << "no MON-RF, no strip";
  // The altitude breaks at the epoch without a fix; the C/N0 mean does not.
  EXPECT_EQ(charts->Panel(TChartPlot::Altitude).SegmentCount(), 2);
  EXPECT_EQ(charts->Panel(TChartPlot::CN0).SegmentCount(), 1);

  // A wheel step zooms every plot around the time under the mouse; Follow
  // live shows everything again.
  charts->zoom(0.5, kNoon + 3);
  EXPECT_FALSE(charts->FollowsLive());
  const auto [from, to] = charts->Shown();
  EXPECT_DOUBLE_EQ(to - from, std::max(TChartsWindow::kShortestSpan, TChartsWindow::kLiveSpan / 2));
  charts->findChild<QPushButton*>("FollowLiveButton")->click();
  EXPECT_TRUE(charts->FollowsLive());
  EXPECT_EQ(charts->Shown(), (std::pair<double, double>{kNoon, kNoon + TChartsWindow::kLiveSpan}));

  // Cleared data starts over, live, whatever span was zoomed into.
  charts->zoom(0.5, kNoon + 3);
  main.findChild<QAction*>("actionClearReceivedData")->trigger();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !charts->Data().LastTime(); }, 5000));
  EXPECT_EQ(charts->ShownText(), "No epochs yet");
  EXPECT_TRUE(charts->FollowsLive());

  // Closed, the window costs nothing: no refresh is planned, nothing taken.
  const auto* refresh = main.findChild<QTimer*>("ChartsTimer");
  ASSERT_TRUE(ProcessEventsUntil([&] { return !refresh->isActive(); }, 5000));
  charts->close();
  main.StartReplay(logName);
  for (size_t tick = 0; tick <= kLog.size() + 1; ++tick) main.onReceiveTick();
  EXPECT_FALSE(refresh->isActive());
  ProcessEventsFor(50);
  EXPECT_FALSE(charts->Data().LastTime());
}

// The strip under the C/N0 plot comes with the receiver's jamming verdicts.
TEST(ChartsWindow, JammingStripComesWithTheVerdicts) {
  TTempSettingsHome home;
  THistory history;
  TEpoch epoch;
  epoch.Time = "120000";
  epoch.Jamming = {{0, TJammingState::Critical}};
  history.Append(std::move(epoch));
  TChartsWindow charts{TAppSettings()};
  charts.show();
  charts.SetHistory(history);
  EXPECT_TRUE(ProcessEventsUntil([&] { return charts.JammingStrip().isVisible(); }, 10000));
}

}  // namespace
