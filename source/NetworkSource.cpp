#include "source/NetworkSource.h"

#include <algorithm>

#include "source/LineReading.h"
#include "source/PortSlot.h"

TNetworkSource::TNetworkSource(TSourceUrl url, std::string text)
    : Url(std::move(url)), Text(std::move(text)) {
  RetryTimer.setSingleShot(true);
  // The countdown shown is whole seconds of the wait; a coarse timer may end
  // a little after it.
  RetryTimer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&RetryTimer, &QTimer::timeout, &RetryTimer, [this] { Try(); });
}

TNetworkSource::~TNetworkSource() = default;

void TNetworkSource::Open() {
  RxBuffer.Clear();
  Delay.Reset();
  Try();
}

void TNetworkSource::Close() {
  RetryTimer.stop();
  Link = TLinkState::Closed;
  Release();
}

// A peer may send far more than a serial line can carry; one call reads a
// bounded amount, and what it left behind is read from the event loop.
std::optional<std::string> TNetworkSource::ReadLine() {
  const TReadResult read =
      FillUntilLine(RxBuffer, [this](char* chunk, int64_t size) { return Read(chunk, size); });
  if (read.BudgetSpent) QTimer::singleShot(0, &RetryTimer, [this] { NoteArrival(); });
  if (!RxBuffer.HasLine()) return std::nullopt;
  return RxBuffer.TakeLine();
}

void TNetworkSource::Send(std::string_view text) {
  if (text.empty()) return;
  if (!CanSend()) throw EDeviceError(kCannotSendText);
  if (Link != TLinkState::Connected) throw EDeviceError(kDisconnectedText);
  if (!Write(text)) throw EDeviceError(kSendFailedText);
}

std::string TNetworkSource::StatusText() const {
  return LinkStatusText(Link, Text, Link == TLinkState::Retrying ? RetryInSeconds() : 0);
}

int TNetworkSource::RetryInSeconds() const {
  const int remainingMs = RetryTimer.remainingTime();
  return std::clamp((remainingMs + 999) / 1000, 1, WaitSeconds);
}

void TNetworkSource::NoteConnected() {
  if (Link == TLinkState::Connecting) Link = TLinkState::Connected;
}

void TNetworkSource::NoteLost() {
  if (Link != TLinkState::Connecting && Link != TLinkState::Connected) return;
  Link = TLinkState::Retrying;
  WaitSeconds = Delay.Next();
  RetryTimer.start(WaitSeconds * 1000);
}

void TNetworkSource::NoteArrival() const {
  if (OnArrival) OnArrival();
}

void TNetworkSource::Try() {
  Link = TLinkState::Connecting;
  Attempt();
}
