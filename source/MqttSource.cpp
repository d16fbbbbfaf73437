#include "source/MqttSource.h"

#include "source/PortSlot.h"

TMqttSource::TMqttSource(TMqttUrl url, std::string text)
    : Url(std::move(url)), Text(std::move(text)) {}

TMqttSource::~TMqttSource() = default;

void TMqttSource::Open() {
  Lines.clear();
  TMqttOptions options;
  options.Url = Url;
  // Not the publisher's own ID: the same program may publish as well.
  options.ClientId = DefaultMqttClientId() + "-in";
  options.Subscriptions = {Url.Prefix + "/nmea"};
  Link = std::make_unique<TMqttLink>(std::move(options));
  Link->SetMessageHandler(
      [this](const std::string&, const std::string& payload) { Take(payload); });
  Link->SetChangeHandler([this] {
    if (OnArrival) OnArrival();
  });
}

void TMqttSource::Close() {
  Link.reset();
  Lines.clear();
}

// A message is one line; a line end inside it, or after it, is the
// publisher's and goes, and so do characters no receiver sends.
void TMqttSource::Take(const std::string& payload) {
  if (OnBytes) {
    OnBytes(payload);
    if (payload.empty() || payload.back() != '\n') OnBytes("\r\n");
  }
  std::string line;
  line.reserve(payload.size());
  for (const char ch : payload) {
    if (ch >= ' ' && ch <= '~') line += ch;
  }
  if (Lines.size() >= kQueueLimit) {
    Dropped += payload.size() + 2;
    return;
  }
  Lines.push_back(std::move(line));
  if (OnArrival) OnArrival();
}

std::optional<std::string> TMqttSource::ReadLine() {
  if (Lines.empty()) return std::nullopt;
  std::string line = std::move(Lines.front());
  Lines.pop_front();
  return line;
}

void TMqttSource::Send(std::string_view) {
  throw EDeviceError(kCannotSendText);
}

TLinkState TMqttSource::LinkState() const {
  return Link ? Link->State() : TLinkState::Closed;
}

std::string TMqttSource::StatusText() const {
  const TLinkState state = LinkState();
  return LinkStatusText(state, Text, state == TLinkState::Retrying ? Link->RetryInSeconds() : 0);
}
