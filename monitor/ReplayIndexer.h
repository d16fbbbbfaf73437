#pragma once
// Indexes a replay file on a thread of its own while the replay plays, so
// that the replay starts at once and the seek bar becomes usable when the
// index is ready. Stopping the replay stops the pass.

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "history/ReplayIndex.h"

class TReplayIndexer {
 public:
  TReplayIndexer() = default;
  ~TReplayIndexer() { Cancel(); }
  TReplayIndexer(const TReplayIndexer&) = delete;
  TReplayIndexer& operator=(const TReplayIndexer&) = delete;

  // Forgets any index and starts one of `fileName`.
  void Start(const std::string& fileName);
  // Stops the pass under way, if any, and forgets the index.
  void Cancel();
  // Of the file read so far, 0 to 100; 100 once ready.
  int Percent() const;
  // The index once the pass is done, else nullptr.
  const TReplayIndex* Ready();

 private:
  // What the thread shares with its owner.
  struct TPass {
    std::atomic<bool> Cancel{false};
    std::atomic<bool> Done{false};
    std::atomic<uint64_t> Read{0};
    uint64_t Size = 0;
    std::optional<TReplayIndex> Index;  // written by the thread before Done
  };
  std::shared_ptr<TPass> Pass;
  std::thread Worker;
};
