// How the link to the receiver stands, and a serial device that comes back.

#include "source/SerialImpl.h"

void TSerial::TImpl::NoticeVanished() {
  if (!Device || Network || !Device->Vanished()) return;
  CloseDevice();
  // No error piles up: the program waits for the device to come back.
  ReopenTimer.start();
}

void TSerial::TImpl::TryReopen() {
  std::string failure;
  std::unique_ptr<ISerialDevice> device = MakeSerialDevice(failure);
  if (!device) return;
  ReopenTimer.stop();
  device->Purge();
  // A line cut off when the device went must not be glued to the first one
  // after its return.
  RxBuffer.Clear();
  Device = std::move(device);
  ++Reopens;
}

void TSerial::ReopenForBaudRate() {
  if (!Impl->PortOpen || Impl->Network) return;
  if (!Impl->Device) {
    Impl->BaudRate = StoredBaudRate();
    return;
  }
  Close();
  Open();
}

const std::string& TSerial::PortName() const {
  return Impl->PortName;
}

const std::string& TSerial::DevicePath() const {
  return Impl->DevicePath;
}

TLinkState TSerial::LinkState() const {
  if (!Impl->PortOpen) return TLinkState::Closed;
  Impl->NoticeVanished();
  if (Impl->Network) return Impl->Network->State();
  return Impl->Device ? TLinkState::Connected : TLinkState::Disconnected;
}

std::string TSerial::SourceText() const {
  const std::string& path = Impl->DevicePath;
  switch (LinkState()) {
    case TLinkState::Closed:
      return {};
    case TLinkState::Connecting:
      return "Connecting to " + path;
    case TLinkState::Connected:
      if (Impl->Network) return "Connected to " + path;
      return Impl->PortName + " " + path + " at " + std::to_string(Impl->BaudRate) + " baud" +
             (Impl->Reopens > 0 ? " (reopened)" : "");
    case TLinkState::Retrying:
      return "Disconnected from " + path + ", retrying in " +
             std::to_string(Impl->Network->RetryInSeconds()) + " s";
    case TLinkState::Disconnected:
      return kDisconnectedText;
  }
  return {};
}

int TSerial::ReopenCount() const {
  return Impl->Reopens;
}

bool TSerial::IsNetwork() const {
  return Impl->Network != nullptr;
}

int TSerial::LinesPerTick() const {
  return IsNetwork() ? kNetworkLinesPerTick : 1;
}

bool TSerial::CanSend() const {
  return !Impl->Network || Impl->Network->CanSend();
}

bool TSerial::HasModemLines() const {
  return !IsNetwork();
}

uint64_t TSerial::DroppedBytes() const {
  return Impl->RxBuffer.DroppedBytes() + Impl->DroppedBefore +
         (Impl->Network ? Impl->Network->DroppedBytes() : 0);
}
