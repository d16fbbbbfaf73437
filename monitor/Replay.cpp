#include "monitor/Replay.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "common/Clock.h"

void TReplay::Start(const std::string& fileName, uint32_t tick) {
  File.openForReading(fileName);
  FilePath = fileName;
  FileName = std::filesystem::path(fileName).filename().string();
  IsPaused = false;
  HeldLine.reset();
  LineDueTick = UINT64_MAX;
  Pace = TReplayPace(Pacing.Speed);
  JumpedTo.reset();
  Waiting.reset();
  Fill.Cancel();
  Indexer.Start(fileName, tick, CheckpointSpacing);
}

void TReplay::Stop() {
  IsPaused = false;
  HeldLine.reset();
  JumpedTo.reset();
  Waiting.reset();
  Indexer.Cancel();
  Fill.Cancel();
  File.close();
}

void TReplay::SetPaused(bool paused) {
  if (paused == IsPaused) return;
  IsPaused = paused;
  if (paused)
    Pace.Hold(PaceNow());
  else
    Pace.Resume(PaceNow());
}

void TReplay::SetPacing(const TReplayPacing& pacing) {
  const TReplayPace::TTime now = PaceNow();
  if (pacing.Speed != Pace.CurrentSpeed()) Pace.SetSpeed(pacing.Speed, now);
  // From the fixed interval into the recorded pace: on from the line shown
  // last, not from when the replay began.
  if (pacing.Mode == TReplayMode::RecordedPace && Pacing.Mode != pacing.Mode) Pace.Rejoin(now);
  Pacing = pacing;
}

int TReplay::TickInterval() const {
  if (Waiting) return kJumpWaitInterval;
  if (!Paced()) return LineInterval > 0 ? std::max(LineInterval, kShortestTick) : 0;
  if (IsPaused) return kPausedInterval;
  if (!HeldLine) return 0;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(
      Pace.CurrentDue() - TReplayPace::TTime(std::chrono::milliseconds(PaceTicks)));
  // The tick counter may have moved since PaceNow() was last read: a
  // millisecond late at most, never a spin.
  return static_cast<int>(std::max<int64_t>(0, wait.count()));
}

TReplay::TStep TReplay::Next() {
  TStep step;
  if (IsPaused || Waiting) return step;
  if (!HeldLine) {
    if (File.atEnd()) {
      step.Ended = true;
      return step;
    }
    const std::optional<double> crossed = ReadAhead();
    if (Paced()) step.Crossed = crossed;
  }
  if (Paced() && Pace.CurrentDue() > PaceNow()) return step;
  step.Line = std::move(*HeldLine);
  HeldLine.reset();
  JumpedTo.reset();
  if (!Paced()) {
    // A tick takes at least one line. The lines after it are due at the
    // interval from the one before, but never more than a tick's worth
    // behind; a line taken before it was due sets the interval going anew.
    PaceNow();
    const uint64_t next = PaceTicks + static_cast<uint64_t>(std::max(LineInterval, 0));
    LineDueTick = LineDueTick > PaceTicks
                      ? next
                      : std::max(LineDueTick + static_cast<uint64_t>(LineInterval),
                                 next > kShortestTick ? next - kShortestTick : 0);
  }
  return step;
}

bool TReplay::LineDue() {
  if (LineInterval <= 0 || IsPaused || Waiting) return false;
  PaceNow();
  return LineDueTick <= PaceTicks;
}

// Lines are placed on the pace also at the fixed interval, so that a change
// to the recorded pace goes on from the line shown last.
std::optional<double> TReplay::ReadAhead() {
  HeldOffset = File.readOffset();
  HeldLine = File.readLine();
  return Pace.Place(*HeldLine, PaceNow()).Crossed;
}

TReplayPace::TTime TReplay::PaceNow() {
  const uint32_t tick = Clock::TickCount();
  PaceTicks += static_cast<uint32_t>(tick - LastPaceTick);
  LastPaceTick = tick;
  return TReplayPace::TTime(std::chrono::milliseconds(PaceTicks));
}

void TReplay::ClearEpochs() {
  Fill.Cancel();
  State.Recorder.Clear();
  Epochs.Clear();
  State.Lines = 0;
}

