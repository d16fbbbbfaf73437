#pragma once
// A replay of a log file, up to the lines it hands out: the file, its pace
// (a line a tick at the replay rate, or epoch by epoch at the recorded
// pace), the line read ahead, pausing, the index of its epochs and the jumps
// within it. Whoever takes the lines builds up the receiver state and the
// history from them; a jump rewrites both itself, as a replay from the top
// of the file would have left them at the new place, and fills in behind the
// epochs of the history that it left out.

#include <cstdint>
#include <optional>
#include <string>

#include "history/EpochHistory.h"
#include "history/ReplayPace.h"
#include "monitor/DataFile.h"
#include "monitor/HistoryFill.h"
#include "monitor/MonitorOptions.h"
#include "monitor/ReceiverState.h"
#include "monitor/ReplayIndexer.h"

class TReplay {
 public:
  // The tick interval while a jump waits.
  static constexpr int kJumpWaitInterval = 50;
  // The tick interval while paused at the recorded pace: nothing falls due,
  // but a fill of the history still comes in at a tick.
  static constexpr int kPausedInterval = 500;
  // The bytes a jump decodes at most at once.
  static constexpr uint64_t kJumpDecodeLimit = uint64_t{32} << 20;  // about 0.3 s
  // The shortest tick at the fixed interval, a frame of the window's: at a shorter
  // interval a tick takes every line due since the last one, as the window
  // shows them a frame at a time anyway, and the program wakes a frame at a
  // time rather than a line at a time.
  static constexpr int kShortestTick = 50;

  // What the replay gives at a step.
  struct TStep {
    // The line due now, as read: an empty one uses up its turn.
    std::optional<std::string> Line;
    // No line is left.
    bool Ended = false;
    // At the recorded pace: the recorded time crossed at once before the
    // line read ahead (see TReplayPace).
    std::optional<double> Crossed;
  };

  // A jump rewrites `state` and `epochs`, which the lines handed out build up.
  TReplay(TReceiverState& state, THistory& epochs) : State(state), Epochs(epochs) {}
  TReplay(const TReplay&) = delete;
  TReplay& operator=(const TReplay&) = delete;

  // Opens `fileName` and starts at its top, unpaused, indexing it on a
  // thread of its own (`tick` stamps the checkpoints' statistics). Throws
  // the data file's error before anything else changes.
  void Start(const std::string& fileName, uint32_t tick);
  // Closes the file and stops the indexing and any fill of the history.
  void Stop();
  bool Running() const { return File.isOpen(); }
  // The file's name without its folder, and how much of it is read, 0 to 100.
  const std::string& Name() const { return FileName; }
  int PercentRead() const { return File.percentRead(); }

  void SetPaused(bool paused);
  bool Paused() const { return IsPaused; }
  // The milliseconds a line at the fixed interval.
  void SetRate(int milliseconds) { LineInterval = milliseconds; }
  int Rate() const { return LineInterval; }
  // Acts at once, also on a replay under way.
  void SetPacing(const TReplayPacing& pacing);
  // Whether lines go by the recorded pace rather than the fixed interval.
  bool Paced() const { return Pacing.Mode == TReplayMode::RecordedPace; }
  // The milliseconds until the next step: at the recorded pace until the
  // next line is due, 0 for at once.
  int TickInterval() const;
  // The next line at the fixed interval, the next line due at the recorded
  // pace; no line while paused or while a jump waits.
  TStep Next();
  // At the fixed interval: whether another line is due already.
  bool LineDue();

  // The index of epochs, once ready (nullptr until then), and how far
  // indexing has come, 0 to 100.
  const TReplayIndex* Index() const { return Indexer.Ready(); }
  int IndexPercent() const { return Indexer.Percent(); }
  // The epoch of the index that the replay shows: that of the line handed
  // out last, or the one a jump goes to until its first line is.
  size_t Epoch() const;
  // Epochs between the places the next start saves to come back to (see
  // TReplayIndexer), and whether they are all saved.
  void SetCheckpointSpacing(size_t epochs) { CheckpointSpacing = epochs; }
  bool Checkpointed() const { return Indexer.Checkpointed(); }

  // Asks for a jump to the start of epoch `epoch` of the index (the last
  // one when past it); false, asking nothing, before the index is ready or
  // where it holds no epoch. The jump waits until it is ready.
  bool AskJump(size_t epoch);
  // The epoch a jump asked for waits to go to.
  std::optional<size_t> WaitingJump() const { return Waiting; }
  // Whether the waiting jump decodes little enough to be done now: at most
  // the decode limit from the nearest checkpoint, else once the indexing
  // thread's checkpoints reach the place.
  bool JumpReady() const;
  void SetJumpDecodeLimit(uint64_t bytes) { JumpDecodeLimit = bytes; }
  // Goes on from the waiting jump's place, with every record as a replay
  // from the top of the file would have left it there.
  void Jump();
  // While paused after a jump, the lines of the epoch jumped to, one a
  // call, none once the next epoch begins: the windows show the epoch that
  // the seek bar shows, so that each step of the bar is one on the screen
  // too. On resuming, the pace goes on from that epoch.
  std::optional<std::string> NextOfJumpedEpoch();

  // Whether the epochs before a jump's checkpoint are still being gathered
  // for the history; TakeHistoryFill puts them in once they are.
  bool FillingHistory() const { return Fill.Busy(); }
  void TakeHistoryFill();
  // Forgets the epochs recorded so far, and any fill of them under way:
  // for a new source as much as for a jump back to the top.
  void ClearEpochs();

 private:
  // Reads the next line into HeldLine; the recorded time it crossed, if any.
  std::optional<double> ReadAhead();
  // The replay's own clock, from the tick counter, that does not wrap.
  TReplayPace::TTime PaceNow();
  // The offset of the next line the replay hands out.
  uint64_t Offset() const;
  bool CanJumpNow(uint64_t offset) const;
  // Back to the top of the file with everything forgotten.
  void Rewind();
  // Goes on from a checkpoint, with the history back to its place and, where
  // it does not hold the epochs before, filled in behind.
  void Restore(const TReplayCheckpoint& saved);

  TReceiverState& State;
  THistory& Epochs;
  TDataFile File;
  std::string FilePath;
  std::string FileName;
  bool IsPaused = false;
  int LineInterval = kDefaultReplaySpeed;
  TReplayPacing Pacing;
  TReplayPace Pace;
  uint64_t PaceTicks = 0;
  uint32_t LastPaceTick = 0;
  uint64_t LineDueTick = 0;  // at the fixed interval, on PaceNow()'s clock
  // A line read ahead, held until the pace says it is due.
  std::optional<std::string> HeldLine;
  uint64_t HeldOffset = 0;
  std::optional<size_t> JumpedTo;
  std::optional<size_t> Waiting;  // an epoch of the index
  uint64_t JumpDecodeLimit = kJumpDecodeLimit;
  size_t CheckpointSpacing = TReplayIndexer::kCheckpointSpacing;
  TReplayIndexer Indexer;
  THistoryFill Fill;
  uint64_t FillGeneration = 0;  // the history's, when the fill began
};
