#include "history/EpochFollower.h"

#include <algorithm>

// A history that starts over holds fewer epochs than were seen (a new
// source, from its first); one that only gained epochs before its oldest (a
// fill) still ends where it did.
TEpochFollower::TRange TEpochFollower::Next(const THistory& history) {
  if (history.Generation() != Generation) {
    Generation = history.Generation();
    if (NextEpoch > history.End()) NextEpoch = history.First();
  }
  const TRange range{std::max(NextEpoch, history.First()), history.End()};
  NextEpoch = std::max(range.First, range.End);
  return range;
}

void TEpochFollower::SkipAll(const THistory& history) {
  Generation = history.Generation();
  NextEpoch = history.End();
}
