#pragma once
// A thread that waits in the driver for the DSR line to change (Linux:
// TIOCMIWAIT, which cdc-acm, FTDI and most USB serial adapters support) and
// hands each change to the GUI thread with the moment the driver reported
// it, so that the receiver's 1 PPS pulse is neither polled nor late. Where
// the driver cannot wait, Start fails, or the failure is reported later.

#include <atomic>
#include <functional>
#include <thread>

#include "source/LineSource.h"

class QObject;

class TModemLineWatcher {
 public:
  TModemLineWatcher() = default;
  ~TModemLineWatcher() { Stop(); }
  TModemLineWatcher(const TModemLineWatcher&) = delete;
  TModemLineWatcher& operator=(const TModemLineWatcher&) = delete;

  // Waits on the open device `fd`; the handlers run on `context`'s thread.
  // False when the device has no modem lines to read or this system cannot
  // wait for them.
  bool Start(int fd, QObject* context, IModemLines::TEdgeHandler onEdge,
             std::function<void()> onFailed);
  // Returns once the thread has ended; before the device is closed.
  void Stop();

 private:
  void Run(int fd, QObject* context, const IModemLines::TEdgeHandler& onEdge,
           const std::function<void()>& onFailed);

  std::thread Thread;
  std::atomic<bool> Stopping{false};
  std::atomic<bool> Ended{false};
};
