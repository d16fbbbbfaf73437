#pragma once
// Fills in the history that a jump left out, on a thread of its own: when a
// replay goes on from a checkpoint whose epochs the history does not hold,
// the epochs before it are decoded again from an earlier checkpoint (or the
// top of the file), to be put before those the replay records from there.

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "history/Epoch.h"
#include "monitor/ReplayIndexer.h"

class THistoryFill {
 public:
  THistoryFill() = default;
  ~THistoryFill() { Cancel(); }
  THistoryFill(const THistoryFill&) = delete;
  THistoryFill& operator=(const THistoryFill&) = delete;

  // Gathers epochs `first` up to `end` of `fileName`, going on from `from`
  // (the top of the file when nullptr), whose epochs must be at most
  // `first`. Stops any fill under way.
  void Start(const std::string& fileName, std::shared_ptr<const TReplayCheckpoint> from,
             uint64_t first, uint64_t end, uint32_t tick);
  void Cancel();
  // Whether a fill is still gathering.
  bool Busy() const { return Work && !Work->Done.load(std::memory_order_acquire); }
  // Where the epochs gathered end (the history's index), while a fill is on.
  std::optional<uint64_t> End() const;
  // The epochs, once all are gathered; the fill is over then.
  std::optional<std::vector<TEpoch>> Take();

 private:
  struct TWork {
    std::atomic<bool> Stop{false};  // by Cancel, or once every epoch is in
    std::atomic<bool> Done{false};
    uint64_t End = 0;
    std::vector<TEpoch> Epochs;  // written by the thread before Done
  };
  std::shared_ptr<TWork> Work;
  std::thread Worker;
};
