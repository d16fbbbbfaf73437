#pragma once
// The receive loop and its state, away from any window. One Tick() blinks the
// mode indicator, takes at most one line (from the replay file, or from the
// open port after sampling DSR for the 1 PPS lamp), decodes it, filters and
// stamps it, logs it and works out what the fix display must show. The
// window applies what a tick returns; the monitor never touches a widget.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "monitor/DataFile.h"
#include "monitor/FixDisplay.h"
#include "monitor/MonitorOptions.h"
#include "monitor/SentenceStats.h"
#include "nmea/NMEA.h"
#include "nmea/SkyModel.h"
#include "source/Serial.h"

// What one tick asks of the window, in the order it must be done.
struct TTickResult {
  // The mode indicator's new visibility, when it blinked.
  std::optional<bool> ModeVisible;
  // The lamp's new state (true lit), when DSR changed.
  std::optional<bool> Lamp;
  // The replay reached its end: the monitor has stopped; the window shows it.
  bool ReplayEnded = false;
  // Lines to append to the received-data view, as shown and logged.
  std::vector<std::string> Lines;
  // Field writes of the fix display.
  TFieldUpdates Updates;
  // Why the tick stopped early; what is above happened before the failure.
  std::string Error;
};

class TMonitor {
 public:
  // The receive timer's interval whenever no replay sets the pace.
  static constexpr int kIdleInterval = 10;

  TMonitor();
  ~TMonitor();
  TMonitor(const TMonitor&) = delete;
  TMonitor& operator=(const TMonitor&) = delete;

  void SetOptions(const TMonitorOptions& options) { Options = options; }
  const TMonitorOptions& CurrentOptions() const { return Options; }
  // The formats the fix fields are written in.
  void SetFieldFormats(const TFieldFormats& formats) { FieldFormats = formats; }
  // What each port opens; empty for real devices.
  void SetDeviceFactory(TSerial::TDeviceFactory factory) { DeviceFactory = std::move(factory); }

  // Lets go of any port, then opens slot `index` (0 = "COM1:"). Throws the
  // port's error, and then holds no port.
  void OpenPort(int index);
  void ClosePort();
  // The port for the dialogs: nullptr while none is held.
  TSerial* Port() const { return SerialPort.get(); }

  // Both throw the data file's error and then leave the monitor as it was.
  void StartLogging(const std::string& fileName);
  void StartReplay(const std::string& fileName);
  // Ends logging or replay and lets go of the port. The port goes even when
  // the file cannot be written out; that failure is thrown afterwards.
  void Stop();
  void SetPaused(bool paused) { Paused = paused; }
  void SetReplayRate(int milliseconds) { ReplayRate = milliseconds; }

  bool Logging() const { return IsLogging; }
  bool Replaying() const { return IsReplaying; }
  bool IsPaused() const { return Paused; }
  // Ticks are needed while a port is held, a log is written or a replay runs;
  // otherwise there is nothing to do and the program may sleep.
  bool NeedsTicks() const { return SerialPort || IsLogging || IsReplaying; }
  int TickInterval() const { return IsReplaying ? ReplayRate : kIdleInterval; }

  TTickResult Tick();

  const TNMEA& Decoder() const { return NMEA; }
  // Every line taken since the source was chosen or the counts were reset,
  // counted before the filters.
  const TSentenceStats& Stats() const { return Counts; }
  void ResetStats() { Counts.Reset(); }
  // Every satellite of every system and signal, from every line taken.
  const TSkyModel& Sky() const { return Satellites; }
  void ClearSky() { Satellites.Clear(); }
  // Where lines come from now, for the status bar. Asking also lets the port
  // notice a receiver that went away while nothing read it.
  struct TSource {
    enum class TKind { None, Port, Replay } Kind = TKind::None;
    std::string Text;        // the port's own account of its link
    std::string Name;        // the replay file's name
    int PercentRead = 0;     // of the replay file
    uint32_t StartTick = 0;  // when it was chosen
  };
  TSource Source() const;
  int32_t LastDSR() const { return LastDSRState; }
  uint32_t BlinkCount() const { return Blinks; }

 private:
  void Blink(TTickResult& result);
  void TakeFromPort(TTickResult& result);
  void TakeFromReplay(TTickResult& result);
  void SampleDSR(TTickResult& result);
  bool Filtered(TSentenceResult result) const;
  std::string Stamp() const;
  void Take(std::string line, TTickResult& result);

  TNMEA NMEA;
  TSentenceStats Counts;
  TSkyModel Satellites;
  std::string ReplayName;
  uint64_t DroppedSeen = 0;  // the port's dropped bytes already counted
  uint32_t SourceTick = 0;
  std::unique_ptr<TSerial> SerialPort;
  TSerial::TDeviceFactory DeviceFactory;
  TDataFile DataFile;
  TMonitorOptions Options;
  TFieldFormats FieldFormats;
  TUsedTexts UsedTexts;
  bool IsLogging = false;
  bool IsReplaying = false;
  bool Paused = false;
  bool ModeShown = false;
  int ReplayRate = kDefaultReplaySpeed;
  uint32_t StartTick = 0;
  int32_t LastDSRState = -1;  // -1 nothing drawn yet, 0 off, 1 on
  uint32_t Blinks = 0;        // unsigned: after 2^32 ticks it wraps, defined
};
