#include "source/TcpSource.h"

#include <QNetworkProxy>
#include <QSignalBlocker>
#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kPendingLimit = 2 * TTcpSource::kReadBufferSize;

bool IsLineEnd(char ch) {
  return ch == '\r' || ch == '\n';
}

}  // namespace

TTcpSource::TTcpSource(TSourceUrl url, std::string text, int silenceMs)
    : TNetworkSource(std::move(url), std::move(text)) {
  Socket.setReadBufferSize(kReadBufferSize);
  // Receivers sit on the local network; a web proxy set for the desktop
  // would only stand in the way.
  Socket.setProxy(QNetworkProxy::NoProxy);
  Silence.setSingleShot(true);
  Silence.setInterval(silenceMs);
  QObject::connect(&Socket, &QTcpSocket::connected, &Socket, [this] { Connected(); });
  QObject::connect(&Socket, &QTcpSocket::readyRead, &Socket, [this] { DataArrived(); });
  QObject::connect(&Socket, &QTcpSocket::disconnected, &Socket, [this] { Drop(); });
  QObject::connect(&Socket, &QTcpSocket::errorOccurred, &Socket, [this] { Drop(); });
  QObject::connect(&Silence, &QTimer::timeout, &Silence, [this] { Silent(); });
}

TTcpSource::~TTcpSource() {
  Socket.disconnect();
  Socket.abort();
}

int64_t TTcpSource::Read(char* buffer, int64_t maxSize) {
  int64_t count = 0;
  if (!Pending.empty()) {
    count = std::min<int64_t>(maxSize, static_cast<int64_t>(Pending.size()));
    std::memcpy(buffer, Pending.data(), static_cast<size_t>(count));
    Pending.erase(0, static_cast<size_t>(count));
  } else if (LinkState() == TLinkState::Connected) {
    count = std::max<qint64>(Socket.read(buffer, maxSize), 0);
  }
  if (count > 0) LastByteRead = buffer[count - 1];
  return count;
}

bool TTcpSource::Write(std::string_view data) {
  if (LinkState() != TLinkState::Connected) return false;
  const auto size = static_cast<qint64>(data.size());
  if (Socket.write(data.data(), size) != size) return false;
  Socket.flush();
  return true;
}

void TTcpSource::Attempt() {
  DataSeen = false;
  {
    // Whatever is left of the last connection goes quietly.
    const QSignalBlocker quiet(Socket);
    Socket.abort();
  }
  Socket.connectToHost(QString::fromStdString(Url.Host), Url.Port);
  // A server that never answers (packets dropped by a firewall) would keep
  // the attempt waiting for minutes.
  Silence.start();
}

void TTcpSource::Release() {
  Silence.stop();
  Socket.abort();
  Pending.clear();
}

void TTcpSource::Connected() {
  NoteConnected();
  Silence.start();
  OnConnected();
}

void TTcpSource::DataArrived() {
  Silence.start();
  if (!DataSeen) {
    DataSeen = true;
    NoteSuccess();
  }
  NoteArrival();
}

void TTcpSource::Silent() {
  // A full buffer means the program is not reading (a replay runs): the
  // silence is ours, not the server's.
  if (LinkState() == TLinkState::Connected && Socket.bytesAvailable() >= kReadBufferSize) {
    Silence.start();
    return;
  }
  Drop();
}

void TTcpSource::Drop() {
  if (LinkState() != TLinkState::Connecting && LinkState() != TLinkState::Connected) return;
  Silence.stop();
  Pending += Socket.readAll().toStdString();
  const char last = Pending.empty() ? LastByteRead : Pending.back();
  if (!IsLineEnd(last)) Pending += "\r\n";
  if (Pending.size() > kPendingLimit) {
    // The program has not read for several connections (a replay runs).
    Dropped += Pending.size() - kPendingLimit;
    Pending.erase(0, Pending.size() - kPendingLimit);
  }
  NoteLost();
  // Not from inside the socket's own notification: later, from the event loop.
  QMetaObject::invokeMethod(
      &Socket,
      [this] {
        if (LinkState() == TLinkState::Retrying) Socket.abort();
        // What the connection left behind is read, and the status bar learns of the drop.
        NoteArrival();
      },
      Qt::QueuedConnection);
}
