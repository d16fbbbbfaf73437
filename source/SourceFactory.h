#pragma once
// The line source a device path or URL names: tcp://, udp:// and gpsd://
// URLs make network sources, anything else a serial device.

#include <functional>
#include <memory>
#include <string>

#include "source/LineSource.h"
#include "source/SerialSource.h"

struct TSourceRequest {
  std::string PortName;  // "COM3:"
  std::string Path;      // a device path or a URL
  // Asked at every open and every reopening of a serial device.
  TSerialSource::TBaudRateProvider BaudRate;
  // Where a serial device's search for its rate starts, and keeps its find.
  TSerialSource::TRateMemory FoundRate;
  // Makes the device behind a serial path; empty: real serial devices.
  TSerialSource::TDeviceFactory SerialDevices;
};

// Raises EDeviceError for a malformed URL. The source is not open yet.
std::unique_ptr<ILineSource> MakeLineSource(const TSourceRequest& request);
