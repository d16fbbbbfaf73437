// What the port brings: its lines as they arrive, its dropped bytes, and its
// DSR line, the receiver's 1 PPS output.

#include "monitor/Monitor.h"

TTickResult TMonitor::TakeArrived() {
  return Run([this](TTickResult& result) {
    // A replay owns the loop; the port's lines wait in its bounded buffers.
    if (Replaying() || !SerialPort || !SerialPort->Opened()) return;
    // A receiver back after "Receiver disconnected" may be another one
    // plugged in: what the last one said is not its present.
    const int reopenings = SerialPort->Reopenings();
    if (reopenings > ReopeningsSeen) StartAfresh();
    ReopeningsSeen = reopenings;
    if (DSRPending) {
      DSRPending = false;
      IModemLines* lines = SerialPort->ModemLines();
      if (lines && SerialPort->LinkState() == TLinkState::Connected)
        ShowDSR(lines->ReadDSR().value_or(false), result);
    }
    TakeFromPort(result);
  });
}

// Empty and unprintable lines are read and go; every other line is taken in
// the order it came.
void TMonitor::TakeFromPort(TTickResult& result) {
  int taken = 0;
  for (; taken < kLinesPerArrival; ++taken) {
    std::optional<std::string> line = SerialPort->ReadLine();
    if (!line) break;
    if (!line->empty()) Take(std::move(*line), result);
  }
  result.MoreWaiting = taken == kLinesPerArrival;
  const uint64_t dropped = SerialPort->DroppedBytes();
  if (dropped != DroppedSeen) {
    State.Counts.AddDropped(dropped - DroppedSeen);
    DroppedSeen = dropped;
  }
}

TTickResult TMonitor::TakeDSREdge(const TDSREdge& edge) {
  return Run([this, edge](TTickResult& result) {
    if (Replaying() || !SerialPort) return;
    LastDSRAt = edge.At;
    ShowDSR(edge.On, result);
  });
}

// Where the device can be waited on, a thread hands over each change; where
// waiting fails later, the arrival handler lets the window start sampling.
void TMonitor::WatchDSR() {
  IModemLines* lines = SerialPort->ModemLines();
  if (!lines) return;
  lines->WatchDSR(
      [this](const TDSREdge& edge) {
        if (OnDSR) OnDSR(edge);
      },
      [this] {
        if (OnArrival) OnArrival();
      });
}

// The lamp follows DSR, and each rising edge sends the PPS command once.
void TMonitor::ShowDSR(bool on, TTickResult& result) {
  const int32_t dsr = on ? 1 : 0;
  if (dsr == LastDSRState) return;
  result.Lamp = on;
  LastDSRState = dsr;
  if (on && !Options.PPSCommand.empty()) SerialPort->Send(Options.PPSCommand + "\r\n");
}
