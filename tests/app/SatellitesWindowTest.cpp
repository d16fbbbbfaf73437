// The Satellites window on the offscreen platform, fed as the receive loop
// feeds it: every line into a sky model, ShowSky after each one.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <algorithm>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/SatellitesTable.h"
#include "app/SatellitesTableBars.h"
#include "app/SatellitesWindow.h"
#include "app/SkyPlot.h"
#include "common/Settings.h"
#include "tests/nmea/Sentences.h"
#include "tests/support/SettingsHome.h"

namespace {

using testing_nmea::Sentence;

// A handle to the store; each test points the store at its own home.
const TAppSettings kSettings;

// Two epochs of a receiver sending GPS on L1 and L5 and GLONASS, with its
// GSA after the GSV: GPS 5 and 10 used, GLONASS 12 (sent as 76) used, GPS 12
// without a position.
const std::vector<std::string> kEpoch = {
    "GNRMC,101500.00,A,4807.038,N,01131.000,E,0.0,,070126,,,A,V",
    "GPGSV,1,1,03,05,62,310,44,10,45,120,39,12,,,21,1",
    "GPGSV,1,1,01,05,62,310,47,8",
    "GLGSV,1,1,02,76,30,200,35,77,10,020,,1",
    "GNGSA,A,3,05,10,,,,,,,,,,,1.5,0.9,1.2,1",
    "GNGSA,A,3,76,,,,,,,,,,,,1.5,0.9,1.2,2",
};

void Replay(TSkyModel& sky, TSatellitesWindow& form, const std::vector<std::string>& bodies) {
  for (const std::string& body : bodies) {
    sky.Take(Sentence(body));
    form.ShowSky(sky);
  }
  QApplication::processEvents();
}

// What the sorted table shows in a column, top to bottom.
std::vector<std::string> Column(const TSatellitesWindow& form, int column) {
  std::vector<std::string> texts;
  const QAbstractItemModel& model = form.SortedTable();
  for (int row = 0; row < model.rowCount(); ++row)
    texts.push_back(model.index(row, column).data().toString().toStdString());
  return texts;
}

using TTexts = std::vector<std::string>;

// What the plot shows: the colour inside the marker at a position (beside its
// label), and the systems whose colours the legend lists, top to bottom.
QColor MarkerColour(TSkyPlot& plot, int elevation, int azimuth) {
  const QImage image = plot.grab().toImage();
  const QRectF area = plot.PlotArea();
  const QPointF at = TSkyPlot::Position(elevation, azimuth, area.center(), area.width() / 2);
  const qreal ratio = plot.devicePixelRatioF();
  return image.pixelColor(static_cast<int>((at.x() - 7) * ratio), static_cast<int>(at.y() * ratio));
}

// A legend entry is a filled dot: a run of pixels of its system's colour, which
// the antialiased edges of text never make.
std::vector<TSkySystem> LegendSystems(TSkyPlot& plot) {
  const QImage image = plot.grab().toImage();
  const int legendEnd = static_cast<int>(plot.PlotArea().left() * plot.devicePixelRatioF());
  constexpr int kDotRun = 4;
  std::vector<TSkySystem> systems;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x + kDotRun <= legendEnd; ++x) {
      const QColor colour = image.pixelColor(x, y);
      bool run = true;
      for (int step = 1; step < kDotRun && run; ++step)
        run = image.pixelColor(x + step, y) == colour;
      for (int index = 0; run && index < kSkySystemCount; ++index) {
        const auto system = static_cast<TSkySystem>(index);
        if (colour == SkySystemColour(system) &&
            std::find(systems.begin(), systems.end(), system) == systems.end())
          systems.push_back(system);
      }
    }
  }
  return systems;
}

