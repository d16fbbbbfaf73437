// A replay at the recorded pace through the monitor, on the harness's tick
// counter: each tick shows the epochs due, the window is told when the next
// is, a gap is named, a pause holds the recorded time, and the end comes with
// the last epoch.

#include <gtest/gtest.h>

#include "tests/monitor/MonitorHarness.h"
#include "tests/support/Sentences.h"
#include "tests/support/TextFiles.h"

namespace {

const std::string kGsv = FrameSentence("GPGSV,1,1,01,07,45,120,40");

struct TStep {
  const char* Legend;
  uint32_t Advance;  // milliseconds before the tick
  size_t Shown;      // lines shown so far
  int Interval;      // the tick interval after it
  const char* Notice = "";
  bool Ended = false;
};

// Each step: the time goes on, a tick, and what it showed and asked for.
template <size_t N>
void RunSteps(TMonitorHarness& harness, const TStep (&steps)[N]) {
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Legend);
    harness.Tick += step.Advance;
    harness.Ticks(1);
    EXPECT_EQ(harness.Shown.size(), step.Shown);
    EXPECT_EQ(harness.Monitor.TickInterval(), step.Interval);
    EXPECT_EQ(harness.Results.back().Notice, step.Notice);
  }
}

TEST(MonitorPace, TicksFollowTheRecordedTimeAtTwiceItsSpeed) {
  TMonitorHarness harness;
  const std::string file = harness.Home.Path() + "/paced.TXT";
  ASSERT_TRUE(WriteAll(
      file, AsLog({"header", Gga("120000"), kGsv, Gga("120001"), Gga("120500"), Gga("120501")})));
  TMonitor& monitor = harness.Monitor;
  monitor.Replay().SetPacing({TReplayMode::RecordedPace, 2});
  monitor.StartReplay(file);
  EXPECT_EQ(monitor.TickInterval(), 0) << "the first epoch comes at once";
  EXPECT_EQ(monitor.BlinkInterval(), TMonitor::kPacedBlinkInterval);

  const TStep steps[] = {
      {"the header and the first epoch; the next is half a second off", 0, 3, 500},
      {"a millisecond early: nothing", 499, 3, 1},
      {"the next epoch, then the gap crossed at once", 1, 5, 500, "Gap of 4 min 59 s skipped"},
  };
  RunSteps(harness, steps);

  harness.Tick += 100;
  monitor.Replay().SetPaused(true);
  harness.Tick += 5000;
  harness.Ticks(1);
  monitor.Replay().SetPaused(false);
  EXPECT_EQ(harness.Shown.size(), 5u) << "nothing while paused";
  EXPECT_EQ(monitor.TickInterval(), 400) << "the pause held the recorded time";
  harness.Tick += 400;
  harness.Ticks(1);
  EXPECT_EQ(harness.Shown.size(), 6u);
  EXPECT_TRUE(harness.Results.back().ReplayEnded) << "the end comes with the last epoch";
}

TEST(MonitorPace, ChangingToTheRecordedPaceGoesOnFromTheLineShown) {
  TMonitorHarness harness;
  const std::string file = harness.Home.Path() + "/switched.TXT";
  ASSERT_TRUE(WriteAll(file, AsLog({Gga("120000"), Gga("120001"), Gga("120002")})));
  TMonitor& monitor = harness.Monitor;
  monitor.Replay().SetRate(10);
  monitor.StartReplay(file);
  harness.Ticks(1);
  harness.Tick += 60000;
  monitor.Replay().SetPacing({TReplayMode::RecordedPace, 1});
  harness.Ticks(1);
  EXPECT_EQ(harness.Shown.size(), 1u) << "the next epoch waits its second from now";
  EXPECT_EQ(monitor.TickInterval(), 1000);
  EXPECT_TRUE(harness.Results.back().Notice.empty());
}

// A tick that took everything due at once would hold the window up for as
// long as the file is.
TEST(MonitorPace, AsFastAsPossibleTakesAnArrivalsWorthATurn) {
  TMonitorHarness harness;
  const std::string file = harness.Home.Path() + "/fast.TXT";
  std::vector<std::string> lines;
  for (int second = 0; second < 50; ++second) {
    lines.push_back(Gga("1200" + std::string(second < 10 ? "0" : "") + std::to_string(second)));
    lines.insert(lines.end(), 4, kGsv);
  }
  ASSERT_TRUE(WriteAll(file, AsLog(lines)));
  TMonitor& monitor = harness.Monitor;
  monitor.Replay().SetPacing({TReplayMode::RecordedPace, TReplayPace::kFastest});
  monitor.StartReplay(file);
  const size_t perTurn = TMonitor::kLinesPerArrival;
  for (size_t turn = 1; turn <= 2; ++turn) {
    harness.Ticks(1);
    EXPECT_EQ(harness.Shown.size(), turn * perTurn);
    EXPECT_TRUE(harness.Results.back().MoreWaiting);
    EXPECT_EQ(monitor.TickInterval(), 0) << "the next turn of the event loop";
  }
  harness.Ticks(1);
  EXPECT_EQ(harness.Shown, lines);
  EXPECT_TRUE(harness.Results.back().ReplayEnded);
}

}  // namespace

// At 10 ms a line the window wakes a frame at a time, and each tick takes
// the lines due since the last one.
TEST(MonitorPace, AShortIntervalTakesATicksWorthOfLines) {
  TMonitorHarness harness;
  const std::string file = harness.Home.Path() + "/short.TXT";
  ASSERT_TRUE(WriteAll(file, AsLog(std::vector<std::string>(40, kGsv))));
  TMonitor& monitor = harness.Monitor;
  monitor.Replay().SetRate(10);
  monitor.StartReplay(file);
  EXPECT_EQ(monitor.TickInterval(), TReplay::kShortestTick);

  const TStep steps[] = {
      {"the first line at once", 0, 1, TReplay::kShortestTick},
      {"a tick with no time gone still takes one", 0, 2, TReplay::kShortestTick},
      {"50 ms later: the five lines due", 50, 7, TReplay::kShortestTick},
      {"a second late: no more than a tick's worth", 1000, 13, TReplay::kShortestTick},
  };
  RunSteps(harness, steps);
}
