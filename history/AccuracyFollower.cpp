#include "history/AccuracyFollower.h"

#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/LocalCartesian.hpp>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr size_t kBlock = 1024;
// A long history lays its plane again only once this share of it is new.
constexpr size_t kNewShare = 10'000;

using TMatrix = std::array<std::array<double, 3>, 3>;

// East, north and up at a place, as rows in earth-centred axes.
TMatrix Axes(const TGeodetic& at) {
  const double phi = at.Latitude * std::numbers::pi / 180;
  const double lambda = at.Longitude * std::numbers::pi / 180;
  const double sphi = std::sin(phi), cphi = std::cos(phi);
  const double slam = std::sin(lambda), clam = std::cos(lambda);
  return {{{-slam, clam, 0}, {-sphi * clam, -sphi * slam, cphi}, {cphi * clam, cphi * slam, sphi}}};
}

std::array<double, 3> Vector(const TLocalPoint& point) {
  return {point.East, point.North, point.Up};
}

}  // namespace

void TSortedValues::Assign(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  Blocks.clear();
  Count = values.size();
  for (size_t from = 0; from < values.size(); from += kBlock) {
    const size_t to = std::min(values.size(), from + kBlock);
    Blocks.emplace_back(values.begin() + static_cast<ptrdiff_t>(from),
                        values.begin() + static_cast<ptrdiff_t>(to));
  }
}

void TSortedValues::Insert(double value) {
  ++Count;
  if (Blocks.empty()) {
    Blocks.push_back({value});
    return;
  }
  auto block =
      std::lower_bound(Blocks.begin(), Blocks.end(), value,
                       [](const std::vector<double>& b, double v) { return b.back() < v; });
  if (block == Blocks.end()) --block;
  block->insert(std::upper_bound(block->begin(), block->end(), value), value);
  if (block->size() > 2 * kBlock) {
    std::vector<double> upper(block->begin() + kBlock, block->end());
    block->resize(kBlock);
    Blocks.insert(block + 1, std::move(upper));
  }
}

void TSortedValues::Erase(double value) {
  const auto block =
      std::lower_bound(Blocks.begin(), Blocks.end(), value,
                       [](const std::vector<double>& b, double v) { return b.back() < v; });
  if (block == Blocks.end()) return;
  const auto found = std::lower_bound(block->begin(), block->end(), value);
  if (found == block->end() || *found != value) return;
  block->erase(found);
  --Count;
  if (block->empty()) Blocks.erase(block);
}

double TSortedValues::At(size_t rank) const {
  for (const std::vector<double>& block : Blocks) {
    if (rank < block.size()) return block[rank];
    rank -= block.size();
  }
  return 0;
}

double TSortedValues::Percentile(int percent) const {
  if (Count == 0) return 0;
  const size_t rank = (Count * static_cast<size_t>(percent) + 99) / 100;
  return At(std::max<size_t>(rank, 1) - 1);
}

TClaimedErrors TAccuracyFollower::Claimed() const {
  std::optional<double> means[kClaims];
  for (size_t i = 0; i < kClaims; ++i) {
    if (ClaimCounts[i] > 0) means[i] = ClaimSums[i] / static_cast<double>(ClaimCounts[i]);
  }
  return {means[0], means[1], means[2], means[3], means[4], means[5], means[6]};
}

std::map<int, double> TAccuracyFollower::Shares() const {
  std::map<int, double> shares;
  for (const auto& [quality, count] : EpochQualities)
    shares[quality] = static_cast<double>(count) / static_cast<double>(QualityEpochs);
  return shares;
}

void TAccuracyFollower::Follow(const THistory& history, const std::optional<TGeodetic>& reference) {
  Gone.clear();
  if (Source != &history || history.Generation() != Generation || history.First() < FirstEpoch ||
      history.First() > EndEpoch || history.End() < EndEpoch)
    StartOver(history);
  while (FirstEpoch < history.First()) DropOldest();
  for (; EndEpoch < history.End(); ++EndEpoch) Add(history.At(EndEpoch));
  Measure(reference);
}

void TAccuracyFollower::StartOver(const THistory& history) {
  const uint64_t planes = Planes;
  *this = TAccuracyFollower();
  Planes = planes + 1;
  Source = &history;
  Generation = history.Generation();
  FirstEpoch = EndEpoch = history.First();
}

