// The history's absolute indices through the jumps of a replay: going back
// within what it holds, restarting outside it, and epochs put in before.

#include <gtest/gtest.h>

#include <vector>

#include "history/EpochHistory.h"

namespace {

TEpoch Numbered(uint64_t line) {
  TEpoch epoch;
  epoch.Line = line;
  return epoch;
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

}  // namespace
