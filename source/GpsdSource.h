#pragma once
// NMEA relayed by gpsd, which holds the receiver itself: a TCP client that
// asks gpsd to watch with NMEA on and takes the sentences among its JSON
// reports. gpsd takes no commands for the receiver on this connection.

#include "source/GpsdLines.h"
#include "source/TcpSource.h"

class TGpsdSource : public TTcpSource {
 public:
  using TTcpSource::TTcpSource;

  bool CanSend() const override { return false; }

 protected:
  int64_t Read(char* buffer, int64_t maxSize) override;
  bool Write(std::string_view) override { return false; }
  void OnConnected() override;

 private:
  TGpsdLineFilter Filter;
};
