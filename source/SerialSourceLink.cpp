// A serial device that comes and goes, its baud rate, and its DSR line.

#include "source/SerialSource.h"

void TSerialSource::NoticeVanished() {
  if (!Device || !Device->Vanished()) return;
  CloseDevice();
  // No error piles up: the program waits for the device to come back.
  ReopenTimer.start();
  Arrived();
}

void TSerialSource::TryReopen() {
  std::string failure;
  std::unique_ptr<ISerialDevice> device = MakeDevice(failure);
  if (!device) return;
  ReopenTimer.stop();
  // A line cut off when the device went must not be glued to the first one
  // after its return: Attach empties the buffer.
  Attach(std::move(device));
  ++Reopens;
  Arrived();
}

void TSerialSource::Reapply() {
  if (!IsOpen) return;
  if (!Device) {
    // Taken again at the reopening.
    ChooseRate();
    if (Search) SearchTimer.start();
    return;
  }
  Close();
  Open();
}

std::optional<bool> TSerialSource::ReadDSR() {
  NoticeVanished();
  if (!Device || !HasModemLines) return std::nullopt;
  return Device->ReadDSR();
}

bool TSerialSource::WatchDSR(TEdgeHandler handler, std::function<void()> onFailed) {
  OnEdge = std::move(handler);
  OnWatchFailed = std::move(onFailed);
  if (Device) StartWatching();
  return Watching;
}

void TSerialSource::StartWatching() {
  if (!HasModemLines) return;
  Watching = Device->WatchDSR(OnEdge, [this] {
    Watching = false;
    if (OnWatchFailed) OnWatchFailed();
  });
}

bool TSerialSource::NeedsSampling() const {
  return Device && HasModemLines && !Watching;
}
