#include "monitor/Monitor.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "common/Clock.h"
#include "format/FormatRoutines.h"
#include "monitor/LogFileName.h"
#include "monitor/Timestamp.h"

TMonitor::TMonitor() : StartTick(Clock::TickCount()) {
  State.Recorder.SetEpochHandler([this](TEpoch& epoch) { Epochs.Append(std::move(epoch)); });
}

void TMonitor::ClearEpochs() {
  Fill.Cancel();
  State.Recorder.Clear();
  Epochs.Clear();
  State.Lines = 0;
}

// Whoever cares about a failure here (the window) stops the monitor first.
TMonitor::~TMonitor() {
  try {
    Stop();
  } catch (...) {
  }
}

void TMonitor::OpenPort(int index) {
  StartTick = Clock::TickCount();
  SourceTick = StartTick;
  State.Counts.Reset();
  ClosePort();
  ClearEpochs();
  auto port = std::make_unique<TPortSlot>([index] { return index; }, DeviceFactory, Providers);
  port->SetArrivalHandler([this] {
    if (OnArrival) OnArrival();
  });
  try {
    port->Open();
  } catch (...) {
    port->Close();
    throw;
  }
  SerialPort = std::move(port);
  DroppedSeen = 0;
  DSRPending = true;
  WatchDSR();
}

void TMonitor::ClosePort() {
  if (!SerialPort) return;
  // Taken out first, so that nothing can reach a port that is going away,
  // even when closing it fails.
  const std::unique_ptr<TPortSlot> port = std::move(SerialPort);
  State.Counts.EndSource();
  port->Close();
}

void TMonitor::StartLogging(const std::string& fileName) {
  DataFile.openForWriting(ExpandLogFileName(fileName, Clock::Now(), Clock::Now()));
  StartTick = Clock::TickCount();
  IsLogging = true;
}

void TMonitor::StartReplay(const std::string& fileName) {
  DataFile.openForReading(fileName);
  StartTick = Clock::TickCount();
  SourceTick = StartTick;
  State.Counts.Reset();
  ClearEpochs();
  ReplayPath = fileName;
  ReplayName = std::filesystem::path(fileName).filename().string();
  IsReplaying = true;
  Paused = false;
  HeldLine.reset();
  Pace = TReplayPace(Pacing.Speed);
  State.Shown.Clear();
  JumpedTo.reset();
  WaitingJump.reset();
  Indexer.Start(fileName, StartTick, CheckpointSpacing);
}

void TMonitor::SetPaused(bool paused) {
  if (paused == Paused) return;
  Paused = paused;
  if (paused)
    Pace.Hold(PaceNow());
  else
    Pace.Resume(PaceNow());
}

void TMonitor::SetReplayPacing(const TReplayPacing& pacing) {
  const TReplayPace::TTime now = PaceNow();
  if (pacing.Speed != Pace.CurrentSpeed()) Pace.SetSpeed(pacing.Speed, now);
  // From the fixed interval into the recorded pace: on from the line shown
  // last, not from when the replay began.
  if (pacing.Mode == TReplayMode::RecordedPace && Pacing.Mode != pacing.Mode) Pace.Rejoin(now);
  Pacing = pacing;
}

void TMonitor::Stop() {
  const bool fileOpen = IsLogging || IsReplaying;
  IsLogging = false;
  IsReplaying = false;
  Paused = false;
  HeldLine.reset();
  Indexer.Cancel();
  Fill.Cancel();
  ModeShown = false;
  State.Counts.EndSource();
  if (fileOpen) {
    try {
      DataFile.close();
    } catch (...) {
      ClosePort();
      throw;
    }
  }
  ClosePort();
}

TMonitor::TSource TMonitor::Source() const {
  TSource source;
  source.StartTick = SourceTick;
  if (IsReplaying) {
    source.Kind = TSource::TKind::Replay;
    source.Name = ReplayName;
    source.PercentRead = DataFile.percentRead();
  } else if (SerialPort) {
    source.Kind = TSource::TKind::Port;
    source.Text = SerialPort->SourceText();
  }
  return source;
}

// A failure ends the step; what happened before it is still applied.
TTickResult TMonitor::Run(const std::function<void(TTickResult&)>& step) {
  TTickResult result;
  try {
    step(result);
  } catch (const std::exception& error) {
    result.Error = error.what();
  } catch (...) {
    result.Error = "Unexpected error";
  }
  return result;
}

TTickResult TMonitor::Tick() {
  return Run([this](TTickResult& result) {
    if (IsReplaying) {
      TakeHistoryFill();
      if (WaitingJump) return TakeWaitingJump(result);
      return TakeFromReplay(result);
    }
    if (IModemLines* lines = SampledLines()) ShowDSR(lines->ReadDSR().value_or(false), result);
  });
}

