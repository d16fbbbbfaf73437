#include "serial/Serial.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "common/Routines.h"
#include "common/Settings.h"
#include "serial/QtSerialDevice.h"
#include "serial/SerialDevice.h"

namespace {

constexpr int kPortCount = 8;
constexpr int kQueueSize = 1024;
constexpr int64_t kReadChunk = 1024;
constexpr int32_t kDefaultBaudRate = 4800;
// What stays of the receive buffer after a line is taken out.
constexpr size_t kKeptAfterLine = 32767;
// While no CR arrives (a receiver sending LF-only lines, or noise on the
// line), the receive buffer keeps only this many of the newest bytes.
constexpr size_t kMaxWithoutLine = 64 * 1024;

const char* const kOpenFailed = "Unable to open communications port";
const char* const kBufferFailed = "Unable to create comms buffer";
const char* const kConfigureFailed = "Unable to set comms DCB";
const char* const kTimeoutsFailed = "Unable to set comms timeouts";
const char* const kDTRFailed = "Error raising DTR signal";
const char* const kRTSFailed = "Error raising RTS signal";
const char* const kSendFailed = "Error sending data";

#ifndef _WIN32
const char* const kDefaultPaths[kPortCount] = {
    "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyACM1",
    "/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyS2",   "/dev/ttyS3",
};
#endif

std::string SlotName(int index) {
  return "COM" + std::to_string(index + 1);
}

// The stored "BaudRate" as a decimal integer; anything else opens at 4800.
// A number outside the usual list is passed on as it stands: some receivers
// run at odd rates.
int32_t StoredBaudRate() {
  const std::string text = ReadSettingStr("Options", "BaudRate", "");
  size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return kDefaultBaudRate;
  if (text[start] == '+') ++start;
  int32_t rate = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data() + start, end, rate);
  if (error != std::errc() || stop != end) return kDefaultBaudRate;
  return rate;
}

}  // namespace

std::string PortDevicePath(int index) {
  if (index < 0 || index >= kPortCount) return {};
  const std::string slot = SlotName(index);
  const char* fromEnvironment = std::getenv(("TOLVANE_" + slot).c_str());
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
  std::string fromSettings = ReadSettingStr("Ports", slot, "");
  if (!fromSettings.empty()) return fromSettings;
#ifdef _WIN32
  return slot;
#else
  return kDefaultPaths[index];
#endif
}

struct TSerial::TImpl {
  TPortIndexSource PortIndex;
  TDeviceFactory DeviceFactory;
  std::string PortName;
  std::unique_ptr<ISerialDevice> Device;
  std::string RxBuffer;

  bool PortOpen() const { return Device != nullptr; }

  void CloseDevice() {
    if (Device) Device->Close();
    Device.reset();
  }

  // One step of opening: a failure closes the device again, so that a failed
  // Open always leaves the port closed.
  void Require(bool done, const char* message) {
    if (done) return;
    CloseDevice();
    throw EDeviceError(message);
  }

  void RequireSignal(ESignalResult result, const char* message) {
    Require(result != ESignalResult::Failed, message);
  }
};

TSerial::TSerial(TPortIndexSource portIndex, TDeviceFactory deviceFactory)
    : Impl(std::make_unique<TImpl>()) {
  Impl->PortIndex = std::move(portIndex);
  Impl->DeviceFactory = std::move(deviceFactory);
  if (!Impl->DeviceFactory)
    Impl->DeviceFactory = [] { return std::make_unique<TQtSerialDevice>(); };
}

TSerial::~TSerial() = default;

void TSerial::Open() {
  if (Impl->PortOpen()) return;
  const int index = Impl->PortIndex ? Impl->PortIndex() : -1;
  if (index < 0 || index >= kPortCount) throw EDeviceError(kOpenFailed);
  Impl->PortName = SlotName(index) + ":";

  std::unique_ptr<ISerialDevice> device = Impl->DeviceFactory();
  if (!device || !device->Open(PortDevicePath(index))) throw EDeviceError(kOpenFailed);
  Impl->Device = std::move(device);

  ISerialDevice& port = *Impl->Device;
  Impl->Require(port.SetQueueSizes(kQueueSize, kQueueSize), kBufferFailed);
  Impl->Require(port.Configure(StoredBaudRate()), kConfigureFailed);
  Impl->Require(port.SetImmediateReads(), kTimeoutsFailed);
  Impl->RequireSignal(port.RaiseDTR(), kDTRFailed);
  Impl->RequireSignal(port.RaiseRTS(), kRTSFailed);
  Purge();
}

void TSerial::Close() {
  Impl->CloseDevice();
}

bool TSerial::IsOpen() const {
  return Impl->PortOpen();
}

std::string TSerial::ReadLine() {
  std::string& buffer = Impl->RxBuffer;
  buffer += ReadAvailable();
  const size_t cr = buffer.find('\r');
  if (cr == std::string::npos) {
    if (buffer.size() > kMaxWithoutLine) buffer.erase(0, buffer.size() - kMaxWithoutLine);
    return {};
  }
  std::string line = KeepPrintable(std::string_view(buffer).substr(0, cr));
  size_t rest = cr + 1;
  if (rest < buffer.size() && buffer[rest] == '\n') ++rest;
  buffer.erase(0, rest);
  if (buffer.size() > kKeptAfterLine) buffer.resize(kKeptAfterLine);
  return line;
}

void TSerial::Send(std::string_view text) {
  if (text.empty()) return;
  if (!Impl->PortOpen() || !Impl->Device->Write(text)) throw EDeviceError(kSendFailed);
}

bool TSerial::GetDSR() {
  if (!Impl->PortOpen()) return false;
  return Impl->Device->ReadDSR().value_or(false);
}

std::string TSerial::ReadAvailable() {
  if (!Impl->PortOpen()) return {};
  char chunk[kReadChunk];
  const int64_t count = Impl->Device->Read(chunk, kReadChunk);
  if (count <= 0) return {};
  return std::string(chunk, static_cast<size_t>(std::min(count, kReadChunk)));
}

void TSerial::Purge() {
  if (Impl->PortOpen()) Impl->Device->Purge();
  Impl->RxBuffer.clear();
}

const std::string& TSerial::PortName() const {
  return Impl->PortName;
}
