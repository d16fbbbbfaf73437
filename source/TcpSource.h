#pragma once
// A TCP client of an NMEA server (a multiplexer, ser2net, a phone app): lines
// are what the server sends, and commands are written to it. The socket's
// read buffer is bounded, so a server faster than the program is slowed by
// TCP itself and nothing is lost. A link silent for 15 s counts as dropped:
// a half-open connection (a router restarted, a cable pulled far away)
// never reports an error by itself.

#include <QTcpSocket>
#include <QTimer>
#include <string>

#include "source/NetworkSource.h"

class TTcpSource : public TNetworkSource {
 public:
  static constexpr qint64 kReadBufferSize = 64 * 1024;
  static constexpr int kSilenceMs = 15000;

  TTcpSource(TSourceUrl url, std::string text, int silenceMs = kSilenceMs);
  ~TTcpSource() override;

  bool CanSend() const override { return true; }

 protected:
  int64_t Read(char* buffer, int64_t maxSize) override;
  bool Write(std::string_view data) override;
  uint64_t SocketDropped() const override { return Dropped; }
  void Attempt() override;
  void Release() override;
  // Called once a connection stands, before any data is read from it.
  virtual void OnConnected() {}

  QTcpSocket Socket;

 private:
  void Connected();
  void DataArrived();
  void Silent();
  void Drop();

  QTimer Silence;
  // What the last connection received and the program has not read yet. A
  // line cut off by the drop is ended here, so that it is not glued to the
  // first line of the next connection.
  std::string Pending;
  char LastByteRead = '\n';
  bool DataSeen = false;
  uint64_t Dropped = 0;
};
