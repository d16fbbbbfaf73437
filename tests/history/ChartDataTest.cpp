// The Charts window's data followed from a history as it grows, is cleared
// and lets its oldest epochs go.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "history/ChartData.h"
#include "history/FixQuality.h"
#include "tests/history/EpochSignals.h"

namespace {

std::string TimeText(int seconds) {
  char text[48];
  std::snprintf(text, sizeof text, "%02d%02d%02d", seconds / 3600 % 24, seconds / 60 % 60,
                seconds % 60);
  return text;
}

using testing_history::Signal;

// An RTK-fixed epoch at `seconds` with GPS 5 on L1 (40 dB-Hz) and L5
// (44), used, and GPS 7 on L1 (30), not used.
TEpoch FixedEpoch(int seconds) {
  TEpoch epoch;
  epoch.Time = TimeText(seconds);
  epoch.Quality = 4;
  epoch.Altitude = 500;
  epoch.PDOP = 1.5;
  epoch.HDOP = 0.9;
  epoch.VDOP = 1.2;
  epoch.Signals = {Signal(TSkySystem::GPS, 5, 1, 45, 40, true),
                   Signal(TSkySystem::GPS, 5, 7, 45, 44, true),
                   Signal(TSkySystem::GPS, 7, 1, 30, 30, false)};
  return epoch;
}

TEpoch NoFixEpoch(int seconds) {
  TEpoch epoch;
  epoch.Time = TimeText(seconds);
  epoch.Quality = 0;
  return epoch;
}

using TSegmentCounts = std::vector<size_t>;

TSegmentCounts SegmentCounts(const TChartData& data, TChartPlot plot) {
  TSegmentCounts counts;
  for (const auto& [key, line] : data.Lines(plot)) counts.push_back(line.Points.Segments().size());
  return counts;
}

std::vector<std::string> Names(const TChartData& data, TChartPlot plot) {
  std::vector<std::string> names;
  for (const auto& [key, line] : data.Lines(plot)) names.push_back(line.Name);
  return names;
}

// Each line's system colour and dash: "GPS, in view"; "-" for a line of no
// system.
std::vector<std::string> Looks(const TChartData& data, TChartPlot plot) {
  std::vector<std::string> looks;
  for (const auto& [key, line] : data.Lines(plot))
    looks.push_back(line.System ? std::string(SkySystemName(*line.System)) + ", " + line.DashName
                                : "-");
  return looks;
}

struct TGapCase {
  const char* Legend;
  std::vector<TEpoch> Epochs;
  TSegmentCounts Altitude;
  TSegmentCounts CN0;
};

std::vector<TEpoch> Fixed(std::initializer_list<int> seconds) {
  std::vector<TEpoch> epochs;
  for (int second : seconds) epochs.push_back(FixedEpoch(second));
  return epochs;
}

const TGapCase kGapCases[] = {
    {"a steady 1 Hz receiver draws unbroken lines", Fixed({0, 1, 2, 3}), {1}, {1, 1}},
    {"an epoch without a fix breaks the altitude, not the sky",
     {FixedEpoch(0), FixedEpoch(1),
      [] {
        TEpoch epoch = FixedEpoch(2);
        epoch.Quality = 0;
        epoch.Altitude.reset();
        return epoch;
      }(),
      FixedEpoch(3)},
     {2},
     {1, 1}},
    {"a receiver gone for ten minutes breaks every line", Fixed({0, 1, 600, 601}), {2}, {2, 2}},
    {"a 5 s receiver is not a string of gaps", Fixed({0, 5, 10, 15}), {1}, {1, 1}},
    {"a receiver gone after its first epoch", Fixed({0, 300, 301}), {2}, {2, 2}},
    {"a 1 Hz receiver slowing to 5 s breaks once", Fixed({0, 1, 2, 7, 12, 17}), {2}, {2, 2}},
    {"a satellite lost for an epoch breaks its own line only",
     {FixedEpoch(0),
      [] {
        TEpoch epoch = FixedEpoch(1);
        epoch.Signals.pop_back();
        return epoch;
      }(),
      FixedEpoch(2)},
     {1},
     {1, 2}},
};

TEST(ChartData, Gaps) {
  for (const TGapCase& test : kGapCases) {
    SCOPED_TRACE(test.Legend);
    THistory history;
    for (const TEpoch& epoch : test.Epochs) history.Append(epoch);
    TChartData data;
    TChartChoice choice;
    choice.MeanPerBand = false;
    choice.HiddenSignals = {ChartSignalKey(TSkySystem::GPS, 7)};
    data.Follow(history, TChartRange{.Column = 0.5}, choice);
    EXPECT_EQ(SegmentCounts(data, TChartPlot::Altitude), test.Altitude);
    EXPECT_EQ(SegmentCounts(data, TChartPlot::CN0), test.CN0);
  }
}

TEST(ChartData, LinesPerPlot) {
  THistory history;
  history.Append(FixedEpoch(0));
  TChartData data;
  data.Follow(history, {}, {});
  EXPECT_EQ(Names(data, TChartPlot::CN0), (std::vector<std::string>{"GPS L1", "GPS L5"}));
  EXPECT_EQ(data.Lines(TChartPlot::CN0).at(0).Points.Segments(),
            (std::vector<TChartSegment>{{{0, 35}}}));
  EXPECT_EQ(Names(data, TChartPlot::Satellites),
            (std::vector<std::string>{"GPS in view", "GPS used"}));
  EXPECT_EQ(data.Lines(TChartPlot::Satellites).at(0).Points.Segments(),
            (std::vector<TChartSegment>{{{0, 2}}}));
  EXPECT_EQ(data.Lines(TChartPlot::Satellites).at(1).Points.Segments(),
            (std::vector<TChartSegment>{{{0, 1}}}));
  EXPECT_EQ(Names(data, TChartPlot::Dilution), (std::vector<std::string>{"PDOP", "HDOP", "VDOP"}));
  EXPECT_EQ(Looks(data, TChartPlot::CN0), (std::vector<std::string>{"GPS, L1", "GPS, L5"}));
  EXPECT_EQ(Looks(data, TChartPlot::Satellites),
            (std::vector<std::string>{"GPS, in view", "GPS, used"}));
  EXPECT_EQ(Looks(data, TChartPlot::Dilution), (std::vector<std::string>{"-", "-", "-"}));

  TChartChoice each;
  each.MeanPerBand = false;
  each.HiddenSystems = {TSkySystem::GLONASS};
  data.Follow(history, {}, each);
  EXPECT_EQ(Names(data, TChartPlot::CN0),
            (std::vector<std::string>{"GPS 5 L1 C/A", "GPS 5 L5-I", "GPS 7 L1 C/A"}));
}

// Following a growing history step by step must draw what one pass over
// the whole history draws, through clears and evictions.
TEST(ChartData, FollowingEqualsStartingOver) {
  struct TStep {
    const char* Legend;
    std::vector<TEpoch> Append;
    bool Clear;
  };
  const TStep steps[] = {
      {"first epochs", Fixed({0, 1, 2}), false},
      {"more, a fallback and a gap", {NoFixEpoch(3), FixedEpoch(4), FixedEpoch(90)}, false},
      {"past the capacity: the oldest go", Fixed({91, 92, 93, 94}), false},
      {"a new source", Fixed({500, 501}), true},
  };
  THistory history(5);
  TChartData followed;
  const TChartRange range{.Column = 1};
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Legend);
    if (step.Clear) history.Clear();
    for (const TEpoch& epoch : step.Append) history.Append(epoch);
    followed.Follow(history, range, {});
    TChartData fresh;
    fresh.Follow(history, range, {});
    for (int plot = 0; plot < kChartPlotCount; ++plot) {
      const auto& mine = followed.Lines(static_cast<TChartPlot>(plot));
      const auto& theirs = fresh.Lines(static_cast<TChartPlot>(plot));
      ASSERT_EQ(mine.size(), theirs.size());
      for (auto a = mine.begin(), b = theirs.begin(); a != mine.end(); ++a, ++b)
        EXPECT_EQ(a->second.Points.Segments(), b->second.Points.Segments()) << a->second.Name;
    }
    EXPECT_EQ(followed.Quality().Spans(), fresh.Quality().Spans());
    EXPECT_EQ(followed.FirstTime(), fresh.FirstTime());
  }
}

