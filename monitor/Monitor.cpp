#include "monitor/Monitor.h"

#include <filesystem>

#include "common/Clock.h"
#include "format/FormatRoutines.h"
#include "monitor/LogFileName.h"
#include "monitor/Timestamp.h"

namespace {

constexpr uint32_t kBlinkTicksWhileLogging = 10;

}  // namespace

TMonitor::TMonitor() : StartTick(Clock::TickCount()) {}

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
  auto port = std::make_unique<TSerial>([index] { return index; }, DeviceFactory);
  try {
    port->Open();
  } catch (...) {
    port->Close();
    throw;
  }
  SerialPort = std::move(port);
  PortIndex = index;
}

void TMonitor::ClosePort() {
  if (!SerialPort) return;
  // Taken out first, so that nothing can reach a port that is going away,
  // even when closing it fails.
  const std::unique_ptr<TSerial> port = std::move(SerialPort);
  port->Close();
}

void TMonitor::StartLogging(const std::string& fileName) {
  DataFile.Rewrite(ExpandLogFileName(fileName, Clock::Now(), Clock::Now()));
  StartTick = Clock::TickCount();
  IsLogging = true;
}

void TMonitor::StartReplay(const std::string& fileName) {
  DataFile.Reset(fileName);
  StartTick = Clock::TickCount();
  SourceTick = StartTick;
  Counts.Reset();
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
  if (fileOpen) {
    try {
      DataFile.Close();
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
    source.PercentRead = DataFile.PercentRead();
  } else if (SerialPort) {
    source.Kind = TSource::TKind::Port;
    source.Name = SerialPort->PortName();
    source.Device = PortDevicePath(PortIndex);
    source.BaudRate = Options.BaudRate.empty() ? kBaudRateOption.Default : Options.BaudRate;
  }
  return source;
}

TTickResult TMonitor::Tick() {
  TTickResult result;
  try {
    Blink(result);
    std::string line = NextLine(result);
    if (!line.empty()) Take(std::move(line), result);
  } catch (const std::exception& error) {
    result.Error = error.what();
  } catch (...) {
    result.Error = "Unexpected error";
  }
  return result;
}

// The mode indicator blinks every 11th tick while logging and on every tick
// (one replay period) while replaying, paused or not.
void TMonitor::Blink(TTickResult& result) {
  ++Blinks;
  if (!((IsLogging && Blinks > kBlinkTicksWhileLogging) || IsReplaying)) return;
  ModeShown = !ModeShown;
  result.ModeVisible = ModeShown;
  Blinks = 0;
}

std::string TMonitor::NextLine(TTickResult& result) {
  if (IsReplaying) {
    if (Paused) return {};
    if (DataFile.Eof()) {
      result.ReplayEnded = true;
      Stop();
      return {};
    }
    return DataFile.ReadLine();
  }
  if (SerialPort && SerialPort->IsOpen()) {
    SampleDSR(result);
    return SerialPort->ReadLine();
  }
  return {};
}

// DSR is the receiver's 1 PPS output: the lamp follows it, and each rising
// edge seen at a tick sends the PPS command once.
void TMonitor::SampleDSR(TTickResult& result) {
  const int32_t dsr = SerialPort->GetDSR() ? 1 : 0;
  if (dsr == LastDSRState) return;
  result.Lamp = dsr == 1;
  LastDSRState = dsr;
  if (dsr == 1 && !Options.PPSCommand.empty()) SerialPort->Send(Options.PPSCommand + "\r\n");
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
// updates its record.
void TMonitor::Take(std::string line, TTickResult& result) {
  const TSentenceResult decoded = NMEA.Decode(line);
  Counts.Count(line, decoded, Clock::TickCount());
  Satellites.Take(line);
  if (Filtered(decoded)) return;
  if (Options.RecordTimestamps) line = StampedLine(Stamp(), line);
  result.Lines.push_back(std::move(line));
  if (IsLogging) DataFile.WriteLine(result.Lines.back());
  TFieldUpdates updates = DisplayFor(decoded, NMEA, FieldFormats, UsedTexts);
  NoteUsedTexts(updates, UsedTexts);
  if (result.Updates.empty()) {
    result.Updates = std::move(updates);
  } else {
    result.Updates.insert(result.Updates.end(), std::make_move_iterator(updates.begin()),
                          std::make_move_iterator(updates.end()));
  }
}
