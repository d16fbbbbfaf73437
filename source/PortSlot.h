#pragma once
// The COM slot the user chose: it turns the slot into a device path or URL,
// makes the line source that path names, and holds it from Open to Close.
// A source may come and go while it is open: a serial device that vanishes
// is reopened by itself, a network source tries again after a failure.
// Through all of it IsOpen stays true: the slot stays chosen. LinkState and
// SourceText say how the link stands.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "source/LineSource.h"
#include "source/LinkState.h"

class EDeviceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kOpenFailedText = "Unable to open communications port";
inline constexpr const char* kSendFailedText = "Error sending data";
// What Send raises when the command cannot go out.
inline constexpr const char* kCannotSendText = "This source cannot send commands";
inline constexpr const char* kDisconnectedText = "Receiver disconnected";

// The COM slots "COM1:" to "COM8:".
inline constexpr int kPortCount = 8;
// The stored baud rate's name, and the rate when none (or nothing readable)
// is stored, as the General options list it.
inline constexpr const char* kBaudRateName = "BaudRate";
inline constexpr const char* kDefaultBaudRate = "4800";
// The rate that is found by listening, in the lists and in the store; a
// provider gives it as 0.
inline constexpr const char* kAutoBaudRate = "Auto";
inline constexpr int32_t kAutoRate = 0;

class ISerialDevice;

// "COM1" for slot 0 to "COM8" for slot 7: the slot's key in the store and
// its environment variable's name after "TOLVANE_"; with a ":" after it,
// its name on screen.
std::string SlotName(int index);

// The device path that COM slot `index` (0 = "COM1:" .. 7 = "COM8:") opens:
// the environment variable TOLVANE_COMn, else `stored` (the store's "COMn" of
// section "Ports"), else the built-in table; empty outside the slots.
std::string SlotDevicePath(int index, const std::string& stored);
// TOLVANE_COMn when it is set and not empty, else empty.
std::string SlotEnvironmentPath(int index);
// A stored baud rate as a decimal integer, kAutoRate for "Auto"; anything
// else gives 4800.
int32_t BaudRateFromText(std::string_view text);
// A slot's own baud rate: a whole number above 0 or kAutoRate for "Auto",
// or nothing (the slot then runs at the General options' rate).
std::optional<int32_t> SlotBaudRateFromText(std::string_view text);

// Where the slots lead and at what speed, asked at every open and every
// reopening, with the slot's index: a bench may hold receivers at different
// rates. The program hands in its settings; without them a slot leads where
// the environment or the table says, at 4800 baud.
struct TPortProviders {
  std::function<std::string(int index)> Path = [](int index) { return SlotDevicePath(index, {}); };
  std::function<int32_t(int index)> BaudRate = [](int) { return BaudRateFromText({}); };
  // The rate found by listening last time, 0 for none, and where a new one
  // is kept; without them every search starts at 4800.
  std::function<int32_t(int index)> FoundRate = nullptr;
  std::function<void(int index, int32_t rate)> KeepFoundRate = nullptr;
};

class TPortSlot {
 public:
  // Asked at every Open for the port selector's index (0..7).
  using TPortIndexSource = std::function<int()>;
  // Makes the device behind a serial path; the default opens real serial
  // devices. Network sources make their own.
  using TDeviceFactory = std::function<std::unique_ptr<ISerialDevice>()>;

  explicit TPortSlot(TPortIndexSource portIndex, TDeviceFactory deviceFactory = {},
                     TPortProviders providers = {});
  ~TPortSlot();
  TPortSlot(const TPortSlot&) = delete;
  TPortSlot& operator=(const TPortSlot&) = delete;

  // Raises EDeviceError when the source cannot be opened (with a second line
  // when the reason is known: no permission, a malformed URL).
  void Open();
  void Close();
  bool Opened() const { return Line != nullptr; }
  // Called from the event loop when lines may be waiting or the link changed.
  void SetArrivalHandler(ILineSource::TArrivalHandler handler);
  // Every byte the source receives, kept across its reopenings.
  void SetByteObserver(ILineSource::TByteObserver observer);
  // The next complete line that arrived, or nothing.
  std::optional<std::string> ReadLine();
  // Raises EDeviceError: kCannotSendText (udp, gpsd), kDisconnectedText
  // (the link is down), "Error sending data".
  void Send(std::string_view text);
  // Applies a changed baud rate: a serial port is closed and opened again
  // (a vanished one takes the rate at its reopening); a network source has
  // no baud rate and is left alone.
  void ReopenForBaudRate();

  TLinkState LinkState() const;
  // The status bar's words for the source: "COM3: /dev/ttyACM0 at 9600
  // baud" ("... (reopened)" once it came back by itself), "Receiver
  // disconnected", "Connecting to URL", "Connected to URL", "Disconnected
  // from URL, retrying in N s"; empty while closed.
  std::string SourceText() const;
  // False for udp:// and gpsd://: nothing reaches the receiver from here.
  bool CanSend() const { return Line && Line->CanSend(); }
  // Only a serial port has DSR; a network source has no 1 PPS lamp and no
  // PPS command. Nothing while closed.
  IModemLines* ModemLines() const { return Line ? Line->ModemLines() : nullptr; }
  // Bytes received but let go by the receive buffers' bounds, since
  // construction (reopening keeps counting).
  uint64_t DroppedBytes() const;
  // The source's reopenings after its device vanished (see ILineSource).
  int Reopenings() const;

 private:
  TPortIndexSource PortIndex;
  TDeviceFactory DeviceFactory;
  TPortProviders Providers;
  std::unique_ptr<ILineSource> Line;
  ILineSource::TArrivalHandler OnArrival;
  ILineSource::TByteObserver OnBytes;
  // Dropped by sources already closed.
  uint64_t DroppedBefore = 0;
};
