#pragma once
// Where NMEA lines come from: a serial device, a TCP or UDP peer, gpsd. A
// source is run by the GUI thread's event loop and never blocks it; it says
// when lines may be waiting instead of being asked a hundred times a second.
// What only some sources have is a capability of its own: modem lines (DSR,
// the receiver's 1 PPS output) and a baud rate.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "source/LinkState.h"

class IModemLines;
class IBaudRate;

class ILineSource {
 public:
  // Called from the event loop when lines may be waiting, or the link changed.
  using TArrivalHandler = std::function<void()>;
  // Called with the bytes as they were received, in order, before any line
  // or frame is taken out of them (a raw log).
  using TByteObserver = std::function<void(std::string_view bytes)>;

  virtual ~ILineSource() = default;

  // Raises EDeviceError when the source cannot be opened (with a second line
  // when the reason is known). A network source opens at once; its
  // connection follows.
  virtual void Open() = 0;
  virtual void Close() = 0;
  virtual void SetArrivalHandler(TArrivalHandler handler) = 0;
  virtual void SetByteObserver(TByteObserver observer) = 0;
  // The next complete line that arrived, with only printable characters kept
  // (possibly empty), or nothing when no complete line waits. Never waits;
  // one call reads a bounded amount, so that one event stays short.
  virtual std::optional<std::string> ReadLine() = 0;
  // False for sources that reach no receiver (udp://, gpsd://).
  virtual bool CanSend() const = 0;
  // Raises EDeviceError: kDisconnectedText (the link is down), "Error
  // sending data".
  virtual void Send(std::string_view text) = 0;
  virtual TLinkState LinkState() const = 0;
  // The status bar's words for the source; empty while closed.
  virtual std::string StatusText() const = 0;
  // Bytes received but let go because the program did not take them in time,
  // since the source was made.
  virtual uint64_t DroppedBytes() const = 0;
  // How often the source came back by itself after its device vanished,
  // since it was opened: what follows may come from another receiver.
  virtual int Reopenings() const { return 0; }

  virtual IModemLines* ModemLines() { return nullptr; }
  virtual IBaudRate* BaudRate() { return nullptr; }
};

// A DSR level and the moment it was seen.
struct TDSREdge {
  bool On = false;
  std::chrono::steady_clock::time_point At;
};

class IModemLines {
 public:
  using TEdgeHandler = std::function<void(const TDSREdge& edge)>;

  virtual ~IModemLines() = default;

  // The DSR line now; nothing when the device has none (a pseudo-terminal)
  // or is away.
  virtual std::optional<bool> ReadDSR() = 0;
  // Hands every DSR change to `handler` on the GUI thread, stamped when the
  // driver reported it, from a thread that waits for the change. False when
  // the device cannot be waited on: ReadDSR must then be sampled.
  // `onFailed` is called (on the GUI thread) when waiting stops working
  // later; sampling takes over then.
  virtual bool WatchDSR(TEdgeHandler handler, std::function<void()> onFailed) = 0;
  // Whether DSR must be sampled for the lamp to follow it.
  virtual bool NeedsSampling() const = 0;
};

class IBaudRate {
 public:
  virtual ~IBaudRate() = default;

  // Takes the rate from its provider again: an open device is closed and
  // opened again; a vanished one takes it at its reopening.
  virtual void Reapply() = 0;
};
