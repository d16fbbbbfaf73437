#include "source/NetworkDevice.h"

#include <algorithm>

#include "source/GpsdDevice.h"
#include "source/TcpDevice.h"
#include "source/UdpDevice.h"

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
  Link = TLinkState::Closed;
  Release();
}

int TNetworkDevice::RetryInSeconds() const {
  const int remainingMs = RetryTimer.remainingTime();
  return std::clamp((remainingMs + 999) / 1000, 1, WaitSeconds);
}

void TNetworkDevice::NoteConnected() {
  if (Link == TLinkState::Connecting) Link = TLinkState::Connected;
}

void TNetworkDevice::NoteLost() {
  if (Link != TLinkState::Connecting && Link != TLinkState::Connected) return;
  Link = TLinkState::Retrying;
  WaitSeconds = Delay.Next();
  RetryTimer.start(WaitSeconds * 1000);
}

void TNetworkDevice::Try() {
  Link = TLinkState::Connecting;
  Attempt();
}

std::unique_ptr<TNetworkDevice> MakeNetworkDevice(const TSourceUrl& url) {
  switch (url.Scheme) {
    case TSourceScheme::Tcp:
      return std::make_unique<TTcpDevice>(url);
    case TSourceScheme::Udp:
      return std::make_unique<TUdpDevice>(url);
    case TSourceScheme::Gpsd:
      return std::make_unique<TGpsdDevice>(url);
  }
  return nullptr;
}
