#pragma once
// Indexes a replay file on a thread of its own while the replay plays, so
// that the replay starts at once and the seek bar becomes usable when the
// index is ready. Then the same thread reads the file once more, decoding
// without showing anything, and saves checkpoints along it: the state a
// replay from the top leaves at the start of every so many epochs, for a
// jump to go on from. Stopping the replay stops the thread.

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "history/ReplayIndex.h"
#include "monitor/ReceiverState.h"

// What a replay from the top has built at the start of an epoch.
struct TReplayCheckpoint {
  uint64_t Offset = 0;  // of the epoch's first line in the file
  uint64_t Epochs = 0;  // completed before it: the history's index there
  TReceiverState State;
};

class TReplayIndexer {
 public:
  // Epochs between checkpoints: at least this many, and far enough apart
  // that at most kMaxCheckpoints are saved.
  static constexpr size_t kCheckpointSpacing = 256;
  static constexpr size_t kMaxCheckpoints = 64;

  TReplayIndexer() = default;
  ~TReplayIndexer() { Cancel(); }
  TReplayIndexer(const TReplayIndexer&) = delete;
  TReplayIndexer& operator=(const TReplayIndexer&) = delete;

  // Forgets any index and checkpoints and starts on `fileName`. The
  // checkpoints' statistics count lines at `tick`.
  void Start(const std::string& fileName, uint32_t tick, size_t spacing = kCheckpointSpacing);
  // Stops the thread, if it runs, and forgets the index and checkpoints.
  void Cancel();
  // Of the file read so far, 0 to 100; 100 once ready.
  int Percent() const;
  // The index once the pass is done, else nullptr.
  const TReplayIndex* Ready() const;
  // Whether the checkpoints are all saved, and the file offset up to which
  // they are (all of it once they are all saved).
  bool Checkpointed() const;
  uint64_t CheckpointedUpTo() const;
  // The last checkpoint saved so far at or before `offset`, or whose
  // epochs are at most `epochs`; nullptr when there is none.
  std::shared_ptr<const TReplayCheckpoint> AtOrBefore(uint64_t offset) const;
  std::shared_ptr<const TReplayCheckpoint> WithEpochsUpTo(uint64_t epochs) const;

 private:
  // What the thread shares with its owner.
  struct TPass {
    std::atomic<bool> Cancel{false};
    std::atomic<bool> Done{false};
    std::atomic<uint64_t> Read{0};
    std::atomic<uint64_t> Checkpointed{0};  // offset of the last saved
    uint64_t Size = 0;
    std::optional<TReplayIndex> Index;  // written by the thread before Done
    mutable std::mutex Lock;            // over Saved
    std::map<uint64_t, std::shared_ptr<const TReplayCheckpoint>> Saved;  // by offset
  };
  static std::optional<TReplayIndex> IndexFile(const std::string& fileName,
                                               const std::atomic<bool>& cancel,
                                               std::atomic<uint64_t>& read);
  static void SaveCheckpoints(TPass& pass, const std::string& fileName, uint32_t tick,
                              size_t spacing);

  std::shared_ptr<TPass> Pass;
  std::thread Worker;
};
