// Jumps within a replay. A jump goes on from the nearest checkpoint before
// the new place, or, where none is nearer, from where the replay stands (a
// jump forward) or the top of the file (a jump back). The lines between are
// decoded, recorded and counted without being shown, so that every record
// is what a replay from the top would have left there.

#include <algorithm>
#include <cstdint>
#include <set>

#include "common/Clock.h"
#include "monitor/Monitor.h"

uint64_t TMonitor::ReplayOffset() const {
  return HeldLine ? HeldOffset : DataFile.readOffset();
}

size_t TMonitor::ReplayEpoch() {
  const TReplayIndex* index = Indexer.Ready();
  if (!index || !IsReplaying) return 0;
  if (JumpedTo) return *JumpedTo;
  const uint64_t offset = ReplayOffset();
  return index->EpochAt(offset > 0 ? offset - 1 : 0);
}

TTickResult TMonitor::JumpTo(size_t epoch) {
  return Run([this, epoch](TTickResult& result) {
    const TReplayIndex* index = Indexer.Ready();
    if (!IsReplaying || !index || index->Size() == 0) return;
    const size_t target = std::min(epoch, index->Size() - 1);
    JumpedTo = target;
    WaitingJump = target;
    TakeWaitingJump(result);
    if (WaitingJump)
      result.Notice = "Seeking to " + index->PositionText(target, index->SpansDays()) + "...";
  });
}

bool TMonitor::CanJumpNow(uint64_t offset) const {
  const uint64_t from = ReplayOffset();
  const std::shared_ptr<const TReplayCheckpoint> saved = Indexer.AtOrBefore(offset);
  uint64_t start = saved ? saved->Offset : 0;
  if (offset >= from) start = std::max(start, from);
  // Once the checkpoints are past the place, the nearest is as near as any.
  return offset - start <= JumpDecodeLimit || Indexer.CheckpointedUpTo() >= offset;
}

void TMonitor::TakeWaitingJump(TTickResult& result) {
  const TReplayIndex* index = Indexer.Ready();
  const uint64_t offset = index->Epochs()[*WaitingJump].Offset;
  if (!CanJumpNow(offset)) return;
  WaitingJump.reset();
  Jump(offset, result);
}

void TMonitor::Rewind() {
  State.Decoder = TNMEA();
  State.Counts.Reset();
  State.Shown.Clear();
  ClearEpochs();
  DataFile.seekTo(0);
}

void TMonitor::Jump(uint64_t offset, TTickResult& result) {
  const TFieldUpdates before = State.Shown.Whole(FieldFormats, Options);
  const uint64_t from = ReplayOffset();
  if (HeldLine) {
    HeldLine.reset();
    DataFile.seekTo(HeldOffset);
  }
  const std::shared_ptr<const TReplayCheckpoint> saved = Indexer.AtOrBefore(offset);
  if (saved && (offset < from || saved->Offset > from))
    Restore(*saved);
  else if (offset < from)
    Rewind();
  State.AbsorbUpTo(DataFile, offset, Clock::TickCount());
  // The pace starts over from the new place: its first epoch is due at once.
  Pace.Restart();
  if (Paused) Pace.Hold(PaceNow());
  result.Jumped = true;
  ShowWholeDisplay(before, result);
}

void TMonitor::Restore(const TReplayCheckpoint& saved) {
  State.Assign(saved.State);
  Epochs.RestartAt(saved.Epochs);
  DataFile.seekTo(saved.Offset);
  const uint64_t capacity = THistory::kDefaultCapacity;
  const uint64_t wanted = saved.Epochs > capacity ? saved.Epochs - capacity : 0;
  if (Epochs.First() <= wanted) return Fill.Cancel();
  Fill.Start(ReplayPath, Indexer.WithEpochsUpTo(wanted), wanted, Epochs.First(),
             Clock::TickCount());
  FillGeneration = Epochs.Generation();
}

void TMonitor::TakeHistoryFill() {
  const std::optional<uint64_t> end = Fill.End();
  std::optional<std::vector<TEpoch>> epochs = Fill.Take();
  if (!epochs) return;
  // A later jump, or epochs recorded since that pushed the first one on,
  // make them of no use.
  if (Epochs.Generation() == FillGeneration && Epochs.First() == end)
    Epochs.Prepend(std::move(*epochs));
}

void TMonitor::ShowWholeDisplay(const TFieldUpdates& before, TTickResult& result) const {
  result.Updates = State.Shown.Whole(FieldFormats, Options);
  std::set<std::pair<int, int>> shown;
  for (const TFieldUpdate& update : result.Updates)
    shown.emplace(FieldIndex(update.Field), static_cast<int>(update.Kind));
  TFieldUpdates cleared;
  for (const TFieldUpdate& update : before) {
    if (!shown.emplace(FieldIndex(update.Field), static_cast<int>(update.Kind)).second) continue;
    TFieldUpdate clear;
    clear.Field = update.Field;
    clear.Kind = update.Kind;
    cleared.push_back(std::move(clear));
  }
  result.Updates.insert(result.Updates.begin(), cleared.begin(), cleared.end());
}
