#include "monitor/Monitor.h"

#include <algorithm>

#include "common/Clock.h"
#include "common/Frame.h"
#include "format/FormatRoutines.h"
#include "monitor/LogFileName.h"
#include "monitor/Timestamp.h"
#include "nmea/FrameNames.h"

TMonitor::TMonitor() : StartTick(Clock::TickCount()) {
  State.Recorder.SetEpochHandler([this](TEpoch& epoch) { Epochs.Append(std::move(epoch)); });
}

// The replay forgets them: a fill of the history under way goes with them.
void TMonitor::ClearEpochs() {
  FileReplay.ClearEpochs();
}

// Whoever cares about a failure here (the window) stops the monitor first.
TMonitor::~TMonitor() {
  try {
    Stop();
  } catch (...) {
  }
}

// The decoder keeps a field that a sentence leaves empty (the course while
// standing still): nothing of the last source may be kept that way.
void TMonitor::StartAfresh() {
  ClearEpochs();
  State.Decoder = TNMEA();
  State.Shown.Clear();
  State.Frames = {};
  UbxSeen = false;
  if (OnFreshStart) OnFreshStart();
}

void TMonitor::OpenPort(int index) {
  StartTick = Clock::TickCount();
  SourceTick = StartTick;
  State.Counts.Reset();
  ClosePort();
  StartAfresh();
  auto port = std::make_unique<TPortSlot>([index] { return index; }, DeviceFactory, Providers);
  port->SetArrivalHandler([this] {
    if (OnArrival) OnArrival();
  });
  port->SetByteObserver([this](std::string_view bytes) { RawFile.Write(bytes); });
  try {
    port->Open();
  } catch (...) {
    port->Close();
    throw;
  }
  SerialPort = std::move(port);
  DroppedSeen = 0;
  ReopeningsSeen = 0;
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
  LogFile.openForWriting(ExpandLogFileName(fileName, Clock::Now(), Clock::Now()));
  StartTick = Clock::TickCount();
}

void TMonitor::StartReplay(const std::string& fileName) {
  const uint32_t tick = Clock::TickCount();
  FileReplay.Start(fileName, tick);
  StartTick = tick;
  SourceTick = tick;
  State.Counts.Reset();
  StartAfresh();
}

void TMonitor::Stop() {
  StartAfresh();
  Halt();
}

void TMonitor::Halt() {
  ModeShown = false;
  State.Counts.EndSource();
  try {
    FileReplay.Stop();
    RawFile.Stop();
    LogFile.close();
  } catch (...) {
    ClosePort();
    throw;
  }
  ClosePort();
}

TMonitor::TSource TMonitor::Source() const {
  TSource source;
  source.StartTick = SourceTick;
  if (Replaying()) {
    source.Kind = TSource::TKind::Replay;
    source.Name = FileReplay.Name();
    source.PercentRead = FileReplay.PercentRead();
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
    if (Replaying()) {
      FileReplay.TakeHistoryFill();
      if (FileReplay.WaitingJump()) return TakeWaitingJump(result);
      return TakeFromReplay(result);
    }
    if (IModemLines* lines = SampledLines()) ShowDSR(lines->ReadDSR().value_or(false), result);
  });
}

bool TMonitor::NeedsTicks() const {
  return Replaying() || SampledLines();
}

IModemLines* TMonitor::SampledLines() const {
  IModemLines* lines = SerialPort ? SerialPort->ModemLines() : nullptr;
  return lines && lines->NeedsSampling() ? lines : nullptr;
}

int TMonitor::TickInterval() const {
  return Replaying() ? FileReplay.TickInterval() : kIdleInterval;
}

int TMonitor::BlinkInterval() const {
  // At the replay rate, but never faster than while logging: at a few
  // milliseconds a line the indicator would flicker, not blink, and set the
  // taskbar's icon a hundred times a second.
  if (Replaying())
    return FileReplay.Paced() ? kPacedBlinkInterval
                              : std::max(FileReplay.Rate(), kLoggingBlinkInterval);
  return Logging() ? kLoggingBlinkInterval : 0;
}

TTickResult TMonitor::Blink() {
  TTickResult result;
  if (!Logging() && !Replaying()) return result;
  ModeShown = !ModeShown;
  result.ModeVisible = ModeShown;
  return result;
}

std::string TMonitor::Stamp() const {
  if (Options.TimestampFormat == kLocalPCTime) return ClockStamp(Clock::Now());
  return RelativeStamp(Clock::TickCount(), StartTick);
}

// A leading TAG block is not part of the sentence: it is shown and logged,
// but decoded, counted and given to the sky without it.
void TMonitor::Take(std::string line, TTickResult& result) {
  if (IsFrameLine(line)) return TakeFrame(line, result);
  if (OnLine) OnLine(line);
  const TSentenceResult decoded = State.Absorb(line, Clock::TickCount());
  if (Filtered(decoded, Options)) return;
  if (Options.RecordTimestamps) line = StampedLine(Stamp(), line);
  result.Lines.push_back(std::move(line));
  if (Logging()) LogFile.writeLine(result.Lines.back());
  TFieldUpdates updates =
      DisplayFor(decoded, State.Decoder, FieldFormats, State.Shown.Used(Options));
  if (result.Updates.empty()) {
    result.Updates = std::move(updates);
  } else {
    result.Updates.insert(result.Updates.end(), std::make_move_iterator(updates.begin()),
                          std::make_move_iterator(updates.end()));
  }
}

// A frame is counted and shown as a summary line of its own ("[UBX NAV-PVT
// 92 bytes]"), which a text log writes as it writes any shown line; it is
// not decoded as a sentence, nor shared as one.
void TMonitor::TakeFrame(std::string_view line, TTickResult& result) {
  const std::optional<TFrame> frame = FrameOf(line.substr(1));
  if (!frame) return;
  UbxSeen = UbxSeen || frame->Kind == TFrameKind::Ubx;
  std::string summary = FrameSummary(*frame);
  State.AbsorbFrame(*frame, summary, Clock::TickCount());
  if (!Options.ShowBinaryFrames) return;
  if (Options.RecordTimestamps) summary = StampedLine(Stamp(), summary);
  result.Lines.push_back(std::move(summary));
  if (Logging()) LogFile.writeLine(result.Lines.back());
}
