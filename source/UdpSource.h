#pragma once
// NMEA in UDP datagrams, as multiplexers and chart plotters broadcast it: a
// port bound on every interface or on one address, shared with any other
// program listening there; a multicast address joins its group. A datagram
// may hold several lines or part of one. Datagrams are taken as they arrive
// (a running event loop empties the socket even while the program reads no
// lines) into a bounded buffer; what does not fit is dropped and counted,
// since a datagram nobody takes in time is lost anyway.

#include <QUdpSocket>
#include <string>
#include <vector>

#include "source/NetworkSource.h"

class TUdpSource : public TNetworkSource {
 public:
  static constexpr size_t kBufferSize = 64 * 1024;

  TUdpSource(TSourceUrl url, std::string text);
  ~TUdpSource() override;

  bool CanSend() const override { return false; }

 protected:
  int64_t Read(char* buffer, int64_t maxSize) override;
  bool Write(std::string_view) override { return false; }
  uint64_t SocketDropped() const override { return Dropped; }
  void Attempt() override;
  void Release() override;

 private:
  void TakeDatagrams();

  QUdpSocket Socket;
  std::string Incoming;
  std::vector<char> Datagram;
  uint64_t Dropped = 0;
};
