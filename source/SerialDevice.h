#pragma once
// The few things the serial port object asks of a device, each reporting
// whether it worked, so that opening can name the step that failed. The real
// ports and pseudo-terminals sit behind TQtSerialDevice; tests script their own.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "source/LineSource.h"

// Raising a modem line: a device without modem lines (a pseudo-terminal) has
// nothing to raise, which is not a failure.
enum class TSignalResult { Done, NotSupported, Failed };

class ISerialDevice {
 public:
  virtual ~ISerialDevice() = default;

  // Opens the device at `path` for reading and writing, exclusively: while it
  // is held, no other open of the same device succeeds.
  virtual bool Open(const std::string& path) = 0;
  // Asks for receive and transmit queues of at least these sizes.
  virtual bool SetQueueSizes(int inputSize, int outputSize) = 0;
  // 8 data bits, no parity, one stop bit, no hardware or software flow
  // control, every byte (NUL included) passed through, at `baudRate`.
  virtual bool Configure(int32_t baudRate) = 0;
  // Makes reads return at once with whatever has arrived, possibly nothing.
  virtual bool SetImmediateReads() = 0;
  virtual TSignalResult RaiseDTR() = 0;
  virtual TSignalResult RaiseRTS() = 0;
  // Discards whatever waits in either direction.
  virtual void Purge() = 0;
  // Up to `maxSize` bytes that have arrived, never waiting: the count read,
  // 0 when nothing waits, -1 when the device cannot be read.
  virtual int64_t Read(char* buffer, int64_t maxSize) = 0;
  // The whole of `data`, waiting until the device has taken it; false when it
  // cannot be written (also when the device vanished or stopped taking data).
  virtual bool Write(std::string_view data) = 0;
  // The DSR line, or nothing when it cannot be read.
  virtual std::optional<bool> ReadDSR() = 0;
  virtual void Close() = 0;
  // Whether the device went away while open (a receiver pulled out, the far
  // side of a pseudo-terminal closed) and everything it received before has
  // been read. Only a new device opened at the same path brings it back.
  virtual bool Vanished() const { return false; }
  // Called from the event loop when bytes arrived or the device vanished.
  // The handlers below are taken by value for the devices that keep them;
  // these defaults, which keep nothing, are all that copies in vain.
  // NOLINTNEXTLINE(performance-unnecessary-value-param)
  virtual void SetReadyHandler(std::function<void()> /*handler*/) {}
  // As IModemLines::WatchDSR: false when the device cannot wait for a
  // change of its modem lines.
  // NOLINTNEXTLINE(performance-unnecessary-value-param)
  virtual bool WatchDSR(IModemLines::TEdgeHandler /*handler*/, std::function<void()> /*onFailed*/) {
    return false;
  }
};
