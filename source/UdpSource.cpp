#include "source/UdpSource.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QSignalBlocker>
#include <algorithm>
#include <cstring>

namespace {

// The largest UDP payload.
constexpr size_t kMaxDatagram = 65535;
// Datagrams taken at one go; a flood must not hold the event loop. The rest
// wait in the socket and are taken at the next turn.
constexpr int kDatagramsPerTurn = 256;

}  // namespace

TUdpSource::TUdpSource(TSourceUrl url, std::string text)
    : TNetworkSource(std::move(url), std::move(text)), Datagram(kMaxDatagram) {
  Socket.setProxy(QNetworkProxy::NoProxy);
  QObject::connect(&Socket, &QUdpSocket::readyRead, &Socket, [this] {
    TakeDatagrams();
    NoteArrival();
  });
}

TUdpSource::~TUdpSource() {
  Socket.disconnect();
  Socket.abort();
}

int64_t TUdpSource::Read(char* buffer, int64_t maxSize) {
  TakeDatagrams();
  const auto count = std::min<int64_t>(maxSize, static_cast<int64_t>(Incoming.size()));
  std::memcpy(buffer, Incoming.data(), static_cast<size_t>(count));
  Incoming.erase(0, static_cast<size_t>(count));
  return count;
}

void TUdpSource::Attempt() {
  {
    const QSignalBlocker quiet(Socket);
    Socket.abort();
  }
  const QHostAddress address = Url.Host.empty() ? QHostAddress(QHostAddress::Any)
                                                : QHostAddress(QString::fromStdString(Url.Host));
  const bool multicast = address.isMulticast();
  // A group is joined on a socket bound to every interface of its kind.
  const QHostAddress bound = !multicast ? address
                             : address.protocol() == QAbstractSocket::IPv6Protocol
                                 ? QHostAddress(QHostAddress::AnyIPv6)
                                 : QHostAddress(QHostAddress::AnyIPv4);
  const auto shared = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;
  if (!Socket.bind(bound, Url.Port, shared) || (multicast && !Socket.joinMulticastGroup(address))) {
    // An address this machine does not have yet (an interface still coming
    // up) or no route for the group: try again later.
    NoteLost();
    return;
  }
  NoteConnected();
  NoteSuccess();
}

void TUdpSource::Release() {
  Socket.abort();
  Incoming.clear();
}

void TUdpSource::TakeDatagrams() {
  for (int taken = 0; taken < kDatagramsPerTurn && Socket.hasPendingDatagrams(); ++taken) {
    const qint64 size = Socket.readDatagram(Datagram.data(), static_cast<qint64>(Datagram.size()));
    if (size < 0) break;
    const size_t room = kBufferSize - std::min(kBufferSize, Incoming.size());
    const size_t kept = std::min(room, static_cast<size_t>(size));
    Incoming.append(Datagram.data(), kept);
    Dropped += static_cast<size_t>(size) - kept;
  }
}
