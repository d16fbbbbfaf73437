// Jumps within a replay. A jump forward decodes on from where the replay
// stands; a jump back starts again from the top of the file. Either way the
// lines between are decoded, recorded and counted without being shown, so
// that every record is what a replay from the top would have left there.

#include <algorithm>
#include <cstdint>
#include <iterator>

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
    Jump(index->Epochs()[target].Offset, result);
    JumpedTo = target;
  });
}

void TMonitor::Rewind() {
  NMEA = TNMEA();
  Counts.Reset();
  ClearEpochs();
  UsedTexts = {};
  ShownFields.clear();
  DataFile.seekTo(0);
}

void TMonitor::Jump(uint64_t offset, TTickResult& result) {
  const auto before = ShownFields;
  const uint64_t from = ReplayOffset();
  const bool back = offset < from;
  if (HeldLine) {
    HeldLine.reset();
    DataFile.seekTo(HeldOffset);
  }
  if (!RestoreCheckpoint(offset, back ? 0 : from) && back) Rewind();
  NextCheckpoint = 0;
  for (uint64_t at = DataFile.readOffset(); at < offset && !DataFile.atEnd();
       at = DataFile.readOffset()) {
    MaybeCheckpoint(at);
    const std::string line = DataFile.readLine();
    if (!line.empty()) Absorb(line);
  }
  // The pace starts over from the new place: its first epoch is due at once.
  Pace.Restart();
  if (Paused) Pace.Hold(PaceNow());
  result.Jumped = true;
  ShowWholeDisplay(before, result);
}

void TMonitor::MaybeCheckpoint(uint64_t offset) {
  if (offset < NextCheckpoint) return;
  const TReplayIndex* index = Indexer.Ready();
  if (!index || index->Size() == 0) return;
  const size_t spacing =
      std::max({CheckpointSpacing, index->Size() / kMaxCheckpoints + 1, size_t{1}});
  const size_t epoch = index->EpochAt(offset);
  const size_t next = (epoch / spacing + 1) * spacing;
  NextCheckpoint = next < index->Size() ? index->Epochs()[next].Offset : UINT64_MAX;
  if (epoch == 0 || epoch % spacing != 0 || index->Epochs()[epoch].Offset != offset ||
      Checkpoints.count(offset))
    return;
  TCheckpoint& saved = Checkpoints[offset];
  saved.Lines = LinesTaken;
  saved.Decoder = NMEA;
  saved.Counts = Counts;
  saved.Sky = Satellites;
  saved.Recorder->CopyStateFrom(Recording);
  saved.Used = UsedTexts;
  saved.Shown = ShownFields;
  saved.HistoryEnd = Epochs.End();
}

bool TMonitor::RestoreCheckpoint(uint64_t offset, uint64_t from) {
  auto after = Checkpoints.upper_bound(offset);
  if (after == Checkpoints.begin()) return false;
  const auto& [at, saved] = *std::prev(after);
  // The history before a checkpoint is not kept with it: one whose epochs
  // the history no longer holds up to its place is of no use.
  if (at <= from || saved.HistoryEnd > Epochs.End()) return false;
  LinesTaken = saved.Lines;
  NMEA = saved.Decoder;
  Counts = saved.Counts;
  Satellites = saved.Sky;
  Recording.CopyStateFrom(*saved.Recorder);
  UsedTexts = saved.Used;
  ShownFields = saved.Shown;
  Epochs.DropFrom(saved.HistoryEnd);
  DataFile.seekTo(at);
  return true;
}

void TMonitor::ShowWholeDisplay(const std::map<std::pair<std::string, int>, TFieldUpdate>& before,
                                TTickResult& result) const {
  for (const auto& [key, update] : before) {
    if (ShownFields.count(key)) continue;
    TFieldUpdate cleared;
    cleared.Name = update.Name;
    cleared.Kind = update.Kind;
    result.Updates.push_back(std::move(cleared));
  }
  for (const auto& [key, update] : ShownFields) result.Updates.push_back(update);
}
