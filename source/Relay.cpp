#include "source/Relay.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <optional>

namespace {

// How often the queues are looked at for one that stayed full past the stall
// limit: the limit is counted in seconds, so once a second is soon enough.
constexpr int kStallCheckMs = 1000;

}  // namespace

struct TRelay::TClient {
  QTcpSocket* Socket = nullptr;
  TRelayClientCounts Counts;
  // Since when every line has been dropped; nothing while lines fit.
  std::optional<std::chrono::steady_clock::time_point> FullSince;
  std::string Command;
  bool SkippingCommand = false;
};

TRelay::TRelay(TClock clock) : Clock(std::move(clock)), StallTimer(new QTimer(&Server)) {
  Server.setProxy(QNetworkProxy::NoProxy);
  QObject::connect(&Server, &QTcpServer::newConnection, &Server, [this] { Accept(); });
  StallTimer->setInterval(kStallCheckMs);
  QObject::connect(StallTimer, &QTimer::timeout, &Server, [this] { DropStalled(); });
}

TRelay::~TRelay() {
  Stop();
}

bool TRelay::Listen(const std::string& address, uint16_t port, std::string& error) {
  Stop();
  QHostAddress host;
  if (!host.setAddress(QString::fromStdString(address))) {
    error = "not an address: " + address;
    return false;
  }
  if (!Server.listen(host, port)) {
    error = Server.errorString().toStdString();
    return false;
  }
  StallTimer->start();
  return true;
}

void TRelay::Stop() {
  StallTimer->stop();
  Server.close();
  while (!Connected.empty()) Forget(Connected.back().get());
  GoneSent = 0;
  GoneDropped = 0;
}

void TRelay::Accept() {
  while (QTcpSocket* socket = Server.nextPendingConnection()) {
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSocketSendBuffer);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    auto client = std::make_unique<TClient>();
    client->Socket = socket;
    client->Counts.Address =
        socket->peerAddress().toString().toStdString() + ":" + std::to_string(socket->peerPort());
    TClient* raw = client.get();
    Connected.push_back(std::move(client));
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, raw] { ReadCommands(*raw); });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, raw] { Forget(raw); });
  }
}

void TRelay::Forget(TClient* client) {
  const auto found = std::find_if(Connected.begin(), Connected.end(),
                                  [client](const auto& held) { return held.get() == client; });
  if (found == Connected.end()) return;
  GoneSent += client->Counts.Sent;
  GoneDropped += client->Counts.Dropped;
  QTcpSocket* socket = client->Socket;
  Connected.erase(found);
  // Not from inside the socket's own notification: later, from the event loop.
  socket->disconnect();
  socket->abort();
  socket->deleteLater();
}

void TRelay::Send(std::string_view line) {
  std::string framed;
  framed.reserve(line.size() + 2);
  framed.append(line).append("\r\n");
  const auto size = static_cast<qint64>(framed.size());
  for (const auto& client : Connected) {
    QTcpSocket& socket = *client->Socket;
    if (socket.bytesToWrite() + size > static_cast<qint64>(kQueueLimit)) {
      ++client->Counts.Dropped;
      if (!client->FullSince) client->FullSince = Clock();
      continue;
    }
    socket.write(framed.data(), size);
    ++client->Counts.Sent;
    client->FullSince.reset();
  }
}

void TRelay::DropStalled() {
  const auto now = Clock();
  std::vector<TClient*> stalled;
  for (const auto& client : Connected) {
    if (client->FullSince && now - *client->FullSince >= kStallLimit)
      stalled.push_back(client.get());
  }
  for (TClient* client : stalled) Forget(client);
}

// A client's lines end at CR or LF; an empty line is no command.
void TRelay::ReadCommands(TClient& client) {
  const QByteArray data = client.Socket->readAll();
  if (!OnCommand) return;
  for (const char ch : data) {
    if (ch != '\r' && ch != '\n') {
      if (client.Command.size() >= kCommandLimit) {
        client.SkippingCommand = true;
        client.Command.clear();
      }
      if (!client.SkippingCommand) client.Command += ch;
      continue;
    }
    if (!client.SkippingCommand && !client.Command.empty()) OnCommand(client.Command);
    client.Command.clear();
    client.SkippingCommand = false;
  }
}

std::vector<TRelayClientCounts> TRelay::Clients() const {
  std::vector<TRelayClientCounts> counts;
  counts.reserve(Connected.size());
  for (const auto& client : Connected) counts.push_back(client->Counts);
  return counts;
}

TRelayTotals TRelay::Totals() const {
  TRelayTotals totals{Connected.size(), GoneSent, GoneDropped};
  for (const auto& client : Connected) {
    totals.Sent += client->Counts.Sent;
    totals.Dropped += client->Counts.Dropped;
  }
  return totals;
}

std::string RelayStatusText(uint16_t port, bool everyInterface, size_t clients) {
  std::string text = "Sharing on port " + std::to_string(port);
  if (everyInterface) text += " to other computers";
  text += ", " + std::to_string(clients) + (clients == 1 ? " client" : " clients");
  return text;
}
