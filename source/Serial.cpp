#include "source/Serial.h"

#include "source/SourceFactory.h"

TSerial::TSerial(TPortIndexSource portIndex, TDeviceFactory deviceFactory, TPortProviders providers)
    : PortIndex(std::move(portIndex)),
      DeviceFactory(std::move(deviceFactory)),
      Providers(std::move(providers)) {
  const TPortProviders defaults;
  if (!Providers.Path) Providers.Path = defaults.Path;
  if (!Providers.BaudRate) Providers.BaudRate = defaults.BaudRate;
}

TSerial::~TSerial() = default;

void TSerial::Open() {
  if (Line) return;
  const int index = PortIndex ? PortIndex() : -1;
  if (index < 0 || index >= kPortCount) throw EDeviceError(kOpenFailedText);
  const std::string name = SlotName(index) + ":";
  const std::string path = Providers.Path(index);
  TSerialSource::TRateMemory found;
  if (Providers.FoundRate)
    found.Recall = [recall = Providers.FoundRate, index] { return recall(index); };
  if (Providers.KeepFoundRate)
    found.Keep = [keep = Providers.KeepFoundRate, index](int32_t rate) { keep(index, rate); };
  std::unique_ptr<ILineSource> line =
      MakeLineSource({name, path, [rate = Providers.BaudRate, index] { return rate(index); },
                      std::move(found), DeviceFactory});
  line->SetArrivalHandler([this] {
    if (OnArrival) OnArrival();
  });
  line->Open();
  Line = std::move(line);
}

void TSerial::Close() {
  if (!Line) return;
  const std::unique_ptr<ILineSource> line = std::move(Line);
  DroppedBefore += line->DroppedBytes();
  line->Close();
}

void TSerial::SetArrivalHandler(ILineSource::TArrivalHandler handler) {
  OnArrival = std::move(handler);
}

std::optional<std::string> TSerial::ReadLine() {
  return Line ? Line->ReadLine() : std::nullopt;
}

void TSerial::Send(std::string_view text) {
  if (text.empty()) return;
  if (!Line) throw EDeviceError(kSendFailedText);
  Line->Send(text);
}

void TSerial::ReopenForBaudRate() {
  if (!Line || !Line->BaudRate()) return;
  try {
    Line->BaudRate()->Reapply();
  } catch (...) {
    // The device did not open again: the slot is no longer held.
    Close();
    throw;
  }
}

TLinkState TSerial::LinkState() const {
  return Line ? Line->LinkState() : TLinkState::Closed;
}

std::string TSerial::SourceText() const {
  return Line ? Line->StatusText() : std::string();
}

uint64_t TSerial::DroppedBytes() const {
  return DroppedBefore + (Line ? Line->DroppedBytes() : 0);
}
