#include "serial/NetworkDevice.h"

#include <algorithm>

#include "serial/GpsdDevice.h"
#include "serial/TcpDevice.h"
#include "serial/UdpDevice.h"

TNetworkDevice::TNetworkDevice(TSourceUrl url) : Url(std::move(url)) {
  RetryTimer.setSingleShot(true);
  // The countdown shown is whole seconds of the wait; a coarse timer may end
  // a little after it.
  RetryTimer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&RetryTimer, &QTimer::timeout, &RetryTimer, [this] { Try(); });
}

TNetworkDevice::~TNetworkDevice() = default;

bool TNetworkDevice::Open(const std::string& /*path*/) {
  Delay.Reset();
  Try();
  return true;
}

void TNetworkDevice::Close() {
  RetryTimer.stop();
  Link = ELinkState::Closed;
  Release();
}

int TNetworkDevice::RetryInSeconds() const {
  const int remainingMs = RetryTimer.remainingTime();
  return std::clamp((remainingMs + 999) / 1000, 1, WaitSeconds);
}

void TNetworkDevice::NoteConnected() {
  if (Link == ELinkState::Connecting) Link = ELinkState::Connected;
}

void TNetworkDevice::NoteLost() {
  if (Link != ELinkState::Connecting && Link != ELinkState::Connected) return;
  Link = ELinkState::Retrying;
  WaitSeconds = Delay.Next();
  RetryTimer.start(WaitSeconds * 1000);
}

void TNetworkDevice::Try() {
  Link = ELinkState::Connecting;
  Attempt();
}

std::unique_ptr<TNetworkDevice> MakeNetworkDevice(const TSourceUrl& url) {
  switch (url.Scheme) {
    case ESourceScheme::Tcp:
      return std::make_unique<TTcpDevice>(url);
    case ESourceScheme::Udp:
      return std::make_unique<TUdpDevice>(url);
    case ESourceScheme::Gpsd:
      return std::make_unique<TGpsdDevice>(url);
  }
  return nullptr;
}
