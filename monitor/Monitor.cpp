#include "monitor/Monitor.h"

#include <filesystem>

#include "common/Clock.h"
#include "format/FormatRoutines.h"
#include "monitor/LogFileName.h"
#include "monitor/Timestamp.h"
#include "nmea/TagBlock.h"

TMonitor::TMonitor() : StartTick(Clock::TickCount()) {
  Recording.SetEpochHandler([this](TEpoch& epoch) { Epochs.Append(std::move(epoch)); });
}

void TMonitor::ClearEpochs() {
  Recording.Clear();
  Epochs.Clear();
  LinesTaken = 0;
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
  Counts.Reset();
  ClosePort();
  ClearEpochs();
  auto port = std::make_unique<TSerial>([index] { return index; }, DeviceFactory, Providers);
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
  const std::unique_ptr<TSerial> port = std::move(SerialPort);
  Counts.EndSource();
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
  Counts.Reset();
  ClearEpochs();
  ReplayName = std::filesystem::path(fileName).filename().string();
  IsReplaying = true;
  Paused = false;
}

void TMonitor::Stop() {
  const bool fileOpen = IsLogging || IsReplaying;
  IsLogging = false;
  IsReplaying = false;
  Paused = false;
  ModeShown = false;
  Counts.EndSource();
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
    if (IsReplaying) return TakeFromReplay(result);
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

int TMonitor::BlinkInterval() const {
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
  if (DataFile.atEnd()) {
    result.ReplayEnded = true;
    Recording.Finish(LinesTaken);
    Satellites.EndEpoch();
    return Stop();
  }
  std::string line = DataFile.readLine();
  if (!line.empty()) Take(std::move(line), result);
}

bool TMonitor::Filtered(TSentenceResult result) const {
  switch (result) {
    case srBadChecksum:
    case srInvalid:
      return Options.IgnoreInvalid;
    case srGGA:
      return Options.IgnoreGGA;
    case srRMC:
      return Options.IgnoreRMC;
    case srGSV:
      return Options.IgnoreGSV;
    case srGSA:
      return Options.IgnoreGSA;
    case srUnrecognised:
    case srRME:
      return false;
  }
  return false;
}

std::string TMonitor::Stamp() const {
  if (Options.TimestampFormat == kLocalPCTime) return ClockStamp(Clock::Now());
  return RelativeStamp(Clock::TickCount(), StartTick);
}

// The decoder takes the line before any filter, so a filtered sentence still
// updates its record. A leading TAG block is not part of the sentence: it is
// shown and logged, but decoded, counted and given to the sky without it.
void TMonitor::Take(std::string line, TTickResult& result) {
  if (OnLine) OnLine(line);
  const std::string_view sentence = StripTagBlock(line);
  const TSentenceResult decoded = NMEA.Decode(sentence);
  const bool skyRead = Recording.Take(++LinesTaken, sentence, decoded);
  Counts.Count(sentence, LineFault(sentence, decoded, skyRead), Clock::TickCount());
  if (Filtered(decoded)) return;
  if (Options.RecordTimestamps) line = StampedLine(Stamp(), line);
  result.Lines.push_back(std::move(line));
  if (IsLogging) DataFile.writeLine(result.Lines.back());
  TFieldUpdates updates = DisplayFor(decoded, NMEA, FieldFormats, UsedTexts);
  NoteUsedTexts(updates, UsedTexts);
  if (result.Updates.empty()) {
    result.Updates = std::move(updates);
  } else {
    result.Updates.insert(result.Updates.end(), std::make_move_iterator(updates.begin()),
                          std::make_move_iterator(updates.end()));
  }
}