TEST(SatellitesForm, ReplayFillsPlotAndTable) {
  TTempSettingsHome home;
  TSkyModel sky;
  TSatellitesWindow form(kSettings);
  form.resize(900, 480);
  form.show();
  Replay(sky, form, kEpoch);

  EXPECT_EQ(form.windowTitle(), "Satellites");
  EXPECT_EQ(Column(form, TSatellitesTableModel::kSystem),
            (TTexts{"GPS", "GPS", "GPS", "GLONASS", "GLONASS"}));
  EXPECT_EQ(Column(form, TSatellitesTableModel::kNumber), (TTexts{"5", "10", "12", "12", "13"}));
  EXPECT_EQ(Column(form, TSatellitesTableModel::kElevation), (TTexts{"62", "45", "", "30", "10"}));
  EXPECT_EQ(Column(form, TSatellitesTableModel::kUsed), (TTexts{"Yes", "Yes", "No", "Yes", "No"}));
  EXPECT_EQ(form.Table().Bars(0).size(), 2U) << "GPS 5 on L1 and L5";
  EXPECT_EQ(form.Table().Bars(1).size(), 1U);
  EXPECT_EQ(form.CountsText(), "GPS: 3 in view, 2 used    GLONASS: 2 in view, 1 used");

  // A used marker is filled with its system's colour, the others are rings
  // on the background; GPS 12 has no position: listed, not plotted. The
  // legend names both systems in view.
  TSkyPlot& plot = *form.Plot();
  const QColor background = plot.palette().color(QPalette::Base);
  EXPECT_EQ(MarkerColour(plot, 62, 310), SkySystemColour(TSkySystem::GPS)) << "GPS 5, used";
  EXPECT_EQ(MarkerColour(plot, 45, 120), SkySystemColour(TSkySystem::GPS)) << "GPS 10, used";
  EXPECT_EQ(MarkerColour(plot, 30, 200), SkySystemColour(TSkySystem::GLONASS)) << "GLONASS 12";
  EXPECT_EQ(MarkerColour(plot, 10, 20), background) << "GLONASS 13, not used";
  EXPECT_EQ(LegendSystems(plot), (std::vector<TSkySystem>{TSkySystem::GPS, TSkySystem::GLONASS}));
}

// The bars name their signals from the NMEA 4.11 table when hovered.
TEST(SatellitesForm, BarToolTips) {
  TTempSettingsHome home;
  TSkyModel sky;
  TSatellitesWindow form(kSettings);
  form.resize(900, 480);
  form.show();
  Replay(sky, form, kEpoch);
  auto* view = form.findChild<QTableView*>("SatellitesTable");
  ASSERT_NE(view, nullptr);
  const QModelIndex index = form.SortedTable().index(0, TSatellitesTableModel::kSNR);
  const QRect cell = view->visualRect(index);
  auto tipAt = [&](int x) { return form.Bars().ToolTipAt(index, cell, {x, cell.center().y()}); };
  const std::span<const TSignalBar> bars = form.Table().Bars(0);
  ASSERT_EQ(TSatellitesTableBars::BarAt(cell, bars, cell.left() + 5), 0);
  EXPECT_EQ(tipAt(cell.left() + 5), "L1 C/A: 44 dB-Hz");
  EXPECT_EQ(tipAt(TSatellitesTableBars::BarRect(cell, bars, 1).center().x()), "L5-Q: 47 dB-Hz");
  EXPECT_EQ(tipAt(cell.left() + 60), "") << "the empty L2 place";
  EXPECT_EQ(tipAt(cell.right() - 2), "") << "beyond the bars";
  EXPECT_EQ(TSatellitesTableBars::BarToolTip(TSkySystem::BeiDou, {11, std::nullopt}),
            "B2I: no SNR");
}

TEST(SatellitesForm, SortsByEveryColumn) {
  TTempSettingsHome home;
  TSkyModel sky;
  TSatellitesWindow form(kSettings);
  form.show();
  Replay(sky, form, kEpoch);
  auto* view = form.findChild<QTableView*>("SatellitesTable");
  struct TRow {
    int Column;
    Qt::SortOrder Order;
    TTexts Numbers;
  };
  const TRow rows[] = {
      {TSatellitesTableModel::kElevation, Qt::DescendingOrder, {"5", "10", "12", "13", "12"}},
      {TSatellitesTableModel::kElevation, Qt::AscendingOrder, {"12", "13", "12", "10", "5"}},
      {TSatellitesTableModel::kAzimuth, Qt::AscendingOrder, {"12", "13", "10", "12", "5"}},
      {TSatellitesTableModel::kNumber, Qt::AscendingOrder, {"5", "10", "12", "12", "13"}},
      {TSatellitesTableModel::kUsed, Qt::AscendingOrder, {"12", "13", "5", "10", "12"}},
      {TSatellitesTableModel::kSNR, Qt::DescendingOrder, {"5", "10", "12", "12", "13"}},
      {TSatellitesTableModel::kSystem, Qt::DescendingOrder, {"12", "13", "5", "10", "12"}},
  };
  for (const TRow& row : rows) {
    view->sortByColumn(row.Column, row.Order);
    EXPECT_EQ(Column(form, TSatellitesTableModel::kNumber), row.Numbers) << row.Column;
  }
}

