#pragma once
// NMEA relayed by gpsd, which holds the receiver itself: a TCP client that
// asks gpsd to watch with NMEA on and takes the sentences among its JSON
// reports. gpsd takes no commands for the receiver on this connection.

#include "source/GpsdLines.h"
#include "source/TcpDevice.h"

class TGpsdDevice : public TTcpDevice {
 public:
  using TTcpDevice::TTcpDevice;

  int64_t Read(char* buffer, int64_t maxSize) override;
  bool Write(std::string_view) override { return false; }
  bool CanSend() const override { return false; }

 protected:
  void OnConnected() override;

 private:
  TGpsdLineFilter Filter;
};
