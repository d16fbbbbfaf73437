#include "source/SourceFactory.h"

#include "source/GpsdSource.h"
#include "source/MqttSource.h"
#include "source/PortSlot.h"
#include "source/QtSerialDevice.h"
#include "source/TcpSource.h"
#include "source/UdpSource.h"

namespace {

std::unique_ptr<ILineSource> MakeNetworkSource(const std::string& text) {
  std::string reason;
  if (IsMqttUrl(text)) {
    const std::optional<TMqttUrl> broker = ParseMqttUrl(text, reason);
    if (!broker) throw EDeviceError(std::string(kOpenFailedText) + "\n" + kInvalidUrlText + reason);
    return std::make_unique<TMqttSource>(*broker, text);
  }
  const std::optional<TSourceUrl> url = ParseSourceUrl(text, reason);
  if (!url) throw EDeviceError(std::string(kOpenFailedText) + "\n" + kInvalidUrlText + reason);
  switch (url->Scheme) {
    case TSourceScheme::Tcp:
      return std::make_unique<TTcpSource>(*url, text);
    case TSourceScheme::Udp:
      return std::make_unique<TUdpSource>(*url, text);
    case TSourceScheme::Gpsd:
      return std::make_unique<TGpsdSource>(*url, text);
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<ILineSource> MakeLineSource(const TSourceRequest& request) {
  if (IsSourceUrl(request.Path)) return MakeNetworkSource(request.Path);
  TSerialSource::TDeviceFactory devices = request.SerialDevices;
  if (!devices) devices = [] { return std::make_unique<TQtSerialDevice>(); };
  auto source = std::make_unique<TSerialSource>(request.PortName, request.Path, request.BaudRate,
                                                std::move(devices));
  source->SetRateMemory(request.FoundRate);
  return source;
}
