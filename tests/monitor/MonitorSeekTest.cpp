// Jumps in a replay through the monitor: after a jump every record (the
// decoder's, the fix fields, the sky, the statistics, the epochs) is what a
// replay from the top of the file leaves at the same place, and the replay
// goes on from there line for line.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <map>
#include <optional>
#include <thread>
#include <tuple>

#include "history/EpochJson.h"
#include "tests/monitor/MonitorHarness.h"
#include "tests/support/TextFiles.h"

namespace {

// Thirty epochs whose fix, satellites and errors change as they go, with a
// bad checksum, an RME in the middle and a header line before the first.
std::vector<std::string> Log() {
  std::vector<std::string> lines = {"# receiver log"};
  for (int second = 0; second < 30; ++second) {
    const std::string time = "1200" + std::string(second < 10 ? "0" : "") + std::to_string(second);
    const int quality = second < 8 ? 0 : (second < 20 ? 1 : 2);
    const int prn = 1 + second % 7;
    lines.push_back(FrameSentence("GPGGA," + time + ",6010." + std::to_string(1000 + second) +
                                  ",N,02456.7890,E," + std::to_string(quality) +
                                  ",08,0.9,25.0,M,18.3,M,,"));
    lines.push_back(FrameSentence("GPRMC," + time + ",A,6010.1234,N,02456.7890,E," +
                                  std::to_string(second) + ".0,045.0,071226,,"));
    lines.push_back(FrameSentence("GPGSA,A," + std::to_string(second < 8 ? 1 : 3) + ",0" +
                                  std::to_string(prn) + ",,,,,,,,,,,,1.2,0.7,1.0"));
    lines.push_back(FrameSentence("GPGSV,1,1,02,0" + std::to_string(prn) + ",45,120," +
                                  std::to_string(30 + second) + ",12,10,200,25"));
    if (second == 12) lines.emplace_back(FrameSentence("PGRME,3.1,M,4.2,M,5.3,M"));
    if (second == 15) lines.emplace_back("$GPGGA,120015,,,,,1,00,,,,,,,*00");
  }
  return lines;
}

using TFields =
    std::map<std::pair<int, int>, std::tuple<std::string, std::optional<bool>, int, int>>;

// The fix fields as the window holds them after every write so far; a
// cleared field is as good as one never written.
TFields FieldsAfter(const std::vector<TTickResult>& results) {
  TFields fields;
  for (const TTickResult& result : results) {
    for (const TFieldUpdate& update : result.Updates) {
      const std::pair key{FieldIndex(update.Field), static_cast<int>(update.Kind)};
      const std::tuple value{update.Text, update.Used, static_cast<int>(update.Colour),
                             update.Position};
      if (value == std::tuple{std::string(), std::optional<bool>(), 0, 0})
        fields.erase(key);
      else
        fields[key] = value;
    }
  }
  return fields;
}

template <typename TDone>
void WaitFor(TDone done) {
  for (int wait = 0; wait < 500 && !done(); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(done());
}

void WaitForIndex(TMonitor& monitor) {
  WaitFor([&] { return monitor.Replay().Index() != nullptr; });
}

// The index, and the checkpoints that the same pass saves after it.
void WaitForCheckpoints(TMonitor& monitor) {
  WaitFor([&] { return monitor.Replay().Checkpointed(); });
}

void ExpectSameState(TMonitorHarness& jumped, TMonitorHarness& played) {
  const TMonitor& a = jumped.Monitor;
  const TMonitor& b = played.Monitor;
  EXPECT_EQ(a.Decoder().GGA, b.Decoder().GGA);
  EXPECT_EQ(a.Decoder().RMC, b.Decoder().RMC);
  EXPECT_EQ(a.Decoder().GSA, b.Decoder().GSA);
  EXPECT_EQ(a.Decoder().GSV, b.Decoder().GSV);
  EXPECT_EQ(a.Decoder().RME, b.Decoder().RME);
  EXPECT_EQ(FieldsAfter(jumped.Results), FieldsAfter(played.Results));
  EXPECT_EQ(a.Sky().ShownEntries(), b.Sky().ShownEntries());
  ASSERT_EQ(a.Stats().Table(0).size(), b.Stats().Table(0).size());
  for (size_t row = 0; row < a.Stats().Table(0).size(); ++row) {
    EXPECT_EQ(a.Stats().Table(0)[row].Cells, b.Stats().Table(0)[row].Cells);
    EXPECT_EQ(a.Stats().Table(0)[row].LastLine, b.Stats().Table(0)[row].LastLine);
  }
  ASSERT_EQ(a.History().First(), b.History().First());
  ASSERT_EQ(a.History().End(), b.History().End());
  for (uint64_t epoch = a.History().First(); epoch < a.History().End(); ++epoch)
    EXPECT_EQ(EpochJson(a.History().At(epoch)), EpochJson(b.History().At(epoch))) << epoch;
}

struct TJump {
  const char* Legend;
  int PlayedFirst;  // lines the replay had shown before the jump
  size_t Epoch;     // where it jumps to
  size_t Spacing = TReplayIndexer::kCheckpointSpacing;  // epochs between checkpoints
  std::optional<size_t> Before = {};                    // an earlier jump
};

TEST(MonitorSeek, AJumpLeavesWhatAReplayFromTheTopLeavesThere) {
  const TJump jumps[] = {
      {"forward from the top, before any fix", 0, 3},
      {"forward past the bad checksum and the RME", 2, 17},
      {"back from further on, across a change of fix quality", 90, 9},
      {"back to the first epoch", 60, 0},
      {"to the last epoch", 5, 29},
      {"to where the replay already stands", 21, 5},
      {"back onto a checkpoint's own epoch", 90, 8, 4},
      {"back between two checkpoints", 110, 14, 4},
      {"back before the first checkpoint", 110, 2, 4},
      {"forward past checkpoints whose history a jump back dropped", 110, 25, 4, 1},
      {"forward from a checkpoint's epoch", 0, 13, 4, 12},
  };
  for (const TJump& jump : jumps) {
    SCOPED_TRACE(jump.Legend);
    TMonitorHarness jumped;
    const std::string file = jumped.Home.Path() + "/seek.TXT";
    ASSERT_TRUE(WriteAll(file, AsLog(Log())));
    jumped.Monitor.Replay().SetCheckpointSpacing(jump.Spacing);
    jumped.Monitor.StartReplay(file);
    WaitForCheckpoints(jumped.Monitor);
    jumped.Ticks(jump.PlayedFirst);
    if (jump.Before) jumped.Gather(jumped.Monitor.JumpTo(*jump.Before));
    jumped.Gather(jumped.Monitor.JumpTo(jump.Epoch));
    ASSERT_TRUE(jumped.Results.back().Jumped);
    EXPECT_EQ(jumped.Monitor.Replay().Epoch(), jump.Epoch);

    TMonitorHarness played;
    played.Monitor.StartReplay(file);
    played.Ticks(static_cast<int>(jumped.Monitor.Replay().Index()->Epochs()[jump.Epoch].Line));
    // The history before a checkpoint that it did not hold comes in behind.
    WaitFor([&] { return !jumped.Monitor.Replay().FillingHistory(); });
    jumped.Ticks(1);
    played.Ticks(1);
    ExpectSameState(jumped, played);

    const size_t shownBefore = jumped.Shown.size();
    jumped.Ticks(6);
    played.Ticks(6);
    const auto goneOn = static_cast<long>(jumped.Shown.size() - shownBefore);
    EXPECT_GT(goneOn, 0);
    EXPECT_EQ(std::vector(jumped.Shown.end() - goneOn, jumped.Shown.end()),
              std::vector(played.Shown.end() - goneOn, played.Shown.end()))
        << "the replay goes on from the new place";
    ExpectSameState(jumped, played);
  }
}

// A jump farther than a jump may decode at once waits, taking no lines, for
// the checkpoints to reach the place, and then leaves what a replay from the
// top leaves there. (Whether the checkpoints are there already when the jump
// comes is up to the indexing thread: the end is the same either way.)
TEST(MonitorSeek, AFarJumpWaitsForTheCheckpointsAndEndsInTheSamePlace) {
  std::vector<std::string> lines;
  for (int copy = 0; copy < 200; ++copy) {  // the log's time goes back at each copy
    const std::vector<std::string> log = Log();
    lines.insert(lines.end(), log.begin(), log.end());
  }
  TMonitorHarness jumped;
  const std::string file = jumped.Home.Path() + "/far.TXT";
  ASSERT_TRUE(WriteAll(file, AsLog(lines)));
  jumped.Monitor.Replay().SetCheckpointSpacing(4);
  jumped.Monitor.Replay().SetJumpDecodeLimit(0);
  jumped.Monitor.StartReplay(file);
  while (!jumped.Monitor.Replay().Index()) std::this_thread::yield();
  const size_t target = jumped.Monitor.Replay().Index()->Size() - 3;
  jumped.Gather(jumped.Monitor.JumpTo(target));
  if (!jumped.Results.back().Jumped) {
    EXPECT_TRUE(jumped.Results.back().Notice.starts_with("Seeking to "));
  }
  // The indexing thread runs below the window's priority: on a busy machine
  // (or under the sanitizers) its checkpoints take a while.
  for (int tick = 0; tick < 10000 && !jumped.Results.back().Jumped; ++tick) {
    EXPECT_TRUE(jumped.Results.back().Lines.empty()) << "no line while the jump waits";
    EXPECT_EQ(jumped.Monitor.Replay().Epoch(), target);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    jumped.Ticks(1);
  }
  ASSERT_TRUE(jumped.Results.back().Jumped);

  TMonitorHarness played;
  played.Monitor.StartReplay(file);
  played.Ticks(static_cast<int>(jumped.Monitor.Replay().Index()->Epochs()[target].Line));
  WaitFor([&] { return !jumped.Monitor.Replay().FillingHistory(); });
  jumped.Ticks(1);
  played.Ticks(1);
  ExpectSameState(jumped, played);
}

// Paused, each step of the bar is one epoch on the screen too.
TEST(MonitorSeek, PausedEachStepMovesTheFixOneEpoch) {
  const struct {
    const char* Legend;
    int Step;
    int Shown;  // the epoch, and the second of its fix
  } steps[] = {{"Right just after the pause", 1, 6},
               {"Left", -1, 5},
               {"Left again", -1, 4},
               {"Right after a run of Left", 1, 5}};
  TMonitorHarness harness;
  const std::string file = harness.Home.Path() + "/paused.TXT";
  ASSERT_TRUE(WriteAll(file, AsLog(Log())));
  harness.Monitor.StartReplay(file);
  WaitForIndex(harness.Monitor);
  harness.Ticks(static_cast<int>(harness.Monitor.Replay().Index()->Epochs()[6].Line));
  harness.Monitor.Replay().SetPaused(true);
  for (const auto& step : steps) {
    harness.Gather(harness.Monitor.JumpTo(harness.Monitor.Replay().Epoch() + step.Step));
    harness.Ticks(1);
    EXPECT_EQ(harness.Monitor.Replay().Epoch(), size_t(step.Shown)) << step.Legend;
    EXPECT_EQ(std::lround(harness.Monitor.Decoder().GGA.Time * 86400), 43200 + step.Shown)
        << step.Legend;
  }
}

TEST(MonitorSeek, NoJumpBeforeTheIndexIsReadyOrWithoutAReplay) {
  TMonitorHarness harness;
  EXPECT_FALSE(harness.Monitor.JumpTo(3).Jumped) << "no replay";
  const std::string file = harness.Home.Path() + "/empty.TXT";
  ASSERT_TRUE(WriteAll(file, AsLog({"no sentences here"})));
  harness.Monitor.StartReplay(file);
  WaitForIndex(harness.Monitor);
  EXPECT_FALSE(harness.Monitor.JumpTo(0).Jumped) << "a log without epochs";
  EXPECT_EQ(harness.Monitor.Replay().IndexPercent(), 100);
}

}  // namespace
