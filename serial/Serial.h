#pragma once
// The one connection to the GPS receiver: a serial device opened exclusively
// at the stored baud rate, read without ever waiting, assembled into
// CR-terminated lines, written to, and sampled for its DSR line.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

class EDeviceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ISerialDevice;

// The device path that COM slot `index` (0 = "COM1:" .. 7 = "COM8:") opens:
// the environment variable TOLVANE_COMn, else the string "COMn" of section
// "Ports" in the settings store, else the built-in table.
std::string PortDevicePath(int index);

class TSerial {
 public:
  // Asked at every Open for the port selector's index (0..7).
  using TPortIndexSource = std::function<int()>;
  // Makes the device behind a port; the default opens real serial devices.
  using TDeviceFactory = std::function<std::unique_ptr<ISerialDevice>()>;

  explicit TSerial(TPortIndexSource portIndex, TDeviceFactory deviceFactory = {});
  ~TSerial();
  TSerial(const TSerial&) = delete;
  TSerial& operator=(const TSerial&) = delete;

  void Open();
  void Close();
  bool IsOpen() const;
  std::string ReadLine();
  void Send(std::string_view text);
  bool GetDSR();
  std::string ReadAvailable();
  void Purge();

  // "COM1:" .. "COM8:", from the last Open.
  const std::string& PortName() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl;
};
