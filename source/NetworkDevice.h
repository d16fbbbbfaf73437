#pragma once
// A network source behind the device interface: TCP, UDP or gpsd, run by the
// GUI thread's event loop like the serial port, never blocking it. Opening
// only starts the first try, so it succeeds at once; a try that fails (a
// refused connection, a name that does not resolve, a link that drops) is
// made again after 1, 2, 4 ... up to 30 s. The serial line's set-up steps
// have nothing to do, and there are no modem lines.

#include <QTimer>
#include <memory>

#include "source/LinkState.h"
#include "source/RetryDelay.h"
#include "source/SerialDevice.h"
#include "source/SourceUrl.h"

class TNetworkDevice : public ISerialDevice {
 public:
  explicit TNetworkDevice(TSourceUrl url);
  ~TNetworkDevice() override;
  TNetworkDevice(const TNetworkDevice&) = delete;
  TNetworkDevice& operator=(const TNetworkDevice&) = delete;

  // Starts the first try; `path` is the URL this device was made for.
  bool Open(const std::string& path) override;
  bool SetQueueSizes(int, int) override { return true; }
  bool Configure(int32_t) override { return true; }
  bool SetImmediateReads() override { return true; }
  TSignalResult RaiseDTR() override { return TSignalResult::NotSupported; }
  TSignalResult RaiseRTS() override { return TSignalResult::NotSupported; }
  void Purge() override {}
  std::optional<bool> ReadDSR() override { return std::nullopt; }
  void Close() override;

  TLinkState State() const { return Link; }
  // While retrying: whole seconds until the next try, at least 1.
  int RetryInSeconds() const;
  // Whether Write can reach the peer at all (TCP can; UDP and gpsd cannot).
  virtual bool CanSend() const { return false; }
  // Bytes received but let go because the program did not take them in time.
  virtual uint64_t DroppedBytes() const { return 0; }

 protected:
  // One try: connect or bind, reporting through the Note functions.
  virtual void Attempt() = 0;
  // Lets go of the socket, discarding whatever it holds.
  virtual void Release() = 0;

  void NoteConnected();
  // Data flows: the next failure waits 1 s again.
  void NoteSuccess() { Delay.Reset(); }
  // The try failed or the link dropped: wait, then try again.
  void NoteLost();

  const TSourceUrl Url;

 private:
  void Try();

  TLinkState Link = TLinkState::Closed;
  TRetryDelay Delay;
  int WaitSeconds = TRetryDelay::kFirstSeconds;
  QTimer RetryTimer;
};

// The device for a parsed source URL.
std::unique_ptr<TNetworkDevice> MakeNetworkDevice(const TSourceUrl& url);
