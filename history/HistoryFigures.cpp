#include "history/HistoryFigures.h"

namespace {

// A running mean of an optional value.
struct TMean {
  double Sum = 0;
  size_t Count = 0;
  void Add(const std::optional<double>& value) {
    if (!value) return;
    Sum += *value;
    ++Count;
  }
  std::optional<double> Value() const {
    if (Count == 0) return std::nullopt;
    return Sum / static_cast<double>(Count);
  }
};

}  // namespace

std::vector<TEpochFix> HistoryFixes(const THistory& history) {
  std::vector<TEpochFix> fixes;
  for (uint64_t i = history.First(); i < history.End(); ++i) {
    const std::vector<TEpochFix>& epochFixes = history.At(i).Fixes;
    fixes.insert(fixes.end(), epochFixes.begin(), epochFixes.end());
  }
  return fixes;
}

TClaimedErrors MeanClaimedErrors(const THistory& history) {
  TMean latitude, longitude, altitude, horizontal, vertical, hAcc, vAcc;
  for (uint64_t i = history.First(); i < history.End(); ++i) {
    const TEpoch& epoch = history.At(i);
    latitude.Add(epoch.LatitudeError);
    longitude.Add(epoch.LongitudeError);
    altitude.Add(epoch.AltitudeError);
    horizontal.Add(epoch.HorizontalError);
    vertical.Add(epoch.VerticalError);
    hAcc.Add(epoch.HorizontalAccuracy);
    vAcc.Add(epoch.VerticalAccuracy);
  }
  return {latitude.Value(), longitude.Value(), altitude.Value(), horizontal.Value(),
          vertical.Value(), hAcc.Value(),      vAcc.Value()};
}

std::map<int, double> QualityShares(const THistory& history) {
  std::map<int, double> shares;
  size_t total = 0;
  for (uint64_t i = history.First(); i < history.End(); ++i) {
    const std::optional<int>& quality = history.At(i).Quality;
    if (!quality) continue;
    ++shares[*quality];
    ++total;
  }
  for (auto& [quality, share] : shares) share /= static_cast<double>(total);
  return shares;
}
