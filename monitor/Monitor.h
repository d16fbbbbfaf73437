#pragma once
// The receive loop and its state, away from any window. Lines are taken as
// the port says they arrived (TakeArrived), or as the replay (TReplay) hands
// them out at a tick (Tick); each is decoded, filtered, stamped, logged and
// worked out into what the fix display must show. DSR, the receiver's 1 PPS
// output, lights the lamp: its changes come from a thread that waits for
// them, or, where the device cannot be waited on, from sampling at every
// tick. The mode indicator blinks at its own pace (Blink). The window applies
// what each step returns; the monitor never touches a widget.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/EpochHistory.h"
#include "monitor/DataFile.h"
#include "monitor/FixDisplay.h"
#include "monitor/MonitorOptions.h"
#include "monitor/RawLog.h"
#include "monitor/ReceiverState.h"
#include "monitor/Replay.h"
#include "source/PortSlot.h"

// What one step asks of the window, in the order it must be done.
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
  // Why the step stopped early; what is above happened before the failure.
  std::string Error;
  // Lines may still wait: take them at the next turn of the event loop.
  bool MoreWaiting = false;
  // For the status bar: a gap in the recorded time that the replay crossed.
  std::string Notice;
  // The replay jumped: the received data starts over, and Updates hold the
  // whole fix display as it stands at the new place.
  bool Jumped = false;
};

class TMonitor {
 public:
  // The receive timer's interval whenever no replay sets the pace: DSR
  // sampled where it cannot be waited for.
  static constexpr int kIdleInterval = 10;
  // The mode indicator's half period while logging.
  static constexpr int kLoggingBlinkInterval = 110;
  // The blink's half period while a replay goes at the recorded pace.
  static constexpr int kPacedBlinkInterval = 500;
  // The work one tick does at most while a replay is behind its pace (or goes
  // as fast as possible): about a frame, so the window stays responsive.
  static constexpr uint32_t kReplayTickBudget = 16;
  // Lines one arrival takes at most (a multiplexer with AIS sends hundreds
  // a second): the rest are taken at the next turn, so one event stays short.
  static constexpr int kLinesPerArrival = 100;

  TMonitor();
  ~TMonitor();
  TMonitor(const TMonitor&) = delete;
  TMonitor& operator=(const TMonitor&) = delete;

  void SetOptions(const TMonitorOptions& options) { Options = options; }
  const TMonitorOptions& CurrentOptions() const { return Options; }
  // The formats the fix fields are written in.
  void SetFieldFormats(const TFieldFormats& formats) { FieldFormats = formats; }
  // What each port opens; empty for real devices.
  void SetDeviceFactory(TPortSlot::TDeviceFactory factory) { DeviceFactory = std::move(factory); }
  // Where the slots lead and at what baud rate.
  void SetPortProviders(TPortProviders providers) { Providers = std::move(providers); }
  // Called from the event loop when the port has lines (TakeArrived takes
  // them) or its link changed (NeedsTicks may have changed).
  void SetArrivalHandler(std::function<void()> handler) { OnArrival = std::move(handler); }
  // Called on the GUI thread with each DSR change a waiting thread saw
  // (TakeDSREdge applies it).
  void SetDSRHandler(std::function<void(const TDSREdge&)> handler) { OnDSR = std::move(handler); }
  // Called with every line taken from a port or a replay, as it came: before
  // the filters and stamps (whoever shares the received data).
  void SetLineObserver(std::function<void(std::string_view line)> observer) {
    OnLine = std::move(observer);
  }
  // Called whenever the source changes or goes (another slot, a replay, a
  // receiver back after "Receiver disconnected", Stop), once the decoder's
  // records, the fix display's notes, the sky and the epochs are back as at
  // program start: whatever shows them starts from empty too.
  void SetFreshStartHandler(std::function<void()> handler) { OnFreshStart = std::move(handler); }

  // Lets go of any port, then opens slot `index` (0 = "COM1:"). Throws the
  // port's error, and then holds no port. Starts from empty either way.
  void OpenPort(int index);
  void ClosePort();
  // The port for the dialogs: nullptr while none is held.
  TPortSlot* Port() const { return SerialPort.get(); }

  // Both throw the data file's error and then leave the monitor as it was.
  // A replay starts from empty; logging goes on with what the port brought.
  void StartLogging(const std::string& fileName);
  void StartReplay(const std::string& fileName);
  // Ends logging or replay, lets go of the port and starts from empty. The
  // port goes even when the file cannot be written out; that failure is
  // thrown afterwards. A replay that reaches its end stops by itself and
  // leaves what it showed last.
  void Stop();
  // The replay: its pace, pausing, index and checkpoints.
  TReplay& Replay() { return FileReplay; }
  const TReplay& Replay() const { return FileReplay; }
  // Goes on from the start of epoch `epoch` of the replay's index, with
  // every record as a replay from the top of the file would have left it
  // there; nothing before the index is ready. A jump decodes at most the
  // replay's jump decode limit at once: farther from the nearest checkpoint,
  // it says so in Notice and waits, taking no lines, until the indexing
  // thread's checkpoints reach the place; a later tick jumps. The window
  // stays responsive meanwhile.
  TTickResult JumpTo(size_t epoch);

