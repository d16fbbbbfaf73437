#pragma once
// A pseudo-terminal for tests: the device side stands for a serial port that
// the program opens by its path, the far side for the GPS receiver. The test
// writes what the receiver sends and reads what the program sent.

#include <QByteArray>
#include <string>
#include <string_view>

class TPseudoTerminal {
 public:
  // Fails the current test (and leaves Path() empty) when no pseudo-terminal
  // can be had.
  TPseudoTerminal();
  ~TPseudoTerminal();
  TPseudoTerminal(const TPseudoTerminal&) = delete;
  TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

  // The device path the program opens, such as /dev/pts/3.
  const std::string& Path() const { return DevicePath; }
  // Sends bytes as the receiver would; false when they could not all be written.
  bool Write(std::string_view data);
  // Sends what the device side takes without waiting; the count taken.
  size_t Offer(std::string_view data);
  // What the program wrote: waits up to `timeoutMs` for `count` bytes and
  // returns what arrived by then.
  std::string Read(size_t count, int timeoutMs);
  // The receiver goes away: the far side is closed (and the device side this
  // object held open), as when a USB receiver is pulled out.
  void CloseFarSide();
  // Bytes waiting on the device side, not yet read by the program.
  size_t Waiting() const;
  // Sends bytes as the receiver would and waits (up to two seconds) until the
  // device side has them, so that the program's next read sees them all.
  bool Deliver(std::string_view data);
  // The device side held open by this object, for reading its line settings.
  int DeviceFd() const { return Device; }

 private:
  int Far = -1;
  int Device = -1;
  std::string DevicePath;
};

// Points COM slot `index` (0 = COM1) at `path` through TOLVANE_COMn for the
// lifetime of the object, then restores what was there.
class TPortOverride {
 public:
  TPortOverride(int index, const std::string& path);
  ~TPortOverride();
  TPortOverride(const TPortOverride&) = delete;
  TPortOverride& operator=(const TPortOverride&) = delete;

 private:
  QByteArray Name;
  QByteArray SavedValue;
  bool HadValue;
};
