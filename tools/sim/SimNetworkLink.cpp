// The simulated receiver on the network, as a multiplexer would be: a TCP
// server for every client that connects, or datagrams sent to one address.
// The event loop runs while the simulator waits for commands.

#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <thread>
#include <vector>

#include "source/SourceUrl.h"
#include "tools/sim/SimLink.h"

namespace {

// Bytes a client may leave unread before it misses sentences, as a receiver
// on a serial line goes on whether anyone listens or not.
constexpr qint64 kClientBacklog = 1024 * 1024;
// How long a closing client is given to take what is still on its way.
constexpr int kDeliveryWaitMs = 2000;

class TTcpLink : public ISimLink {
 public:
  TTcpLink() {
    QObject::connect(&Server, &QTcpServer::newConnection, &Server, [this] { Accept(); });
  }
  ~TTcpLink() override {
    // What was sent is delivered before the connection closes.
    for (QTcpSocket* client : Clients) {
      client->disconnectFromHost();
      if (client->state() != QAbstractSocket::UnconnectedState)
        client->waitForDisconnected(kDeliveryWaitMs);
    }
  }
  TTcpLink(const TTcpLink&) = delete;
  TTcpLink& operator=(const TTcpLink&) = delete;

  bool Listen(uint16_t port, std::string& error) {
    if (Server.listen(QHostAddress::Any, port)) return true;
    error = "cannot listen on TCP port " + std::to_string(port) + ": " +
            Server.errorString().toStdString();
    return false;
  }

  std::string Path() const override {
    return "tcp://127.0.0.1:" + std::to_string(Server.serverPort());
  }

  size_t Send(std::string_view data) override {
    size_t taken = 0;
    for (QTcpSocket* client : Clients) {
      if (client->state() != QAbstractSocket::ConnectedState ||
          client->bytesToWrite() > kClientBacklog)
        continue;
      client->write(data.data(), static_cast<qint64>(data.size()));
      client->flush();
      taken = data.size();
    }
    return taken;
  }

  std::string Receive(int timeoutMs) override {
    QEventLoop loop;
    // Precise: a replay's epochs are timed by these waits.
    QTimer::singleShot(timeoutMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    return std::exchange(Commands, {});
  }

  bool HasReceiver() const override { return !Clients.empty(); }

  size_t Unread() const override {
    qint64 unsent = 0;
    for (const QTcpSocket* client : Clients) unsent += client->bytesToWrite();
    return static_cast<size_t>(unsent);
  }

 private:
  void Accept() {
    while (QTcpSocket* client = Server.nextPendingConnection()) {
      client->setParent(&Server);
      Clients.push_back(client);
      QObject::connect(client, &QTcpSocket::readyRead, client,
                       [this, client] { Commands += client->readAll().toStdString(); });
      QObject::connect(client, &QTcpSocket::disconnected, client, [this, client] {
        std::erase(Clients, client);
        client->deleteLater();
      });
    }
  }

  QTcpServer Server;
  std::vector<QTcpSocket*> Clients;
  std::string Commands;
};

class TUdpLink : public ISimLink {
 public:
  TUdpLink(const QHostAddress& address, uint16_t port) : Address(address), Port(port) {}

  // What the monitor opens: the port on every interface, or the group.
  std::string Path() const override {
    if (!Address.isMulticast()) return "udp://:" + std::to_string(Port);
    const std::string host = Address.toString().toStdString();
    const bool v6 = Address.protocol() == QAbstractSocket::IPv6Protocol;
    return "udp://" + (v6 ? "[" + host + "]" : host) + ":" + std::to_string(Port);
  }

  size_t Send(std::string_view data) override {
    const qint64 sent =
        Socket.writeDatagram(data.data(), static_cast<qint64>(data.size()), Address, Port);
    return sent > 0 ? static_cast<size_t>(sent) : 0;
  }

  std::string Receive(int timeoutMs) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return {};
  }

  size_t Unread() const override { return 0; }

 private:
  QHostAddress Address;
  uint16_t Port;
  QUdpSocket Socket;
};

}  // namespace

std::unique_ptr<ISimLink> OpenTcpLink(uint16_t port, std::string& error) {
  auto link = std::make_unique<TTcpLink>();
  if (!link->Listen(port, error)) return nullptr;
  return link;
}

std::unique_ptr<ISimLink> OpenUdpLink(const std::string& target, std::string& error) {
  std::string reason;
  const std::optional<TSourceUrl> url = ParseSourceUrl("udp://" + target, reason);
  if (!url || url->Host.empty()) {
    error = "bad --udp target " + target + ": " + (url ? "the address is missing" : reason);
    return nullptr;
  }
  return std::make_unique<TUdpLink>(QHostAddress(QString::fromStdString(url->Host)), url->Port);
}
