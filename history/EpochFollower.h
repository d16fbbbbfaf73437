#pragma once
// Follows a history for whoever hands each new epoch on exactly once (a
// publisher): what was appended since it last looked. A new source starts
// it over from the first epoch; a jump within a replay, or epochs put in
// before the oldest (a history filled in behind a jump), are not news.

#include <cstdint>

#include "history/EpochHistory.h"

class TEpochFollower {
 public:
  // The absolute indices [First, End) of the epochs that are new.
  struct TRange {
    uint64_t First = 0;
    uint64_t End = 0;
  };
  // What is new since the last call, which it then counts as seen.
  TRange Next(const THistory& history);
  // Counts everything the history holds now as seen: from here on, as after
  // a jump or when following begins.
  void SkipAll(const THistory& history);

 private:
  uint64_t NextEpoch = 0;
  uint64_t Generation = 0;
};
