#pragma once
// The epochs of the current source or replay, oldest first: a day at 1 Hz
// (86,400 epochs) by default, past which the oldest go first. Windows that
// follow it ask for what came since they last looked by absolute index:
// epoch i (counted from the first ever appended since the last Clear) is
// held while First() <= i < End().

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "history/Epoch.h"

class THistory {
 public:
  static constexpr size_t kDefaultCapacity = 86'400;

  explicit THistory(size_t capacity = kDefaultCapacity) : Capacity(capacity) {}

  void Append(TEpoch epoch);
  void Clear();
  // Goes on from absolute index `end`, as a replay that jumps there does:
  // the epochs from it on are forgotten, and all of them when it lies
  // outside what is held; the next appended is epoch `end`. Windows start
  // over (the generation changes).
  void RestartAt(uint64_t end);
  // Puts epochs before the oldest held (the last of them comes right
  // before it), as many of the newest as the capacity and the indices
  // allow; windows start over.
  void Prepend(std::vector<TEpoch> older);

  // Absolute indices: the oldest held, and one past the newest.
  uint64_t First() const { return Evicted; }
  uint64_t End() const { return Evicted + Epochs.size(); }
  const TEpoch& At(uint64_t index) const { return Epochs[index - Evicted]; }
  size_t Size() const { return Epochs.size(); }
  bool Empty() const { return Epochs.empty(); }
  // Goes up with every Append and Clear: a window may skip a refresh while
  // it stands.
  uint64_t Revision() const { return Changes; }
  // Goes up with every Clear: a window starts over when it changes.
  uint64_t Generation() const { return Clears; }

 private:
  size_t Capacity;
  std::deque<TEpoch> Epochs;
  uint64_t Evicted = 0;
  uint64_t Changes = 0;
  uint64_t Clears = 0;
};
