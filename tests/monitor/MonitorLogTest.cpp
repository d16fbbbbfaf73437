// Logging and replay through the monitor: the log holds what was shown, the
// replay is paced one line a tick, pauses, ends by itself and lets go of the
// port; the mode indicator blinks at its own pace.

#include <gtest/gtest.h>

#include <QFile>

#include "tests/monitor/MonitorHarness.h"
#include "tests/support/TextFiles.h"

namespace {

const std::string kLines[] = {FrameSentence("GPGLL,1"), FrameSentence("GPGLL,2"),
                              FrameSentence("GPGLL,3")};

TEST(MonitorLog, LogHoldsExactlyTheLinesShown) {
  TMonitorHarness harness;
  const std::string file = harness.Home.Path() + "/log.TXT";
  harness.Monitor.OpenPort(0);
  harness.Monitor.StartLogging(file);
  harness.Receive({kLines[0], "$GPGLL,bad*00"});
  harness.Set(&TMonitorOptions::RecordTimestamps);
  harness.Tick += 7;
  harness.Receive({kLines[1]});
  harness.Set(&TMonitorOptions::IgnoreInvalid);
  harness.Receive({"$GPGLL,dropped*01", kLines[2]});
  ASSERT_EQ(harness.Shown.size(), 4u);
  EXPECT_EQ(harness.Shown[2], "~7," + kLines[1]);
  harness.Monitor.Stop();
  EXPECT_EQ(ReadAll(file), AsLog(harness.Shown));
  EXPECT_EQ(harness.Monitor.Port(), nullptr) << "Stop also lets go of the port";
  EXPECT_FALSE(harness.Monitor.NeedsTicks());
}

TEST(MonitorLog, StartsAndStampsAsTheUserExpects) {
  const struct {
    const char* Legend;
    std::string Name;      // under the settings home
    std::string Expected;  // the file that appears
  } cases[] = {
      {"plain name", "/log.TXT", "/log.TXT"},
      {"date and time of the start", "/trip_%DATE_%TIME.TXT", "/trip_20240305_090702.TXT"},
  };
  for (const auto& c : cases) {
    TMonitorHarness harness;
    TDateTime date = 0;
    TryEncodeDate(2024, 3, 5, date);
    TDateTime time = 0;
    TryEncodeTime(9, 7, 2, 0, time);
    harness.Now = date + time;
    harness.Set(&TMonitorOptions::RecordTimestamps);
    harness.Monitor.OpenPort(0);
    harness.Tick += 5000;
    harness.Monitor.StartLogging(harness.Home.Path() + c.Name);
    harness.Tick += 3;
    harness.Receive({kLines[0]});
    EXPECT_EQ(harness.Shown, std::vector<std::string>{"~3," + kLines[0]})
        << c.Legend << ": relative stamps restart at the logging start";
    harness.Monitor.Stop();
    EXPECT_EQ(ReadAll(harness.Home.Path() + c.Expected), "~3," + kLines[0] + "\r\n") << c.Legend;
  }
}

TEST(MonitorLog, FailuresLeaveTheMonitorUsable) {
  TMonitorHarness harness;
  const std::string blocker = harness.Home.Path() + "/file";
  ASSERT_TRUE(WriteAll(blocker, ""));
  EXPECT_THROW(harness.Monitor.StartLogging(blocker + "/under-a-file.TXT"), std::exception);
  EXPECT_FALSE(harness.Monitor.Logging());
  EXPECT_THROW(harness.Monitor.StartReplay(harness.Home.Path() + "/missing.TXT"), std::exception);
  EXPECT_FALSE(harness.Monitor.Replaying());
  EXPECT_EQ(harness.Monitor.TickInterval(), TMonitor::kIdleInterval);

  // A full disk: the tick reports it with the line already shown; logging goes on,
  // and Stop still lets go of the port when the last write fails.
  harness.Monitor.OpenPort(0);
  harness.Monitor.StartLogging("/dev/full");
  for (int line = 0; line < 3000; ++line) harness.Receive({kLines[0]});
  EXPECT_EQ(harness.Shown.size(), 3000u);
  EXPECT_TRUE(harness.Monitor.Logging());
  EXPECT_THROW(harness.Monitor.Stop(), std::exception);
  EXPECT_FALSE(harness.Monitor.Logging());
  EXPECT_EQ(harness.Monitor.Port(), nullptr);
}

TEST(MonitorLog, ModeIndicatorBlinksEvery110MsWhileLoggingAndAtTheSlowerReplayPace) {
  TMonitorHarness harness;
  TMonitor& monitor = harness.Monitor;
  EXPECT_EQ(monitor.BlinkInterval(), 0) << "nothing to blink for";
  EXPECT_FALSE(monitor.Blink().ModeVisible);
  monitor.OpenPort(0);
  monitor.StartLogging(harness.Home.Path() + "/blink.TXT");
  EXPECT_EQ(monitor.BlinkInterval(), 110);
  std::vector<std::optional<bool>> shown;
  for (int blink = 0; blink < 3; ++blink) shown.push_back(monitor.Blink().ModeVisible);
  EXPECT_EQ(shown, (std::vector<std::optional<bool>>{true, false, true}));
  monitor.Stop();
  monitor.Replay().SetRate(10);
  ASSERT_TRUE(WriteAll(harness.Home.Path() + "/r.TXT", AsLog({kLines[0]})));
  monitor.StartReplay(harness.Home.Path() + "/r.TXT");
  EXPECT_EQ(monitor.BlinkInterval(), 110) << "no faster than while logging";
  EXPECT_EQ(monitor.Blink().ModeVisible, std::optional<bool>(true)) << "shown first again";
}

class MonitorReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    File = Harness.Home.Path() + "/replay.TXT";
    ASSERT_TRUE(WriteAll(File, AsLog({kLines[0], kLines[1], kLines[2]})));
    Harness.Monitor.Replay().SetRate(200);
  }

  TMonitorHarness Harness;
  std::string File;
};

