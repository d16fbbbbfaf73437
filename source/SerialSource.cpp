#include "source/SerialSource.h"

#include "common/Clock.h"
#include "common/Routines.h"
#include "source/LineReading.h"
#include "source/PortPermission.h"
#include "source/PortSlot.h"

namespace {

constexpr int kQueueSize = 1024;
// A vanished device is looked for again once a second: soon enough that a
// receiver plugged back in is read at once, seldom enough to cost nothing.
constexpr int kReopenMs = 1000;

const char* const kBufferFailed = "Unable to create comms buffer";
const char* const kConfigureFailed = "Unable to set comms DCB";
const char* const kTimeoutsFailed = "Unable to set comms timeouts";
const char* const kDTRFailed = "Error raising DTR signal";
const char* const kRTSFailed = "Error raising RTS signal";

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

std::string OpenFailureText(const std::string& path) {
  std::string text = kOpenFailedText;
  const std::string hint = PermissionHint(path);
  if (!hint.empty()) text += "\n" + hint;
  return text;
}

}  // namespace

TSerialSource::TSerialSource(std::string portName, std::string path, TBaudRateProvider baudRate,
                             TDeviceFactory factory)
    : PortName(std::move(portName)),
      Path(std::move(path)),
      BaudRateProvider(std::move(baudRate)),
      DeviceFactory(std::move(factory)) {
  ReopenTimer.setInterval(kReopenMs);
  QObject::connect(&ReopenTimer, &QTimer::timeout, &ReopenTimer, [this] { TryReopen(); });
  SearchTimer.setInterval(TBaudSearch::kListenMs);
  QObject::connect(&SearchTimer, &QTimer::timeout, &SearchTimer, [this] { TryNextRate(); });
}

TSerialSource::~TSerialSource() {
  CloseDevice();
}

std::unique_ptr<ISerialDevice> TSerialSource::MakeDevice(std::string& failure) {
  std::unique_ptr<ISerialDevice> device = DeviceFactory ? DeviceFactory() : nullptr;
  if (!device || !device->Open(Path)) {
    failure = OpenFailureText(Path);
    return nullptr;
  }
  if (const char* stepFailed = SetUpLine(*device, CurrentRate)) {
    device->Close();
    failure = stepFailed;
    return nullptr;
  }
  return device;
}

void TSerialSource::Open() {
  if (IsOpen) return;
  ChooseRate();
  std::string failure;
  std::unique_ptr<ISerialDevice> device = MakeDevice(failure);
  if (!device) throw EDeviceError(failure);
  Reopens = 0;
  IsOpen = true;
  Attach(std::move(device));
  if (Search) SearchTimer.start();
}

void TSerialSource::ChooseRate() {
  Search.reset();
  SearchedRate = false;
  Held.clear();
  CurrentRate = BaudRateProvider ? BaudRateProvider() : 0;
  if (!BaudRateProvider || CurrentRate != kAutoRate) return;
  Search.emplace(FoundRate.Recall ? FoundRate.Recall() : 0);
  CurrentRate = Search->Rate();
}

// A vanished device takes the next rate at its reopening.
void TSerialSource::TryNextRate() {
  if (!Search) return SearchTimer.stop();
  Search->Next();
  CurrentRate = Search->Rate();
  Held.clear();
  if (!Device) return;
  Device->Configure(CurrentRate);
  Device->Purge();
  RxBuffer.Clear();
}

// What waited before the open (or before a reopening) is not the
// receiver's present: it goes.
void TSerialSource::Attach(std::unique_ptr<ISerialDevice> device) {
  device->Purge();
  RxBuffer.Clear();
  QuietSince = Clock::TickCount();
  BytesSinceValid = false;
  Device = std::move(device);
  Device->SetReadyHandler([this] { Arrived(); });
  HasModemLines = Device->ReadDSR().has_value();
  Watching = false;
  if (OnEdge) StartWatching();
}

void TSerialSource::Close() {
  CloseDevice();
  IsOpen = false;
}

void TSerialSource::CloseDevice() {
  ReopenTimer.stop();
  SearchTimer.stop();
  Watching = false;
  if (Device) Device->Close();
  Device.reset();
}

void TSerialSource::SetArrivalHandler(TArrivalHandler handler) {
  OnArrival = std::move(handler);
}

void TSerialSource::Arrived() const {
  if (OnArrival) OnArrival();
}

std::optional<std::string> TSerialSource::ReadLine() {
  if (!Search && !Held.empty()) {
    std::string line = std::move(Held.front());
    Held.pop_front();
    return line;
  }
  NoticeVanished();
  if (Device) {
    const auto readDevice = [this](char* chunk, int64_t size) {
      const int64_t read = Device->Read(chunk, size);
      if (read > 0) BytesSinceValid = true;
      return read;
    };
    ReadChunk(RxBuffer, readDevice);
    const TReadResult read = FillUntilLine(RxBuffer, readDevice);
    if (read.BudgetSpent) QTimer::singleShot(0, &ReopenTimer, [this] { Arrived(); });
    NoticeVanished();
  }
  while (RxBuffer.HasLine()) {
    std::string line = RxBuffer.TakeLine();
    if (Listen(line)) return line;
  }
  return std::nullopt;
}

bool TSerialSource::Listen(std::string& line) {
  const bool valid = SentenceChecksumHolds(line);
  if (valid) {
    QuietSince = Clock::TickCount();
    BytesSinceValid = false;
  }
  if (!Search) return true;
  if (!valid) return false;
  Held.push_back(line);
  if (!Search->TakeValidLine()) return false;
  SearchTimer.stop();
  Search.reset();
  SearchedRate = true;
  if (FoundRate.Keep) FoundRate.Keep(CurrentRate);
  line = std::move(Held.front());
  Held.pop_front();
  return true;
}

void TSerialSource::Send(std::string_view text) {
  if (text.empty()) return;
  NoticeVanished();
  if (!Device) throw EDeviceError(kDisconnectedText);
  if (!Device->Write(text)) throw EDeviceError(kSendFailedText);
}

TLinkState TSerialSource::LinkState() const {
  if (!IsOpen) return TLinkState::Closed;
  const_cast<TSerialSource*>(this)->NoticeVanished();
  return Device ? TLinkState::Connected : TLinkState::Disconnected;
}

std::string TSerialSource::StatusText() const {
  switch (LinkState()) {
    case TLinkState::Connected: {
      const std::string rate = std::to_string(CurrentRate);
      const std::string reopened = Reopens > 0 ? " (reopened)" : "";
      if (Search) return PortName + " " + Path + ", looking for the baud rate (" + rate + ")";
      if (SearchedRate)
        return PortName + " " + Path + ": Receiver found at " + rate + " baud" + reopened;
      if (BytesSinceValid && Clock::TickCount() - QuietSince >= kNoValidLineMs)
        return "Bytes but no valid sentences at " + rate + " baud: wrong baud rate?";
      return PortName + " " + Path + " at " + rate + " baud" + reopened;
    }
    case TLinkState::Disconnected:
      return kDisconnectedText;
    default:
      return {};
  }
}
