// The interference watch on synthetic skies at 1 Hz: eight GPS L1 and six
// Galileo E5a satellites high enough to count, and what happens to them.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "history/Interference.h"
#include "tests/history/EpochSignals.h"

namespace {

using testing_history::Signal;

// The sky at `second` seconds; `snr(index)` gives each satellite's C/N0, -1
// for none.
using TSkyAt = std::function<std::vector<TEpochSignal>(int second)>;

TSkyAt Sky(std::function<int(int second, int index)> snr, int gpsCount = 8, int galileoCount = 6) {
  return [=](int second) {
    std::vector<TEpochSignal> signals;
    for (int i = 0; i < gpsCount; ++i)
      signals.push_back(Signal(TSkySystem::GPS, i + 1, 1, 45, snr(second, i)));
    for (int i = 0; i < galileoCount; ++i)
      signals.push_back(Signal(TSkySystem::Galileo, i + 1, 1, 45, snr(second, gpsCount + i)));
    return signals;
  };
}

// The seconds at which the alarm was on, over `seconds` epochs with a fix.
std::vector<int> AlarmSeconds(const TSkyAt& sky, int seconds) {
  TInterferenceWatch watch;
  std::vector<int> on;
  for (int second = 0; second < seconds; ++second)
    if (watch.Take(sky(second), true)) on.push_back(second);
  return on;
}

std::vector<int> Range(int first, int last) {
  std::vector<int> seconds;
  for (int second = first; second <= last; ++second) seconds.push_back(second);
  return seconds;
}

TEST(Interference, Rule) {
  const auto steady = [](int, int index) { return 40 + index % 5; };
  struct TRow {
    const char* Legend;
    TSkyAt Sky;
    int Seconds;
    std::vector<int> Alarm;
  };
  const TRow rows[] = {
      {"every C/N0 10 dB down from 400 s to 419 s: on at the third epoch, off at recovery",
       Sky([&](int second, int index) {
         return steady(second, index) - (second >= 400 && second < 420 ? 10 : 0);
       }),
       430, Range(402, 419)},
      {"half the sky lost: the rest still at their baselines",
       Sky([&](int second, int index) {
         return second >= 400 && index % 2 == 0 ? -1 : steady(second, index);
       }),
       430,
       {}},
      {"a slow fade of 1 dB a minute for half an hour: the baselines follow",
       Sky([&](int second, int index) { return steady(second, index) - second / 60; }),
       1800,
       {}},
      {"only three satellites a band: no band can tell",
       Sky([&](int second, int index) { return steady(second, index) - (second >= 400 ? 20 : 0); },
           3, 3),
       430,
       {}},
      {"jammed from the 10th second on: the baselines learn the jammed level",
       Sky([&](int second, int index) { return steady(second, index) - (second >= 10 ? 10 : 0); }),
       200,
       {}},
      {"jammed from the 50th second: noticed once the baselines hold 60 epochs",
       Sky([&](int second, int index) { return steady(second, index) - (second >= 50 ? 10 : 0); }),
       63, Range(62, 62)},
      {"only the L1 band drops: the L5 band that can tell is fine",
       Sky([&](int second, int index) {
         return steady(second, index) - (second >= 400 && index < 8 ? 10 : 0);
       }),
       430,
       {}},
      {"an L1 band without L5 drops by 6 dB, exactly the threshold",
       Sky([&](int second, int index) { return steady(second, index) - (second >= 400 ? 6 : 0); },
           8, 0),
       403, Range(402, 402)},
      {"two suspect epochs, then one normal: no alarm",
       Sky([&](int second, int index) {
         return steady(second, index) - (second == 400 || second == 401 ? 10 : 0);
       }),
       410,
       {}},
  };
  for (const TRow& row : rows)
    EXPECT_EQ(AlarmSeconds(row.Sky, row.Seconds), row.Alarm) << row.Legend;
}

TEST(Interference, AlarmHoldsUntilEverySignalIsNearItsBaseline) {
  TInterferenceWatch watch;
  const auto at = [](int drop) {
    return Sky([=](int, int index) { return 40 - (index == 0 ? drop : 0); })(0);
  };
  for (int second = 0; second < 100; ++second) watch.Take(at(0), true);
  const auto all = [](int drop) { return Sky([=](int, int) { return 40 - drop; })(0); };
  for (int i = 0; i < 3; ++i) watch.Take(all(10), true);
  ASSERT_TRUE(watch.Suspected());
  EXPECT_TRUE(watch.Take(all(4), true)) << "4 dB down: neither suspect nor clear";
  EXPECT_TRUE(watch.Take(at(4), true)) << "one signal still more than 3 dB down";
  EXPECT_FALSE(watch.Take(at(3), true)) << "every signal within 3 dB";
}

TEST(Interference, BandsLeaveOutE6L6AndNavIC) {
  struct TRow {
    TSkySystem System;
    int Signal;
    std::optional<TSkyBand> Band;
  };
  const TRow rows[] = {
      {TSkySystem::GPS, 0, TSkyBand::L1},     {TSkySystem::SBAS, 1, TSkyBand::L1},
      {TSkySystem::GLONASS, 3, TSkyBand::L2}, {TSkySystem::BeiDou, 8, TSkyBand::L2},
      {TSkySystem::Galileo, 2, TSkyBand::L5}, {TSkySystem::BeiDou, 5, TSkyBand::L5},
      {TSkySystem::Galileo, 5, std::nullopt}, {TSkySystem::QZSS, 10, std::nullopt},
      {TSkySystem::NavIC, 1, std::nullopt},   {TSkySystem::NavIC, 5, std::nullopt},
  };
  for (const TRow& row : rows)
    EXPECT_EQ(InterferenceBand(row.System, row.Signal), row.Band)
        << SkySystemName(row.System) << " signal " << row.Signal;
}

}  // namespace