// Jumps. A jump goes on from the nearest checkpoint before the new place,
// or, where none is nearer, from where the replay stands (a jump forward) or
// the top of the file (a jump back). The lines between are decoded, recorded
// and counted without being shown, so that every record is what a replay
// from the top would have left there.

uint64_t TReplay::Offset() const {
  return HeldLine ? HeldOffset : File.readOffset();
}

size_t TReplay::Epoch() const {
  const TReplayIndex* index = Indexer.Ready();
  if (!index || !Running()) return 0;
  if (JumpedTo) return *JumpedTo;
  const uint64_t offset = Offset();
  return index->EpochAt(offset > 0 ? offset - 1 : 0);
}

bool TReplay::AskJump(size_t epoch) {
  const TReplayIndex* index = Indexer.Ready();
  if (!Running() || !index || index->Size() == 0) return false;
  const size_t target = std::min(epoch, index->Size() - 1);
  JumpedTo = target;
  Waiting = target;
  return true;
}

bool TReplay::JumpReady() const {
  return Waiting && CanJumpNow(Indexer.Ready()->Epochs()[*Waiting].Offset);
}

bool TReplay::CanJumpNow(uint64_t offset) const {
  const uint64_t from = Offset();
  const std::shared_ptr<const TReplayCheckpoint> saved = Indexer.AtOrBefore(offset);
  uint64_t start = saved ? saved->Offset : 0;
  if (offset >= from) start = std::max(start, from);
  // Once the checkpoints are past the place, the nearest is as near as any.
  return offset - start <= JumpDecodeLimit || Indexer.CheckpointedUpTo() >= offset;
}

void TReplay::Jump() {
  if (!Waiting) return;
  const uint64_t offset = Indexer.Ready()->Epochs()[*Waiting].Offset;
  Waiting.reset();
  const uint64_t from = Offset();
  if (HeldLine) {
    HeldLine.reset();
    File.seekTo(HeldOffset);
  }
  const std::shared_ptr<const TReplayCheckpoint> saved = Indexer.AtOrBefore(offset);
  if (saved && (offset < from || saved->Offset > from))
    Restore(*saved);
  else if (offset < from)
    Rewind();
  State.AbsorbUpTo(File, offset, Clock::TickCount());
  // The pace starts over from the new place: its first epoch is due at once.
  Pace.Restart();
  LineDueTick = UINT64_MAX;
  if (IsPaused) Pace.Hold(PaceNow());
}

std::optional<std::string> TReplay::NextOfJumpedEpoch() {
  const TReplayIndex* index = Indexer.Ready();
  if (!IsPaused || !JumpedTo || Waiting || !index || HeldLine || File.atEnd()) return std::nullopt;
  const size_t next = *JumpedTo + 1;
  if (next < index->Size() && File.readOffset() >= index->Epochs()[next].Offset)
    return std::nullopt;
  std::string line = File.readLine();
  const TReplayPace::TTime now = PaceNow();
  Pace.Place(line, now);
  Pace.Rejoin(now);
  return line;
}

void TReplay::Rewind() {
  State.Decoder = TNMEA();
  State.Counts.Reset();
  State.Shown.Clear();
  ClearEpochs();
  File.seekTo(0);
}

void TReplay::Restore(const TReplayCheckpoint& saved) {
  State.Assign(saved.State);
  Epochs.RestartAt(saved.Epochs);
  File.seekTo(saved.Offset);
  const uint64_t capacity = THistory::kDefaultCapacity;
  const uint64_t wanted = saved.Epochs > capacity ? saved.Epochs - capacity : 0;
  if (Epochs.First() <= wanted) return Fill.Cancel();
  Fill.Start(FilePath, Indexer.WithEpochsUpTo(wanted), wanted, Epochs.First(), Clock::TickCount());
  FillGeneration = Epochs.Generation();
}

void TReplay::TakeHistoryFill() {
  const std::optional<uint64_t> end = Fill.End();
  std::optional<std::vector<TEpoch>> epochs = Fill.Take();
  if (!epochs) return;
  // A later jump, or epochs recorded since that pushed the first one on,
  // make them of no use.
  if (Epochs.Generation() == FillGeneration && Epochs.First() == end)
    Epochs.Prepend(std::move(*epochs));
}
