#pragma once
// The serial ports present now, as the Ports dialog offers them. The dialog
// takes the list from a function, so that tests hand it a scripted one.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TPortInfo {
  std::string Path;        // the system's path: "/dev/ttyACM0"
  std::string StablePath;  // "/dev/serial/by-id/..." leading to it, when there is one
  std::string Description;
  std::string Manufacturer;
  std::string SerialNumber;
  std::optional<uint16_t> VendorId;
  std::optional<uint16_t> ProductId;

  bool operator==(const TPortInfo&) const = default;
};

using TPortLister = std::function<std::vector<TPortInfo>()>;

// The ports QSerialPortInfo finds, each with its stable path where udev made one.
std::vector<TPortInfo> SystemSerialPorts();
// The link in `folder` that leads to the device `path`, or empty.
std::string StablePathOf(const std::string& path, const std::string& folder = "/dev/serial/by-id");

// The drop-down's line: "/dev/ttyACM0 - u-blox GNSS receiver (1546:01a9)",
// with whatever of description, maker, serial number and USB ids is known.
std::string PortLabel(const TPortInfo& port);
// What choosing the port stores: the stable path when there is one, since
// /dev/ttyACM0 may name another receiver after the next plug-in.
std::string PortChoicePath(const TPortInfo& port);
