#pragma once
// The Position window's figures kept up with the history as it grows: a
// refresh costs what arrived since the last one, not the whole day. The
// fixes sit on the tangent plane of a pivot, the reference when the user
// fixed one, else the mean as it stood when the plane was last laid; the
// sums of their first and second moments give the mean, the deviations and
// 2DRMS around any reference exactly, and the errors kept in order give the
// percentiles. Those are measured around the pivot, so while the mean wanders
// from it they are off by at most the distance between the two: the plane
// is laid anew (the only step that costs the whole history) once that
// passes a tenth of a millimetre, but for a long history not before a
// ten-thousandth of it is new, and at once past a centimetre.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "history/Accuracy.h"
#include "history/ChartClock.h"
#include "history/EpochHistory.h"
#include "history/HistoryFigures.h"

// Numbers kept in order, for ranks among many: sorted blocks of about a
// thousand, so that putting one in or taking one out moves a block's worth.
class TSortedValues {
 public:
  void Assign(std::vector<double> values);
  void Insert(double value);
  // Takes out one value equal to `value`, if there is one.
  void Erase(double value);
  size_t Size() const { return Count; }
  // The value of rank `rank` (0 the smallest); Size() must exceed it.
  double At(size_t rank) const;
  // The nearest-rank percentile, as NearestRank reads a sorted vector.
  double Percentile(int percent) const;

 private:
  std::vector<std::vector<double>> Blocks;
  size_t Count = 0;
};

namespace GeographicLib {
class LocalCartesian;
}

class TAccuracyFollower {
 public:
  // The largest distance from the mean to the pivot that the percentiles
  // may carry, and the one they never carry.
  static constexpr double kSlack = 1e-4;
  static constexpr double kMostSlack = 0.01;

  struct TFix {
    TGeodetic At;
    TLocalPoint OnPlane;  // around the pivot
    int Quality = 0;
    std::optional<double> Time;  // its epoch's place on the charts' axis
  };

  // Catches up with `history`, figures around `reference`, else around the
  // mean. Starts over when the history was cleared, replaced or jumped, or
  // is another one.
  void Follow(const THistory& history, const std::optional<TGeodetic>& reference);

  const TAccuracy& Accuracy() const { return Figures; }
  TClaimedErrors Claimed() const;
  std::map<int, double> Shares() const;

  // The fixes held, oldest first; fix n (counted from the first since the
  // plane was laid) is Fixes()[n - FirstFix()].
  const std::deque<TFix>& Fixes() const { return Held; }
  uint64_t FirstFix() const { return Dropped; }
  // Those the last Follow let go with the epochs the history let go.
  const std::vector<TFix>& LetGo() const { return Gone; }
  // Goes up whenever the plane is laid anew: what was drawn from the fixes
  // is to be drawn again.
  uint64_t Plane() const { return Planes; }
  // The reference on the pivot's plane: a fix's place around the reference
  // is its OnPlane less this (to well under a micrometre for a drawing).
  const TLocalPoint& ReferenceOnPlane() const { return ReferenceOffset; }
  // How many of the fixes held have a time.
  size_t Timed() const { return TimedFixes; }
  // Whether the epochs carry dates, for the time axis.
  bool Dated() const { return Clock.Dated(); }

 private:
  // As TClaimedErrors lists them.
  static constexpr size_t kClaims = 7;

  struct TEpochRecord {
    size_t Fixes = 0;
    std::optional<int> Quality;
    std::optional<double> Claims[kClaims];
  };

  void StartOver(const THistory& history);
  void Add(const TEpoch& epoch);
  void DropOldest();
  void PutOnPlane(const TFix& fix, int sign);
  void LayPlane(const TGeodetic& pivot, bool fixed);
  void Measure(const std::optional<TGeodetic>& reference);

  const THistory* Source = nullptr;
  uint64_t Generation = 0;
  uint64_t FirstEpoch = 0;
  uint64_t EndEpoch = 0;
  std::deque<TEpochRecord> Epochs;
  std::deque<TFix> Held;
  std::vector<TFix> Gone;
  uint64_t Dropped = 0;
  size_t TimedFixes = 0;
  TChartClock Clock;

  // Counts and the sums for the mean, these around the first fix taken.
  std::map<int, size_t> ByQuality;
  std::optional<TGeodetic> Anchor;
  TGeodetic Sum;
  std::map<int, size_t> EpochQualities;
  size_t QualityEpochs = 0;
  double ClaimSums[kClaims] = {};
  size_t ClaimCounts[kClaims] = {};

  // The plane and what lies on it: moments around the first fix laid on it.
  std::optional<TGeodetic> Pivot;
  std::shared_ptr<const GeographicLib::LocalCartesian> OnPivot;
  bool PivotFixed = false;
  uint64_t Planes = 0;
  size_t SincePlane = 0;  // fixes added since
  TLocalPoint Centre;
  double First[3] = {};
  double Second[3][3] = {};
  TSortedValues Horizontal;
  TSortedValues Vertical;
  TLocalPoint ReferenceOffset;
  TAccuracy Figures;
};
