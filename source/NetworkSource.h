#pragma once
// A network source: TCP, UDP or gpsd, run by the GUI thread's event loop,
// never blocking it. Opening only starts the first try, so it succeeds at
// once; a try that fails (a refused connection, a name that does not
// resolve, a link that drops) is made again after 1, 2, 4 ... up to 30 s.
// Lines are assembled here from what a subclass reads off its socket.

#include <QTimer>
#include <memory>

#include "source/LineBuffer.h"
#include "source/LineSource.h"
#include "source/RetryDelay.h"
#include "source/SourceUrl.h"

class TNetworkSource : public ILineSource {
 public:
  // `text` is the URL as the user wrote it, for the status bar.
  TNetworkSource(TSourceUrl url, std::string text);
  ~TNetworkSource() override;
  TNetworkSource(const TNetworkSource&) = delete;
  TNetworkSource& operator=(const TNetworkSource&) = delete;

  // Starts the first try.
  void Open() override;
  void Close() override;
  void SetArrivalHandler(TArrivalHandler handler) override { OnArrival = std::move(handler); }
  void SetByteObserver(TByteObserver observer) override {
    RxBuffer.SetObserver(std::move(observer));
  }
  std::optional<std::string> ReadLine() override;
  // Raises kCannotSendText where nothing reaches the receiver.
  void Send(std::string_view text) override;
  TLinkState LinkState() const override { return Link; }
  // "Connecting to URL", "Connected to URL", "Disconnected from URL,
  // retrying in N s".
  std::string StatusText() const override;
  uint64_t DroppedBytes() const override { return RxBuffer.DroppedBytes() + SocketDropped(); }

 protected:
  // Up to `maxSize` bytes that arrived, never waiting; 0 when none wait.
  virtual int64_t Read(char* buffer, int64_t maxSize) = 0;
  // The whole of `data`, or false.
  virtual bool Write(std::string_view data) = 0;
  // One try: connect or bind, reporting through the Note functions.
  virtual void Attempt() = 0;
  // Lets go of the socket, discarding whatever it holds.
  virtual void Release() = 0;
  // Bytes the socket side let go of.
  virtual uint64_t SocketDropped() const { return 0; }

  void NoteConnected();
  // Data flows: the next failure waits 1 s again.
  void NoteSuccess() { Delay.Reset(); }
  // The try failed or the link dropped: wait, then try again.
  void NoteLost();
  // Lines may wait, or the link changed.
  void NoteArrival() const;

  const TSourceUrl Url;

 private:
  void Try();
  // While retrying: whole seconds until the next try, at least 1.
  int RetryInSeconds() const;

  const std::string Text;
  TLinkState Link = TLinkState::Closed;
  TRetryDelay Delay;
  int WaitSeconds = TRetryDelay::kFirstSeconds;
  QTimer RetryTimer;
  TLineBuffer RxBuffer;
  TArrivalHandler OnArrival;
};