void TAccuracyFollower::Add(const TEpoch& epoch) {
  TEpochRecord record;
  record.Fixes = epoch.Fixes.size();
  record.Quality = epoch.Quality;
  record.Claims[0] = epoch.LatitudeError;
  record.Claims[1] = epoch.LongitudeError;
  record.Claims[2] = epoch.AltitudeError;
  record.Claims[3] = epoch.HorizontalError;
  record.Claims[4] = epoch.VerticalError;
  record.Claims[5] = epoch.HorizontalAccuracy;
  record.Claims[6] = epoch.VerticalAccuracy;
  for (size_t i = 0; i < kClaims; ++i) {
    if (!record.Claims[i]) continue;
    ClaimSums[i] += *record.Claims[i];
    ++ClaimCounts[i];
  }
  if (record.Quality) {
    ++EpochQualities[*record.Quality];
    ++QualityEpochs;
  }
  const std::optional<double> time = Clock.Take(epoch);
  for (const TEpochFix& epochFix : epoch.Fixes) {
    TFix fix{
        {epochFix.Latitude, epochFix.Longitude, epochFix.Altitude}, {}, epochFix.Quality, time};
    ++ByQuality[fix.Quality];
    if (time) ++TimedFixes;
    if (!Anchor) Anchor = fix.At;
    Sum.Latitude += fix.At.Latitude - Anchor->Latitude;
    Sum.Longitude += fix.At.Longitude - Anchor->Longitude;
    Sum.Altitude += fix.At.Altitude - Anchor->Altitude;
    if (OnPivot) {
      OnPivot->Forward(fix.At.Latitude, fix.At.Longitude, fix.At.Altitude, fix.OnPlane.East,
                       fix.OnPlane.North, fix.OnPlane.Up);
      PutOnPlane(fix, 1);
      ++SincePlane;
    }
    Held.push_back(fix);
  }
  Epochs.push_back(record);
}

void TAccuracyFollower::DropOldest() {
  const TEpochRecord& record = Epochs.front();
  for (size_t i = 0; i < kClaims; ++i) {
    if (!record.Claims[i]) continue;
    ClaimSums[i] -= *record.Claims[i];
    --ClaimCounts[i];
  }
  if (record.Quality) {
    if (--EpochQualities[*record.Quality] == 0) EpochQualities.erase(*record.Quality);
    --QualityEpochs;
  }
  for (size_t i = 0; i < record.Fixes; ++i) {
    const TFix& fix = Held.front();
    if (--ByQuality[fix.Quality] == 0) ByQuality.erase(fix.Quality);
    if (fix.Time) --TimedFixes;
    Sum.Latitude -= fix.At.Latitude - Anchor->Latitude;
    Sum.Longitude -= fix.At.Longitude - Anchor->Longitude;
    Sum.Altitude -= fix.At.Altitude - Anchor->Altitude;
    if (OnPivot) PutOnPlane(fix, -1);
    Gone.push_back(fix);
    Held.pop_front();
    ++Dropped;
  }
  Epochs.pop_front();
  ++FirstEpoch;
}

void TAccuracyFollower::PutOnPlane(const TFix& fix, int sign) {
  const std::array<double, 3> v = {fix.OnPlane.East - Centre.East, fix.OnPlane.North - Centre.North,
                                   fix.OnPlane.Up - Centre.Up};
  for (size_t i = 0; i < 3; ++i) {
    First[i] += sign * v[i];
    for (size_t j = 0; j < 3; ++j) Second[i][j] += sign * v[i] * v[j];
  }
  const double horizontal =
      std::sqrt(fix.OnPlane.East * fix.OnPlane.East + fix.OnPlane.North * fix.OnPlane.North);
  const double vertical = std::abs(fix.OnPlane.Up);
  if (sign > 0) {
    Horizontal.Insert(horizontal);
    Vertical.Insert(vertical);
  } else {
    Horizontal.Erase(horizontal);
    Vertical.Erase(vertical);
  }
}

