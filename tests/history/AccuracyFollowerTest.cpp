// The figures kept up with the history equal those worked out afresh from
// what it holds, whatever happened to it.

#include <gtest/gtest.h>

#include <cmath>

#include "history/AccuracyFollower.h"

namespace {

// One history step: epochs appended, a Clear, a replay's jump to an epoch,
// or a new reference.
struct TStep {
  int Append = 0;
  bool Clear = false;
  std::optional<uint64_t> JumpTo;
  std::optional<std::optional<TGeodetic>> Reference;
};

struct TFollowCase {
  const char* Legend;
  size_t Capacity;
  std::vector<TStep> Steps;
  double Spread = 1;  // of the fixes, 1 for metres
};

TStep Add(int epochs) {
  TStep step;
  step.Append = epochs;
  return step;
}

TStep Clear() {
  TStep step;
  step.Clear = true;
  return step;
}

TStep JumpTo(uint64_t epoch) {
  TStep step;
  step.JumpTo = epoch;
  return step;
}

TStep Refer(const std::optional<TGeodetic>& reference, int epochs) {
  TStep step = Add(epochs);
  step.Reference = reference;
  return step;
}

const TGeodetic kNorthOfSpot{59.3295, 18.0686, 30};

// A wandering receiver: every third epoch without a fix, every fifth with two.
TEpoch Wander(int n, double spread) {
  TEpoch epoch;
  epoch.Quality = n % 3 == 0 ? std::optional<int>() : std::optional<int>(1 + n % 4);
  if (n % 4 == 0) epoch.LatitudeError = 0.5 + 0.01 * n;
  if (n % 5 == 1) epoch.VerticalAccuracy = 0.02 + 0.001 * n;
  if (n % 3 != 0) {
    for (int k = 0; k < (n % 5 == 0 ? 2 : 1); ++k) {
      TEpochFix& fix = epoch.Fixes.emplace_back();
      fix.Latitude = 59.3294 + spread * (3e-5 * std::sin(n * 1.7 + k) + 1e-6 * n);
      fix.Longitude = 18.0686 + spread * 5e-5 * std::cos(n * 0.9 + k);
      fix.Altitude = 28 + spread * 4 * std::sin(n * 2.3);
      fix.Quality = *epoch.Quality;
    }
  }
  return epoch;
}

void ExpectSame(const TAccuracy& kept, const TAccuracy& fresh) {
  constexpr double kExact = 1e-9;
  constexpr double kRanked = TAccuracyFollower::kSlack * 1.01 + kExact;
  EXPECT_EQ(kept.Fixes, fresh.Fixes);
  EXPECT_EQ(kept.ByQuality, fresh.ByQuality);
  if (fresh.Fixes == 0) return;
  EXPECT_NEAR(kept.Mean.Latitude, fresh.Mean.Latitude, 1e-12);
  EXPECT_NEAR(kept.Mean.Longitude, fresh.Mean.Longitude, 1e-12);
  EXPECT_NEAR(kept.Mean.Altitude, fresh.Mean.Altitude, kExact);
  EXPECT_NEAR(kept.Deviation.East, fresh.Deviation.East, kExact);
  EXPECT_NEAR(kept.Deviation.North, fresh.Deviation.North, kExact);
  EXPECT_NEAR(kept.Deviation.Up, fresh.Deviation.Up, kExact);
  EXPECT_NEAR(kept.Drms2, fresh.Drms2, kExact);
  EXPECT_NEAR(kept.Cep50, fresh.Cep50, kRanked);
  EXPECT_NEAR(kept.Cep95, fresh.Cep95, kRanked);
  EXPECT_NEAR(kept.HorizontalMax, fresh.HorizontalMax, kRanked);
  EXPECT_NEAR(kept.VerticalP50, fresh.VerticalP50, kRanked);
  EXPECT_NEAR(kept.VerticalP95, fresh.VerticalP95, kRanked);
  EXPECT_NEAR(kept.VerticalMax, fresh.VerticalMax, kRanked);
}

const TFollowCase kFollowCases[] = {
    {"fixes arriving a few at a time, around the mean",
     1000,
     {Add(1), Add(1), Add(2), Add(7), Add(30)}},
    {"the oldest let go as the history fills", 12, {Add(5), Add(10), Add(1), Add(40)}},
    {"the oldest let go around a fixed reference",
     12,
     {Refer(kNorthOfSpot, 5), Add(10), Add(1), Add(40)}},
    {"a still receiver, whose mean stays within the slack of the plane",
     12,
     {Add(5), Add(10), Add(1), Add(40)},
     1e-6},
    {"around a fixed reference, then the mean again",
     1000,
     {Refer(kNorthOfSpot, 10), Add(5), Refer(std::nullopt, 3)}},
    {"cleared, then new fixes", 1000, {Add(20), Clear(), Add(0), Add(6)}},
    {"a replay's jump back, and past the end",
     1000,
     {Add(25), JumpTo(9), Add(8), JumpTo(60), Add(4)}},
};

TEST(AccuracyFollower, EqualsTheFiguresWorkedOutAfresh) {
  for (const TFollowCase& test : kFollowCases) {
    SCOPED_TRACE(test.Legend);
    THistory history(test.Capacity);
    TAccuracyFollower follower;
    std::optional<TGeodetic> reference;
    int n = 0;
    for (const TStep& step : test.Steps) {
      for (int i = 0; i < step.Append; ++i) history.Append(Wander(n++, test.Spread));
      if (step.Clear) history.Clear();
      if (step.JumpTo) history.RestartAt(*step.JumpTo);
      if (step.Reference) reference = *step.Reference;
      follower.Follow(history, reference);
      ExpectSame(follower.Accuracy(), MeasureAccuracy(HistoryFixes(history), reference));
      const TClaimedErrors claimed = follower.Claimed();
      const TClaimedErrors fresh = MeanClaimedErrors(history);
      // GST's first field and NAV-PVT's last, kept apart.
      for (const auto field : {&TClaimedErrors::Latitude, &TClaimedErrors::VAcc}) {
        EXPECT_EQ((claimed.*field).has_value(), (fresh.*field).has_value());
        if (fresh.*field) {
          EXPECT_NEAR(*(claimed.*field), *(fresh.*field), 1e-12);
        }
      }
      EXPECT_EQ(follower.Shares(), QualityShares(history));
    }
  }
}

}  // namespace