bool TMonitor::NeedsTicks() const {
  return IsReplaying || SampledLines();
}

IModemLines* TMonitor::SampledLines() const {
  IModemLines* lines = SerialPort ? SerialPort->ModemLines() : nullptr;
  return lines && lines->NeedsSampling() ? lines : nullptr;
}

int TMonitor::TickInterval() const {
  if (!IsReplaying) return kIdleInterval;
  if (WaitingJump) return kJumpWaitInterval;
  if (Pacing.Mode == TReplayMode::FixedInterval) return ReplayRate;
  if (Paused) return kPacedBlinkInterval;
  if (!HeldLine) return 0;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(
      Pace.CurrentDue() - TReplayPace::TTime(std::chrono::milliseconds(PaceTicks)));
  // The tick counter may have moved since PaceNow() was last read: a
  // millisecond late at most, never a spin.
  return static_cast<int>(std::max<int64_t>(0, wait.count()));
}

int TMonitor::BlinkInterval() const {
  if (IsReplaying && Pacing.Mode == TReplayMode::RecordedPace) return kPacedBlinkInterval;
  if (IsReplaying) return ReplayRate;
  return IsLogging ? kLoggingBlinkInterval : 0;
}

TTickResult TMonitor::Blink() {
  TTickResult result;
  if (!IsLogging && !IsReplaying) return result;
  ModeShown = !ModeShown;
  result.ModeVisible = ModeShown;
  return result;
}

void TMonitor::TakeFromReplay(TTickResult& result) {
  if (Paused) return;
  if (Pacing.Mode == TReplayMode::RecordedPace) return TakePacedLines(result);
  if (!HeldLine) {
    if (DataFile.atEnd()) return EndReplay(result);
    ReadAhead();
  }
  TakeHeldLine(result);
}

// Every line now due, within a frame's work and as many lines as one
// arrival takes (the window still has to show them): what is left waits for
// the next turn of the event loop.
void TMonitor::TakePacedLines(TTickResult& result) {
  const uint32_t started = Clock::TickCount();
  for (int taken = 1;; ++taken) {
    if (!HeldLine) {
      if (DataFile.atEnd()) return EndReplay(result);
      const std::optional<double> crossed = ReadAhead();
      if (crossed) result.Notice = CrossedText(*crossed);
    }
    if (Pace.CurrentDue() > PaceNow()) return;
    TakeHeldLine(result);
    if (taken == kLinesPerArrival || Clock::TickCount() - started >= kReplayTickBudget) {
      result.MoreWaiting = true;
      return;
    }
  }
}

// Lines are placed on the pace also at the fixed interval, so that a change
// to the recorded pace goes on from the line shown last.
std::optional<double> TMonitor::ReadAhead() {
  HeldOffset = DataFile.readOffset();
  HeldLine = DataFile.readLine();
  return Pace.Place(*HeldLine, PaceNow()).Crossed;
}

void TMonitor::TakeHeldLine(TTickResult& result) {
  std::string line = std::move(*HeldLine);
  HeldLine.reset();
  JumpedTo.reset();
  if (!line.empty()) Take(std::move(line), result);
}

void TMonitor::EndReplay(TTickResult& result) {
  result.ReplayEnded = true;
  State.Recorder.Finish(State.Lines);
  State.Sky.EndEpoch();
  Stop();
}

TReplayPace::TTime TMonitor::PaceNow() {
  const uint32_t tick = Clock::TickCount();
  PaceTicks += static_cast<uint32_t>(tick - LastPaceTick);
  LastPaceTick = tick;
  return TReplayPace::TTime(std::chrono::milliseconds(PaceTicks));
}

std::string TMonitor::Stamp() const {
  if (Options.TimestampFormat == kLocalPCTime) return ClockStamp(Clock::Now());
  return RelativeStamp(Clock::TickCount(), StartTick);
}

// A leading TAG block is not part of the sentence: it is shown and logged,
// but decoded, counted and given to the sky without it.
void TMonitor::Take(std::string line, TTickResult& result) {
  if (OnLine) OnLine(line);
  const TSentenceResult decoded = State.Absorb(line, Clock::TickCount());
  if (Filtered(decoded, Options)) return;
  if (Options.RecordTimestamps) line = StampedLine(Stamp(), line);
  result.Lines.push_back(std::move(line));
  if (IsLogging) DataFile.writeLine(result.Lines.back());
  TFieldUpdates updates =
      DisplayFor(decoded, State.Decoder, FieldFormats, State.Shown.Used(Options));
  if (result.Updates.empty()) {
    result.Updates = std::move(updates);
  } else {
    result.Updates.insert(result.Updates.end(), std::make_move_iterator(updates.begin()),
                          std::make_move_iterator(updates.end()));
  }
}
