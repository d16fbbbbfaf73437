// The charts' series out of a history: where epochs land on the time axis,
// what a pixel column keeps, where lines break and what the bands show.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "history/ChartData.h"
#include "history/FixQuality.h"

namespace {

TEpoch Epoch(const char* time, std::optional<std::string> date = std::nullopt) {
  TEpoch epoch;
  epoch.Time = time;
  epoch.Date = std::move(date);
  return epoch;
}

struct TClockCase {
  const char* Legend;
  std::vector<TEpoch> Epochs;
  std::vector<std::optional<double>> Expected;
};

constexpr double kDay = 86'400;
// 7 January 2026, days since 1970.
constexpr double kJan7 = 20'460 * kDay;

const TClockCase kClockCases[] = {
    {"no date: seconds of the day", {Epoch("101500"), Epoch("101501.5")}, {36'900, 36'901.5}},
    {"midnight without a date still moves right",
     {Epoch("235959"), Epoch("000000"), Epoch("000001")},
     {86'399, kDay, kDay + 1}},
    {"a date gives days since 1970", {Epoch("000010", "070126")}, {kJan7 + 10}},
    {"yesterday's date on the first epoch after midnight",
     {Epoch("235959", "070126"), Epoch("000000", "070126"), Epoch("000001", "080126")},
     {kJan7 + 86'399, kJan7 + kDay, kJan7 + kDay + 1}},
    {"the date arrives late: later epochs move to it",
     {Epoch("120000"), Epoch("120001", "070126")},
     {43'200, kJan7 + 43'201}},
    {"an unreadable date is no date", {Epoch("120000", "320126")}, {43'200}},
    {"29 February of a year without one is no date", {Epoch("120000", "290225")}, {43'200}},
    {"29 February of a leap year", {Epoch("000000", "290224")}, {19'782 * kDay}},
    {"a 1999 date", {Epoch("000000", "311299")}, {10'956 * kDay}},
    {"no time, or a time that does not read",
     {TEpoch{}, Epoch("12:00:00"), Epoch("120000")},
     {std::nullopt, std::nullopt, 43'200}},
};

TEST(ChartSeries, TimeAxis) {
  for (const TClockCase& test : kClockCases) {
    SCOPED_TRACE(test.Legend);
    TChartClock clock;
    std::vector<std::optional<double>> places;
    for (const TEpoch& epoch : test.Epochs) places.push_back(clock.Take(epoch));
    EXPECT_EQ(places, test.Expected);
  }
}

// A line fed point by point (NaN for a break), in columns of 10 s.
struct TReducerCase {
  const char* Legend;
  std::vector<TChartPoint> Points;
  std::vector<TChartSegment> Expected;
  std::optional<double> DropBefore = std::nullopt;
};

const double kBreak = std::nan("");

const TReducerCase kReducerCases[] = {
    {"a column keeps its low and high in the order they came",
     {{0, 5}, {1, 9}, {2, 1}, {3, 4}},
     {{{1, 9}, {2, 1}}}},
    {"a flat column is one point", {{0, 5}, {4, 5}}, {{{0, 5}}}},
    {"a break between columns starts a new segment",
     {{0, 5}, {11, 6}, {12, kBreak}, {25, 7}},
     {{{0, 5}, {11, 6}}, {{25, 7}}}},
    {"a break inside one column cannot be seen", {{0, 5}, {1, kBreak}, {2, 6}}, {{{0, 5}, {2, 6}}}},
    {"negative times fall in their own columns", {{-1, 3}, {1, 4}}, {{{-1, 3}, {1, 4}}}},
    {"columns before the oldest epoch are let go, and the line starts there",
     {{0, 1}, {10, 2}, {20, 3}},
     {{{20, 3}}},
     20},
};

TEST(ChartSeries, ReducedLine) {
  for (const TReducerCase& test : kReducerCases) {
    SCOPED_TRACE(test.Legend);
    TChartReducer line(10);
    for (const TChartPoint& point : test.Points) {
      if (std::isnan(point.Y))
        line.Break();
      else
        line.Add(point.X, point.Y);
    }
    if (test.DropBefore) line.DropBefore(*test.DropBefore);
    EXPECT_EQ(line.Segments(), test.Expected);
  }
}

// A band fed epoch by epoch (-1 for a break), in columns of 10 s.
struct TBandCase {
  const char* Legend;
  std::vector<std::pair<double, int>> Values;
  std::vector<TChartSpan> Expected;
};

const int kFixed = static_cast<int>(TFixQuality::RTKFixed);
const int kFloat = static_cast<int>(TFixQuality::RTKFloat);

const TBandCase kBandCases[] = {
    {"one float epoch among fixed ones still shows in a wide column",
     {{0, kFixed}, {1, kFixed}, {15, kFixed}, {16, kFloat}, {17, kFixed}, {25, kFixed}},
     {{0, 15, kFixed}, {15, 25, kFloat}, {25, 35, kFixed}}},
    {"neighbouring columns of one quality join, and reach to the next",
     {{0, kFloat}, {10, kFloat}, {20, kFixed}},
     {{0, 20, kFloat}, {20, 30, kFixed}}},
    {"a gap leaves the band empty, each side at least a column wide",
     {{0, kFixed}, {1, -1}, {40, kFixed}},
     {{0, 10, kFixed}, {40, 50, kFixed}}},
};

TEST(ChartSeries, Band) {
  for (const TBandCase& test : kBandCases) {
    SCOPED_TRACE(test.Legend);
    TChartBand band(10);
    for (const auto& [x, value] : test.Values) {
      if (value < 0)
        band.Break();
      else
        band.Add(x, value);
    }
    EXPECT_EQ(band.Spans(), test.Expected);
  }
}

struct TQualityCase {
  int Gga;
  std::optional<TFixQuality> Quality;
};

TEST(ChartSeries, FixQualityOfGga) {
  const TQualityCase cases[] = {
      {0, TFixQuality::NoFix},
      {1, TFixQuality::GPS},
      {2, TFixQuality::DGPS},
      {3, TFixQuality::GPS},
      {4, TFixQuality::RTKFixed},
      {5, TFixQuality::RTKFloat},
      {6, TFixQuality::DeadReckoning},
      {7, std::nullopt},
      {8, std::nullopt},
      {-1, std::nullopt},
  };
  for (const TQualityCase& test : cases) {
    SCOPED_TRACE(test.Gga);
    EXPECT_EQ(FixQualityOf(test.Gga), test.Quality);
  }
}

}  // namespace