  bool Logging() const { return LogFile.isOpen(); }
  // The raw log takes every byte the port delivers, and every line a replay
  // hands out as it stands in a raw file (a frame's bytes, a sentence and CR
  // LF), from its start on; Stop ends it with the text log. StartRawLog
  // raises the file's error.
  void StartRawLog(const std::string& fileName) { RawFile.Start(fileName); }
  void StopRawLog() { RawFile.Stop(); }
  TRawLog& RawLog() { return RawFile; }
  const TRawLog& RawLog() const { return RawFile; }
  // Whether the source has sent a UBX frame since it was chosen: a u-blox
  // receiver, whose raw log is a .ubx.
  bool SentUbx() const { return UbxSeen; }
  bool Replaying() const { return FileReplay.Running(); }
  // Ticks are needed while a replay runs and while the port's DSR must be
  // sampled; otherwise lines come by themselves and the program may sleep.
  bool NeedsTicks() const;
  // At the recorded pace: the milliseconds until the next line is due, 0
  // for the next turn of the event loop.
  int TickInterval() const;
  // The mode indicator's blink period while logging or replaying (paused or
  // not), else 0: no blinking.
  int BlinkInterval() const;

  // One replay line, the replay's lines now due, or a DSR sample.
  TTickResult Tick();
  // Every line that arrived at the port, up to kLinesPerArrival; also the
  // lamp's first state after the port opened.
  TTickResult TakeArrived();
  TTickResult TakeDSREdge(const TDSREdge& edge);
  // Shows or hides the mode indicator.
  TTickResult Blink();

  const TNMEA& Decoder() const { return State.Decoder; }
  // Every line taken since the source was chosen or the counts were reset,
  // counted before the filters.
  const TSentenceStats& Stats() const { return State.Counts; }
  void ResetStats() { State.Counts.Reset(); }
  // Every satellite of every system and signal, from every line taken.
  const TSkyModel& Sky() const { return State.Sky; }
  // Every completed epoch of the current source or replay, and what the
  // status bar says of the latest: interference, else a fix better than GPS.
  const THistory& History() const { return Epochs; }
  const TEpochRecorder& Recorder() const { return State.Recorder; }
  // When the receiver's last MON-RF came (the recorder keeps its verdicts).
  uint32_t RfReportTick() const { return State.Frames.RfTick; }
  // The reference station the corrections name, with the baseline from the
  // current fix, for the Position window; empty while none is known.
  std::string StationLine() const { return State.Frames.StationLine(State.Decoder); }
  // Forgets the satellites and the epochs, as a new source or replay does.
  void ClearEpochs();
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
  // When DSR last changed, as the waiting thread saw it (for a PPS offset).
  std::chrono::steady_clock::time_point LastDSRChange() const { return LastDSRAt; }

 private:
  // The modem lines whose DSR must be sampled by the receive timer, or nothing.
  IModemLines* SampledLines() const;
  TTickResult Run(const std::function<void(TTickResult&)>& step);
  // Everything the last source left, gone as at program start.
  void StartAfresh();
  // Stop without forgetting anything.
  void Halt();
  void TakeFromPort(TTickResult& result);
  void TakeFromReplay(TTickResult& result);
  void EndReplay(TTickResult& result);
  void LogRaw(std::string_view line);
  void WatchDSR();
  void ShowDSR(bool on, TTickResult& result);
  std::string Stamp() const;
  void Take(std::string line, TTickResult& result);
  void TakeFrame(std::string_view line, TTickResult& result);
  // The replay's waiting jump, once it can be done.
  void TakeWaitingJump(TTickResult& result);
  void ShowWholeDisplay(const TFieldUpdates& before, TTickResult& result) const;

  TReceiverState State;
  THistory Epochs;
  uint64_t DroppedSeen = 0;  // the port's dropped bytes already counted
  uint32_t SourceTick = 0;
  std::unique_ptr<TPortSlot> SerialPort;
  TPortSlot::TDeviceFactory DeviceFactory;
  TPortProviders Providers;
  std::function<void()> OnArrival;
  std::function<void(const TDSREdge&)> OnDSR;
  std::function<void(std::string_view)> OnLine;
  std::function<void()> OnFreshStart;
  // The port's reopenings after its device vanished, as last seen: another
  // one is (perhaps) another receiver.
  int ReopeningsSeen = 0;
  // The lamp's state is read once after the port opened.
  bool DSRPending = false;
  std::chrono::steady_clock::time_point LastDSRAt;
  TDataFile LogFile;
  TRawLog RawFile;
  bool UbxSeen = false;
  TMonitorOptions Options;
  TFieldFormats FieldFormats;
  bool ModeShown = false;
  // After the state and history that it plays into.
  TReplay FileReplay{State, Epochs};
  uint32_t StartTick = 0;
  int32_t LastDSRState = -1;  // -1 nothing drawn yet, 0 off, 1 on
};
