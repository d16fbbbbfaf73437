#include "source/Serial.h"

#include <algorithm>

#include "source/QtSerialDevice.h"
#include "source/SerialImpl.h"

namespace {

constexpr int kQueueSize = 1024;
constexpr int64_t kReadChunk = 1024;
// What one ReadLine of a network source reads at most while no line is
// complete: enough to pass a flood of junk at a good pace, little enough to
// keep the tick short.
constexpr size_t kNetworkReadBudget = 64 * 1024;

const char* const kOpenFailed = "Unable to open communications port";
const char* const kBufferFailed = "Unable to create comms buffer";
const char* const kConfigureFailed = "Unable to set comms DCB";
const char* const kTimeoutsFailed = "Unable to set comms timeouts";
const char* const kDTRFailed = "Error raising DTR signal";
const char* const kRTSFailed = "Error raising RTS signal";
const char* const kSendFailed = "Error sending data";

// The steps that set up an opened serial line, in order; the message of the
// first that fails, or nothing.
const char* SetUpLine(ISerialDevice& port, int32_t baudRate) {
  if (!port.SetQueueSizes(kQueueSize, kQueueSize)) return kBufferFailed;
  if (!port.Configure(baudRate)) return kConfigureFailed;
  if (!port.SetImmediateReads()) return kTimeoutsFailed;
  if (port.RaiseDTR() == TSignalResult::Failed) return kDTRFailed;
  if (port.RaiseRTS() == TSignalResult::Failed) return kRTSFailed;
  return nullptr;
}

}  // namespace

TSerial::TImpl::TImpl() {
  ReopenTimer.setInterval(1000);
  QObject::connect(&ReopenTimer, &QTimer::timeout, &ReopenTimer, [this] { TryReopen(); });
}

std::unique_ptr<ISerialDevice> TSerial::TImpl::MakeSerialDevice(std::string& failure) {
  std::unique_ptr<ISerialDevice> device = DeviceFactory();
  if (!device || !device->Open(DevicePath)) {
    failure = OpenFailureText(DevicePath);
    return nullptr;
  }
  if (const char* stepFailed = SetUpLine(*device, BaudRate)) {
    device->Close();
    failure = stepFailed;
    return nullptr;
  }
  return device;
}

void TSerial::TImpl::OpenSerial() {
  BaudRate = StoredBaudRate();
  std::string failure;
  Device = MakeSerialDevice(failure);
  if (!Device) throw EDeviceError(failure);
}

void TSerial::TImpl::OpenNetwork() {
  std::string reason;
  const std::optional<TSourceUrl> url = ParseSourceUrl(DevicePath, reason);
  if (!url) throw EDeviceError(std::string(kOpenFailed) + "\nInvalid address URL: " + reason);
  std::unique_ptr<TNetworkDevice> device = MakeNetworkDevice(*url);
  device->Open(DevicePath);
  Network = device.get();
  Device = std::move(device);
}

void TSerial::TImpl::CloseDevice() {
  ReopenTimer.stop();
  if (Network) DroppedBefore += Network->DroppedBytes();
  Network = nullptr;
  if (Device) Device->Close();
  Device.reset();
}

int64_t TSerial::TImpl::ReadChunk(char* chunk) {
  NoticeVanished();
  if (!Device) return 0;
  const int64_t count = Device->Read(chunk, kReadChunk);
  return std::clamp<int64_t>(count, 0, kReadChunk);
}

void TSerial::TImpl::FillUntilLine() {
  char chunk[kReadChunk];
  for (size_t read = 0; !RxBuffer.HasLine() && read < kNetworkReadBudget;) {
    const int64_t count = ReadChunk(chunk);
    if (count == 0) return;
    RxBuffer.Append(std::string_view(chunk, static_cast<size_t>(count)));
    read += static_cast<size_t>(count);
  }
}

TSerial::TSerial(TPortIndexSource portIndex, TDeviceFactory deviceFactory)
    : Impl(std::make_unique<TImpl>()) {
  Impl->PortIndex = std::move(portIndex);
  Impl->DeviceFactory = std::move(deviceFactory);
  if (!Impl->DeviceFactory)
    Impl->DeviceFactory = [] { return std::make_unique<TQtSerialDevice>(); };
}

TSerial::~TSerial() = default;

void TSerial::Open() {
  if (Impl->PortOpen) return;
  const int index = Impl->PortIndex ? Impl->PortIndex() : -1;
  if (index < 0 || index >= kPortCount) throw EDeviceError(kOpenFailed);
  Impl->PortName = "COM" + std::to_string(index + 1) + ":";
  Impl->DevicePath = PortDevicePath(index);
  Impl->Reopens = 0;
  if (IsSourceUrl(Impl->DevicePath))
    Impl->OpenNetwork();
  else
    Impl->OpenSerial();
  Impl->PortOpen = true;
  Purge();
}

void TSerial::Close() {
  Impl->CloseDevice();
  Impl->PortOpen = false;
}

bool TSerial::IsOpen() const {
  return Impl->PortOpen;
}

std::string TSerial::ReadLine() {
  if (Impl->Network) {
    Impl->FillUntilLine();
  } else {
    char chunk[kReadChunk];
    const int64_t count = Impl->ReadChunk(chunk);
    Impl->RxBuffer.Append(std::string_view(chunk, static_cast<size_t>(count)));
  }
  return Impl->RxBuffer.TakeLine();
}

void TSerial::Send(std::string_view text) {
  if (text.empty()) return;
  if (!Impl->PortOpen) throw EDeviceError(kSendFailed);
  if (!CanSend()) throw EDeviceError(kCannotSendText);
  if (LinkState() != TLinkState::Connected) throw EDeviceError(kDisconnectedText);
  if (!Impl->Device->Write(text)) throw EDeviceError(kSendFailed);
}

bool TSerial::GetDSR() {
  Impl->NoticeVanished();
  if (!Impl->Device) return false;
  return Impl->Device->ReadDSR().value_or(false);
}

std::string TSerial::ReadAvailable() {
  char chunk[kReadChunk];
  const int64_t count = Impl->ReadChunk(chunk);
  return std::string(chunk, static_cast<size_t>(count));
}

void TSerial::Purge() {
  if (Impl->Device) Impl->Device->Purge();
  Impl->RxBuffer.Clear();
}
