// The history's absolute indices through the jumps of a replay: going back
// within what it holds, restarting outside it, and epochs put in before;
// and what a follower that hands each epoch on once takes as new.

#include <gtest/gtest.h>

#include <vector>

#include "history/EpochFollower.h"
#include "history/EpochHistory.h"

namespace {

TEpoch Numbered(uint64_t line) {
  TEpoch epoch;
  epoch.Line = line;
  return epoch;
}

void Append(THistory& history, int count) {
  for (int n = 0; n < count; ++n) history.Append(Numbered(history.End()));
}

std::vector<uint64_t> Held(const THistory& history) {
  std::vector<uint64_t> lines;
  for (uint64_t index = history.First(); index < history.End(); ++index)
    lines.push_back(history.At(index).Line);
  return lines;
}

TEST(EpochHistory, RestartAndPrependKeepEveryEpochAtItsIndex) {
  // Each step starts from epochs 0..4 in a history of capacity 6 (epoch n
  // is numbered n), then does one thing.
  enum class TDo { RestartAt, Prepend };
  const struct {
    const char* Legend;
    TDo Do;
    uint64_t At;                      // restarts here (before a Prepend too)
    std::vector<uint64_t> Prepended;  // Prepend's epochs
    uint64_t First;
    std::vector<uint64_t> Lines;
  } steps[] = {
      {"back within what is held", TDo::RestartAt, 3, {}, 0, {0, 1, 2}},
      {"to the end: nothing goes", TDo::RestartAt, 5, {}, 0, {0, 1, 2, 3, 4}},
      {"beyond the end: all go", TDo::RestartAt, 40, {}, 40, {}},
      {"what a restart left out comes back", TDo::Prepend, 40, {37, 38, 39}, 37, {37, 38, 39}},
      {"only the newest that fit",
       TDo::Prepend,
       40,
       {31, 32, 33, 34, 35, 36, 37, 38, 39},
       34,
       {34, 35, 36, 37, 38, 39}},
      {"never before index 0", TDo::Prepend, 2, {90, 91}, 0, {0, 1}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Legend);
    THistory history(6);
    for (uint64_t n = 0; n < 5; ++n) history.Append(Numbered(n));
    const uint64_t generation = history.Generation();
    history.RestartAt(step.At);
    if (step.Do == TDo::Prepend) {
      std::vector<TEpoch> older;
      for (uint64_t line : step.Prepended) older.push_back(Numbered(line));
      history.Prepend(std::move(older));
    }
    EXPECT_GT(history.Generation(), generation) << "windows start over";
    EXPECT_EQ(history.First(), step.First);
    EXPECT_EQ(Held(history), step.Lines);
  }
}

TEST(EpochFollower, EachEpochIsNewOnceAndOnlyWhereItWasPlayed) {
  // Each step changes the history, then asks the follower what is new.
  const struct {
    const char* Legend;
    void (*Change)(THistory&, TEpochFollower&);
    uint64_t First, End;  // the range given
  } steps[] = {
      {"the first epochs", [](THistory& h, TEpochFollower&) { Append(h, 3); }, 0, 3},
      {"nothing since", [](THistory&, TEpochFollower&) {}, 3, 3},
      {"more", [](THistory& h, TEpochFollower&) { Append(h, 2); }, 3, 5},
      {"a jump forward, decoded past without being played",
       [](THistory& h, TEpochFollower& f) {
         h.RestartAt(40);
         Append(h, 4);
         f.SkipAll(h);
         Append(h, 1);
       },
       44, 45},
      {"the epochs before it filled in behind",
       [](THistory& h, TEpochFollower&) {
         h.Prepend(std::vector<TEpoch>(5));
         Append(h, 1);
       },
       45, 46},
      {"a new source",
       [](THistory& h, TEpochFollower&) {
         h.Clear();
         Append(h, 2);
       },
       0, 2},
  };
  THistory history;
  TEpochFollower follower;
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Legend);
    step.Change(history, follower);
    const TEpochFollower::TRange range = follower.Next(history);
    EXPECT_EQ(range.First, step.First);
    EXPECT_EQ(range.End, step.End);
  }
}

}  // namespace
