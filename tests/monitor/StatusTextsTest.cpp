#include <gtest/gtest.h>

#include <functional>

#include "common/Routines.h"
#include "monitor/StatusTexts.h"
#include "source/FrameBuilder.h"
#include "tests/monitor/MonitorHarness.h"
#include "tests/support/TextFiles.h"

namespace {

using TKind = TMonitor::TSource::TKind;

TMonitor::TSource Port() {
  TMonitor::TSource source;
  source.Kind = TKind::Port;
  source.Text = "COM3: /dev/ttyACM0 at 9600 baud";
  source.StartTick = 1000;
  return source;
}

TEST(StatusTexts, SourceNamesWhereLinesComeFrom) {
  TMonitor::TSource replay;
  replay.Kind = TKind::Replay;
  replay.Name = "trip.TXT";
  replay.PercentRead = 42;
  const struct {
    const char* Legend;
    TMonitor::TSource Source;
    const char* Text;
  } cases[] = {
      {"a port", Port(), "COM3: /dev/ttyACM0 at 9600 baud"},
      {"a replay", replay, "Replay: trip.TXT, 42 %"},
      {"nothing", TMonitor::TSource{}, "No source"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StatusTexts(c.Source, TSentenceStats(), 0).Source, c.Text) << c.Legend;
}

TEST(StatusTexts, RateFailuresAndAge) {
  const std::string good = FrameSentence("GPGLL,1");
  const struct {
    const char* Legend;
    TKind Kind;
    std::vector<uint32_t> LinesAt;  // ticks of good lines; one bad line at the first
    uint32_t Now;
    const char* Rate;
    const char* Bad;
    const char* Age;
    bool Warning;
  } cases[] = {
      {"nothing yet, just opened",
       TKind::Port,
       {},
       2000,
       "0.0 lines/s",
       "0 bad checksums",
       "",
       false},
      {"nothing for 3 s after opening",
       TKind::Port,
       {},
       4000,
       "0.0 lines/s",
       "0 bad checksums",
       "No data for 3 s",
       true},
      {"a line a moment ago",
       TKind::Port,
       {1500},
       1900,
       "2.0 lines/s",
       "1 bad checksum",
       "Last line 0.4 s ago",
       false},
      {"silent for 5.9 s",
       TKind::Port,
       {1500},
       7400,
       "0.3 lines/s",
       "1 bad checksum",
       "No data for 5 s",
       true},
      {"the source ended: its counts stay, no rate or age",
       TKind::None,
       {1500},
       1900,
       "",
       "1 bad checksum",
       "",
       false},
      {"a replay is never a warning",
       TKind::Replay,
       {1500},
       7400,
       "0.3 lines/s",
       "1 bad checksum",
       "Last line 5.9 s ago",
       false},
  };
  for (const auto& c : cases) {
    TSentenceStats stats;
    for (uint32_t tick : c.LinesAt) {
      stats.Count("$GPGLL,1*00", TLineFault::BadChecksum, tick);
      stats.Count(good, TLineFault::None, tick);
    }
    TMonitor::TSource source = Port();
    source.Kind = c.Kind;
    const TStatusTexts texts = StatusTexts(source, stats, c.Now);
    EXPECT_EQ(texts.Rate, c.Rate) << c.Legend;
    EXPECT_EQ(texts.BadChecksums, c.Bad) << c.Legend;
    EXPECT_EQ(texts.Age, c.Age) << c.Legend;
    EXPECT_EQ(texts.AgeIsWarning, c.Warning) << c.Legend;
  }
}

// However the source ends, the counts stay and the rate and age go.
TEST(StatusTexts, LetGoWhenTheSourceEnds) {
  const std::string good = FrameSentence("GPGLL,4916.45,N,12311.12,W,225444,A");
  const std::string bad = "$GPGLL,1*00";
  const struct {
    const char* Legend;
    std::function<void(TMonitorHarness&)> RunAndEnd;
  } cases[] = {
      {"a replay runs to its end",
       [&](TMonitorHarness& harness) {
         const std::string replay = harness.Home.Path() + "/end.TXT";
         ASSERT_TRUE(WriteAll(replay, good + "\r\n" + bad + "\r\n"));
         harness.Monitor.StartReplay(replay);
         harness.Ticks(3);
         EXPECT_TRUE(harness.Results.back().ReplayEnded);
       }},
      {"Stop with a port open",
       [&](TMonitorHarness& harness) {
         harness.Monitor.OpenPort(2);
         harness.Receive({good, bad});
         harness.Monitor.Stop();
       }},
  };
  for (const auto& c : cases) {
    TMonitorHarness harness;
    c.RunAndEnd(harness);
    harness.Tick += 700;
    const TSentenceStats& stats = harness.Monitor.Stats();
    const TStatusTexts texts = StatusTexts(harness.Monitor.Source(), stats, harness.Tick);
    EXPECT_EQ(texts.Source, "No source") << c.Legend;
    EXPECT_EQ(texts.Rate, "") << c.Legend;
    EXPECT_EQ(texts.BadChecksums, "1 bad checksum") << c.Legend;
    EXPECT_EQ(texts.Age, "") << c.Legend;
    EXPECT_EQ(stats.Total().Count, 2u) << c.Legend;
    EXPECT_EQ(stats.LinesPerSecond(stats.Total(), harness.Tick), 0.0) << c.Legend;
  }
}

}  // namespace

namespace {

TEST(StatusTexts, FixBetterThanGpsBesideTheSource) {
  struct TRow {
    const char* Legend;
    const char* Fields;  // of the GGA from the quality on
    const char* Text;
  };
  const TRow rows[] = {
      {"plain GPS says nothing", "1,08,0.9,545.4,M,46.9,M,,", ""},
      {"RTK float with the age of its corrections", "5,08,0.9,545.4,M,46.9,M,2.43,0042",
       "RTK float, corrections 2.4 s old"},
      {"RTK fixed without an age", "4,08,0.9,545.4,M,46.9,M,,", "RTK fixed"},
      {"DGPS", "2,08,0.9,545.4,M,46.9,M,12.0,0042", "DGPS, corrections 12.0 s old"},
  };
  for (const TRow& row : rows) {
    TMonitorHarness harness;
    harness.Monitor.OpenPort(2);
    const std::string fix = std::string("4807.038,N,01131.000,E,") + row.Fields;
    harness.Receive({FrameSentence("GPGGA,120000," + fix), FrameSentence("GPGGA,120001," + fix)});
    const TFixStatusText status =
        FixStatusText(harness.Monitor.History(), harness.Monitor.Recorder());
    EXPECT_EQ(status.Text, row.Text) << row.Legend;
    EXPECT_FALSE(status.Alarm) << row.Legend;
  }
}

}  // namespace

namespace {

// MON-RF frames from the port: the receiver's worst verdict with its blocks,
// until 10 s pass without one or the source starts afresh.
TEST(StatusTexts, ReceiverReportsJamming) {
  const struct {
    const char* Legend;
    std::vector<std::pair<uint8_t, uint8_t>> Blocks;  // block id, flags
    uint32_t Later;                                   // ms after the frame
    bool Reopened;
    const char* Said;  // after "Receiver reports jamming "
  } rows[] = {
      {"L1 critical", {{0, 3}}, 500, false, "(L1): critical"},
      {"both blocks at the worst", {{0, 2}, {1, 2}}, 500, false, "(L1, L2): warning"},
      {"the worst block alone", {{0, 1}, {1, 0xF3}}, 500, false, "(L2): critical"},
      {"ok and unknown say nothing", {{0, 1}, {1, 0}}, 500, false, ""},
      {"9.9 s later", {{0, 2}}, 9900, false, "(L1): warning"},
      {"10 s without MON-RF", {{0, 2}}, 10000, false, ""},
      {"the port opened again", {{0, 3}}, 500, true, ""},
  };
  for (const auto& row : rows) {
    TMonitorHarness harness;
    harness.Monitor.OpenPort(2);
    TUbxPayload payload;
    payload.U1(0).U1(static_cast<uint8_t>(row.Blocks.size())).Zeros(2);
    for (const auto& [id, flags] : row.Blocks) payload.U1(id).U1(flags).Zeros(22);
    harness.Receive({UbxFrame(0x0A, 0x38, payload.Bytes())});
    if (row.Reopened) harness.Monitor.OpenPort(2);
    harness.Tick += row.Later;
    const TMonitor& monitor = harness.Monitor;
    const std::string said = *row.Said ? std::string("Receiver reports jamming ") + row.Said : "";
    EXPECT_EQ(
        ReceiverJammingText(monitor.Recorder().Jamming(), harness.Tick - monitor.RfReportTick()),
        said)
        << row.Legend;
  }
}

}  // namespace