// The window shows the last completed epoch: a GSA of the next one changes
// nothing until that epoch ends too.
TEST(SatellitesForm, ShowsTheLastCompletedEpoch) {
  TTempSettingsHome home;
  TSkyModel sky;
  TSatellitesWindow form(kSettings);
  form.show();
  Replay(sky, form, kEpoch);
  Replay(sky, form, {"GNRMC,101501.00,A,4807.038,N,01131.000,E,0.0,,070126,,,A,V"});
  EXPECT_EQ(Column(form, TSatellitesTableModel::kUsed), (TTexts{"Yes", "Yes", "No", "Yes", "No"}));
  Replay(sky, form, {"GNGSA,A,3,10,,,,,,,,,,,,1.5,0.9,1.2,1"});
  EXPECT_EQ(Column(form, TSatellitesTableModel::kUsed), (TTexts{"Yes", "Yes", "No", "Yes", "No"}));
  EXPECT_EQ(form.CountsText(), "GPS: 3 in view, 2 used    GLONASS: 2 in view, 1 used");
  Replay(sky, form, {"GNRMC,101502.00,A,4807.038,N,01131.000,E,0.0,,070126,,,A,V"});
  EXPECT_EQ(Column(form, TSatellitesTableModel::kUsed), (TTexts{"No", "Yes", "No", "No", "No"}));
  EXPECT_EQ(form.CountsText(), "GPS: 3 in view, 1 used    GLONASS: 2 in view, 0 used");

  form.Clear();
  EXPECT_EQ(form.SortedTable().rowCount(), 0);
  EXPECT_EQ(MarkerColour(*form.Plot(), 62, 310), form.Plot()->palette().color(QPalette::Base))
      << "GPS 5 no longer plotted";
  EXPECT_TRUE(LegendSystems(*form.Plot()).empty());
  EXPECT_EQ(form.CountsText(), "No satellites in view");
  sky.Clear();
  Replay(sky, form, kEpoch);
  EXPECT_EQ(form.SortedTable().rowCount(), 5) << "filled again after a clear";
}

// A hidden window takes the data and shows it when opened.
TEST(SatellitesForm, HiddenWindowCatchesUpWhenShown) {
  TTempSettingsHome home;
  TSkyModel sky;
  TSatellitesWindow form(kSettings);
  Replay(sky, form, kEpoch);
  EXPECT_EQ(form.SortedTable().rowCount(), 0);
  form.show();
  EXPECT_EQ(form.SortedTable().rowCount(), 5);
  EXPECT_EQ(MarkerColour(*form.Plot(), 62, 310), SkySystemColour(TSkySystem::GPS));
}

TEST(SatellitesForm, GeometryKeptInTheSettings) {
  TTempSettingsHome home;
  {
    TSatellitesWindow never(kSettings);
    never.SaveGeometry();
    EXPECT_EQ(ReadSettingInt("Windows", "SatellitesWidth", -1), -1) << "never shown, not written";
  }
  {
    TSatellitesWindow form(kSettings);
    form.show();
    form.move(40, 30);
    form.resize(640, 400);
    form.close();
  }
  EXPECT_EQ(ReadSettingInt("Windows", "SatellitesLeft", -1), 40);
  EXPECT_EQ(ReadSettingInt("Windows", "SatellitesTop", -1), 30);
  EXPECT_EQ(ReadSettingInt("Windows", "SatellitesWidth", -1), 640);
  EXPECT_EQ(ReadSettingInt("Windows", "SatellitesHeight", -1), 400);
  TSatellitesWindow reopened(kSettings);
  EXPECT_EQ(reopened.pos(), QPoint(40, 30));
  EXPECT_EQ(reopened.size(), QSize(640, 400));

  // A place no screen shows is not used; the size still is.
  WriteSettingInt("Windows", "SatellitesLeft", -20000);
  TSatellitesWindow offScreen(kSettings);
  EXPECT_NE(offScreen.pos(), QPoint(-20000, 30));
  EXPECT_EQ(offScreen.size(), QSize(640, 400));
}

TEST(SatellitesForm, FailedGeometryWriteIsNotReported) {
  TTempSettingsHome home;
  // The settings folder's parent is a regular file: every write fails.
  const QString blocker = QString::fromStdString(home.Path()) + "/file";
  QFile file(blocker);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  qputenv("XDG_CONFIG_HOME", (blocker + "/config").toLocal8Bit());
  TSatellitesWindow form(kSettings);
  form.show();
  EXPECT_NO_THROW(form.SaveGeometry());
  EXPECT_NO_THROW(form.close());
}

}  // namespace