TEST_F(MonitorReplayTest, PacedPausedAndEndedByItself) {
  TMonitor& monitor = Harness.Monitor;
  monitor.StartReplay(File);
  EXPECT_EQ(monitor.TickInterval(), 200);
  Harness.Ticks(1);
  EXPECT_EQ(Harness.Shown, std::vector<std::string>{kLines[0]});

  monitor.Replay().SetPaused(true);
  Harness.Ticks(3);
  EXPECT_EQ(Harness.Shown.size(), 1u) << "nothing is read while paused";
  EXPECT_EQ(monitor.BlinkInterval(), 200) << "still blinking while paused";

  monitor.Replay().SetPaused(false);
  Harness.Ticks(2);
  EXPECT_EQ(Harness.Shown, (std::vector<std::string>{kLines[0], kLines[1], kLines[2]}));
  EXPECT_FALSE(Harness.Results.back().ReplayEnded);
  Harness.Ticks(1);
  EXPECT_TRUE(Harness.Results.back().ReplayEnded) << "the tick after the last line stops";
  EXPECT_FALSE(monitor.Replaying());
  EXPECT_EQ(monitor.TickInterval(), TMonitor::kIdleInterval);
  EXPECT_FALSE(monitor.NeedsTicks());
}

TEST_F(MonitorReplayTest, PortOpenedMeanwhileIsNotReadAndIsClosedAtTheEnd) {
  Harness.Monitor.StartReplay(File);
  Harness.Monitor.OpenPort(1);
  Harness.Script->Incoming = "$GPGLL,live*00\r\n";
  Harness.Script->DSR = true;
  Harness.Arrived();
  Harness.Ticks(4);
  Harness.Arrived();
  EXPECT_EQ(Harness.Shown, (std::vector<std::string>{kLines[0], kLines[1], kLines[2]}));
  EXPECT_EQ(Harness.Monitor.Port(), nullptr);
  for (const TTickResult& result : Harness.Results)
    EXPECT_FALSE(result.Lamp) << "DSR is not read during a replay";
}

TEST_F(MonitorReplayTest, StampedLogReplaysWithItsPrefixAndAFreshOne) {
  ASSERT_TRUE(WriteAll(File, "~5," + kLines[0] + "\r\n\r\n"));
  Harness.Set(&TMonitorOptions::RecordTimestamps);
  Harness.Monitor.StartReplay(File);
  Harness.Tick += 200;
  Harness.Ticks(2);
  EXPECT_EQ(Harness.Shown, std::vector<std::string>{"~200,~5," + kLines[0]})
      << "the empty line uses up a period and shows nothing";
  EXPECT_TRUE(Harness.Results[0].Updates.empty()) << "a prefixed line is not decoded as GLL";
}

TEST_F(MonitorReplayTest, NewReplayAfterAPausedStopStartsUnpaused) {
  Harness.Monitor.StartReplay(File);
  Harness.Monitor.Replay().SetPaused(true);
  Harness.Monitor.Stop();
  Harness.Monitor.StartReplay(File);
  EXPECT_FALSE(Harness.Monitor.Replay().Paused());
  Harness.Ticks(1);
  EXPECT_EQ(Harness.Shown.size(), 1u);
}

TEST_F(MonitorReplayTest, EmptyFileStopsAtTheFirstTick) {
  ASSERT_TRUE(WriteAll(File, ""));
  Harness.Monitor.StartReplay(File);
  Harness.Ticks(1);
  EXPECT_TRUE(Harness.Results.back().ReplayEnded);
  EXPECT_TRUE(Harness.Shown.empty());
}

}  // namespace