TEST(ChartData, BandsAndNothingNewIsNoChange) {
  THistory history;
  for (int second = 0; second < 4; ++second) {
    TEpoch epoch = second == 2 ? NoFixEpoch(second) : FixedEpoch(second);
    epoch.Interference = second >= 2;
    // The receiver's verdicts from the second epoch on: ok, one block
    // critical, warning.
    const TJammingState l1[] = {TJammingState::Ok, TJammingState::Ok, TJammingState::Warning};
    if (second >= 1) epoch.Jamming = {{0, l1[second - 1]}};
    if (second == 2) epoch.Jamming.push_back({1, TJammingState::Critical});
    history.Append(epoch);
  }
  TChartData data;
  EXPECT_TRUE(data.Follow(history, {}, {}));
  const int fixed = static_cast<int>(TFixQuality::RTKFixed);
  const int none = static_cast<int>(TFixQuality::NoFix);
  EXPECT_EQ(data.Quality().Spans(),
            (std::vector<TChartSpan>{{0, 2, fixed}, {2, 3, none}, {3, 4, fixed}}));
  EXPECT_EQ(data.Interference().Spans(), (std::vector<TChartSpan>{{2, 3, 1}}));
  EXPECT_EQ(data.Jamming().Spans(), (std::vector<TChartSpan>{{1, 2, -1}, {2, 3, -3}, {3, 4, -2}}));
  EXPECT_FALSE(data.Follow(history, {}, {}));
}

}  // namespace