void TAccuracyFollower::LayPlane(const TGeodetic& pivot, bool fixed) {
  Pivot = pivot;
  PivotFixed = fixed;
  OnPivot = std::make_shared<const GeographicLib::LocalCartesian>(
      pivot.Latitude, pivot.Longitude, pivot.Altitude, GeographicLib::Geocentric::WGS84());
  ++Planes;
  SincePlane = 0;
  Dropped = 0;
  std::vector<double> horizontal;
  std::vector<double> vertical;
  horizontal.reserve(Held.size());
  vertical.reserve(Held.size());
  for (TFix& fix : Held) {
    OnPivot->Forward(fix.At.Latitude, fix.At.Longitude, fix.At.Altitude, fix.OnPlane.East,
                     fix.OnPlane.North, fix.OnPlane.Up);
    horizontal.push_back(
        std::sqrt(fix.OnPlane.East * fix.OnPlane.East + fix.OnPlane.North * fix.OnPlane.North));
    vertical.push_back(std::abs(fix.OnPlane.Up));
  }
  Centre = Held.empty() ? TLocalPoint() : Held.front().OnPlane;
  std::fill(std::begin(First), std::end(First), 0.0);
  for (auto& row : Second) std::fill(std::begin(row), std::end(row), 0.0);
  for (const TFix& fix : Held) {
    const std::array<double, 3> v = {fix.OnPlane.East - Centre.East,
                                     fix.OnPlane.North - Centre.North, fix.OnPlane.Up - Centre.Up};
    for (size_t i = 0; i < 3; ++i) {
      First[i] += v[i];
      for (size_t j = 0; j < 3; ++j) Second[i][j] += v[i] * v[j];
    }
  }
  Horizontal.Assign(std::move(horizontal));
  Vertical.Assign(std::move(vertical));
}

void TAccuracyFollower::Measure(const std::optional<TGeodetic>& reference) {
  Figures = TAccuracy();
  Figures.Fixes = Held.size();
  Figures.ByQuality = ByQuality;
  ReferenceOffset = TLocalPoint();
  if (Held.empty()) {
    Pivot.reset();
    OnPivot.reset();
    return;
  }
  const double count = static_cast<double>(Held.size());
  const TGeodetic mean{Anchor->Latitude + Sum.Latitude / count,
                       Anchor->Longitude + Sum.Longitude / count,
                       Anchor->Altitude + Sum.Altitude / count};
  Figures.Mean = mean;
  const TGeodetic at = reference.value_or(mean);
  Figures.Reference = at;
  if (reference) {
    if (!Pivot || !PivotFixed || !(*Pivot == *reference)) LayPlane(*reference, true);
  } else if (!Pivot || PivotFixed) {
    LayPlane(mean, false);
  } else {
    TLocalPoint drift;
    OnPivot->Forward(mean.Latitude, mean.Longitude, mean.Altitude, drift.East, drift.North,
                     drift.Up);
    const double distance =
        std::sqrt(drift.East * drift.East + drift.North * drift.North + drift.Up * drift.Up);
    if (distance > kMostSlack || (distance > kSlack && SincePlane * kNewShare >= Held.size()))
      LayPlane(mean, false);
  }
  if (!PivotFixed)
    OnPivot->Forward(at.Latitude, at.Longitude, at.Altitude, ReferenceOffset.East,
                     ReferenceOffset.North, ReferenceOffset.Up);

  // From the pivot's axes to the reference's.
  const TMatrix from = Axes(*Pivot);
  const TMatrix to = Axes(at);
  TMatrix turn{};
  for (size_t i = 0; i < 3; ++i) {
    for (size_t j = 0; j < 3; ++j) {
      for (size_t k = 0; k < 3; ++k) turn[i][j] += to[i][k] * from[j][k];
    }
  }
  // The mean place around the reference and the spread, on the pivot's
  // plane, then turned onto the reference's.
  const std::array<double, 3> centre = Vector(Centre);
  const std::array<double, 3> offset = Vector(ReferenceOffset);
  std::array<double, 3> away{};
  TMatrix spread{};
  for (size_t i = 0; i < 3; ++i) {
    away[i] = centre[i] + First[i] / count - offset[i];
    for (size_t j = 0; j < 3; ++j)
      spread[i][j] = Second[i][j] / count - (First[i] / count) * (First[j] / count);
  }
  double variance[3] = {};
  double meanAway[3] = {};
  for (size_t axis = 0; axis < 3; ++axis) {
    for (size_t i = 0; i < 3; ++i) {
      meanAway[axis] += turn[axis][i] * away[i];
      for (size_t j = 0; j < 3; ++j) variance[axis] += turn[axis][i] * spread[i][j] * turn[axis][j];
    }
    variance[axis] = std::max(variance[axis], 0.0);
  }
  Figures.Deviation = {std::sqrt(variance[0]), std::sqrt(variance[1]), std::sqrt(variance[2])};
  Figures.Drms2 = 2 * std::sqrt(variance[0] + variance[1] + meanAway[0] * meanAway[0] +
                                meanAway[1] * meanAway[1]);
  Figures.Cep50 = Horizontal.Percentile(50);
  Figures.Cep95 = Horizontal.Percentile(95);
  Figures.HorizontalMax = Horizontal.Percentile(100);
  Figures.VerticalP50 = Vertical.Percentile(50);
  Figures.VerticalP95 = Vertical.Percentile(95);
  Figures.VerticalMax = Vertical.Percentile(100);
}
