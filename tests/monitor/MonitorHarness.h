#pragma once
// A monitor with everything a test needs in its hands: injected clocks, a
// scripted serial device behind every COM slot, and the lines every tick
// returned, gathered as the window would show them.

#include <string>
#include <vector>

#include "common/Clock.h"
#include "common/Routines.h"
#include "monitor/Monitor.h"
#include "tests/support/ScriptedSerialDevice.h"
#include "tests/support/SettingsHome.h"

class TMonitorHarness {
 public:
  TMonitorHarness() {
    Clock::SetTickSource([this] { return Tick; });
    Clock::SetNowSource([this] { return Now; });
    Monitor.SetDeviceFactory(TScriptedSerialDevice::Factory(Script));
  }
  ~TMonitorHarness() {
    Clock::SetTickSource({});
    Clock::SetNowSource({});
  }

  // Runs ticks (a replay line, a DSR sample); what they return is gathered below.
  void Ticks(int count) {
    for (int tick = 0; tick < count; ++tick) Gather(Monitor.Tick());
  }
  // Lines arrive at the port, and the monitor takes them.
  void Receive(const std::vector<std::string>& lines) {
    for (const auto& line : lines) Script->Incoming += line + "\r\n";
    Arrived();
  }
  void Arrived() { Gather(Monitor.TakeArrived()); }
  void Gather(TTickResult result) {
    Shown.insert(Shown.end(), result.Lines.begin(), result.Lines.end());
    if (!result.Error.empty()) Errors.push_back(result.Error);
    Results.push_back(std::move(result));
  }
  void SetPPSCommand(const std::string& command) {
    TMonitorOptions options = Monitor.CurrentOptions();
    options.PPSCommand = command;
    Monitor.SetOptions(options);
  }
  void Set(bool TMonitorOptions::*option, bool on = true) {
    TMonitorOptions options = Monitor.CurrentOptions();
    options.*option = on;
    Monitor.SetOptions(options);
  }

  TTempSettingsHome Home;
  std::shared_ptr<TSerialScript> Script = std::make_shared<TSerialScript>();
  uint32_t Tick = 1000;
  TDateTime Now = 45356.5;  // 5 March 2024, noon
  TMonitor Monitor;
  std::vector<std::string> Shown;
  std::vector<std::string> Errors;
  std::vector<TTickResult> Results;
};
