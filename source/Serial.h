#pragma once
// The one connection to the GPS receiver: a serial device opened exclusively
// at the stored baud rate, or a network source named by a URL in its place
// (tcp://, udp://, gpsd://), read without ever waiting, assembled into
// CR-terminated lines, written to, and sampled for its DSR line.
//
// A source may come and go while it is open. A serial device that vanishes
// (a USB receiver pulled out) is reopened at the same path, with the same
// settings, once a second and silently until it is back or Close ends the
// waiting; a network source tries again by itself after a failure. Through
// all of it IsOpen stays true: the slot stays chosen. LinkState and
// SourceText say how the link stands.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "source/LinkState.h"

class EDeviceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What Send raises when the command cannot go out.
inline constexpr const char* kCannotSendText = "This source cannot send commands";
inline constexpr const char* kDisconnectedText = "Receiver disconnected";

// The COM slots "COM1:" to "COM8:".
inline constexpr int kPortCount = 8;
// The stored baud rate's name, and the rate when none (or nothing readable)
// is stored, as the General options list it.
inline constexpr const char* kBaudRateName = "BaudRate";
inline constexpr const char* kDefaultBaudRate = "4800";

class ISerialDevice;

// The device path that COM slot `index` (0 = "COM1:" .. 7 = "COM8:") opens:
// the environment variable TOLVANE_COMn, else the string "COMn" of section
// "Ports" in the settings store, else the built-in table.
std::string PortDevicePath(int index);

class TSerial {
 public:
  // Asked at every Open for the port selector's index (0..7).
  using TPortIndexSource = std::function<int()>;
  // Makes the device behind a serial port; the default opens real serial
  // devices. Network sources make their own.
  using TDeviceFactory = std::function<std::unique_ptr<ISerialDevice>()>;

  // Lines a receive tick takes at most: a network source (a multiplexer with
  // AIS sends hundreds a second) every complete line waiting, up to 100; a
  // serial port one.
  static constexpr int kNetworkLinesPerTick = 100;

  explicit TSerial(TPortIndexSource portIndex, TDeviceFactory deviceFactory = {});
  ~TSerial();
  TSerial(const TSerial&) = delete;
  TSerial& operator=(const TSerial&) = delete;

  // Raises EDeviceError when the device cannot be opened (with a second line
  // when the reason is known: no permission, a malformed URL). A well-formed
  // URL opens at once; its connection follows.
  void Open();
  void Close();
  bool IsOpen() const;
  // At most one line, or empty. A network source reads on only while no
  // complete line waits, so that a fast peer waits in its socket.
  std::string ReadLine();
  // Raises EDeviceError: kCannotSendText (udp, gpsd), kDisconnectedText
  // (the link is down), "Error sending data".
  void Send(std::string_view text);
  bool GetDSR();
  std::string ReadAvailable();
  void Purge();
  // Applies a changed baud rate: a serial port is closed and opened again
  // (a vanished one takes the rate at its reopening); a network source has
  // no baud rate and is left alone.
  void ReopenForBaudRate();

  // "COM1:" .. "COM8:", from the last Open.
  const std::string& PortName() const;
  // The device path or URL of the last Open.
  const std::string& DevicePath() const;

  TLinkState LinkState() const;
  // The status bar's words for the source: "COM3: /dev/ttyACM0 at 9600
  // baud" ("... (reopened)" once it came back by itself), "Receiver
  // disconnected", "Connecting to URL", "Connected to URL", "Disconnected
  // from URL, retrying in N s"; empty while closed.
  std::string SourceText() const;
  // Times a vanished serial device came back since Open.
  int ReopenCount() const;

  bool IsNetwork() const;
  // kNetworkLinesPerTick for a network source, else 1.
  int LinesPerTick() const;
  // False for udp:// and gpsd://: nothing reaches the receiver from here.
  bool CanSend() const;
  // Only a serial port has DSR; a network source has no 1 PPS lamp and no
  // PPS command.
  bool HasModemLines() const;
  // Bytes received but let go by the receive buffer's bound, since
  // construction (reopening keeps counting).
  uint64_t DroppedBytes() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl;
};
