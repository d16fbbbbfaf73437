#include "source/PortSlot.h"

#include "source/SourceFactory.h"

TPortSlot::TPortSlot(TPortIndexSource portIndex, TDeviceFactory deviceFactory,
                     TPortProviders providers)
    : PortIndex(std::move(portIndex)),
      DeviceFactory(std::move(deviceFactory)),
      Providers(std::move(providers)) {
  const TPortProviders defaults;
  if (!Providers.Path) Providers.Path = defaults.Path;
  if (!Providers.BaudRate) Providers.BaudRate = defaults.BaudRate;
}

TPortSlot::~TPortSlot() = default;

void TPortSlot::Open() {
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
  line->SetByteObserver([this](std::string_view bytes) {
    if (OnBytes) OnBytes(bytes);
  });
  line->Open();
  Line = std::move(line);
}

void TPortSlot::Close() {
  if (!Line) return;
  const std::unique_ptr<ILineSource> line = std::move(Line);
  DroppedBefore += line->DroppedBytes();
  line->Close();
}

void TPortSlot::SetArrivalHandler(ILineSource::TArrivalHandler handler) {
  OnArrival = std::move(handler);
}

void TPortSlot::SetByteObserver(ILineSource::TByteObserver observer) {
  OnBytes = std::move(observer);
}

std::optional<std::string> TPortSlot::ReadLine() {
  return Line ? Line->ReadLine() : std::nullopt;
}

void TPortSlot::Send(std::string_view text) {
  if (text.empty()) return;
  if (!Line) throw EDeviceError(kSendFailedText);
  Line->Send(text);
}

void TPortSlot::ReopenForBaudRate() {
  if (!Line || !Line->BaudRate()) return;
  try {
    Line->BaudRate()->Reapply();
  } catch (...) {
    // The device did not open again: the slot is no longer held.
    Close();
    throw;
  }
}

TLinkState TPortSlot::LinkState() const {
  return Line ? Line->LinkState() : TLinkState::Closed;
}

std::string TPortSlot::SourceText() const {
  return Line ? Line->StatusText() : std::string();
}

int TPortSlot::Reopenings() const {
  return Line ? Line->Reopenings() : 0;
}

uint64_t TPortSlot::DroppedBytes() const {
  return DroppedBefore + (Line ? Line->DroppedBytes() : 0);
}
