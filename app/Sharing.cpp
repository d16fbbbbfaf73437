#include "app/Sharing.h"

#include "history/EpochJson.h"
#include "monitor/Monitor.h"
#include "source/MqttPublisher.h"

TSharing::TSharing(TMonitor& monitor, QObject* parent) : QObject(parent), Monitor(monitor) {
  Monitor.SetLineObserver([this](std::string_view line) {
    if (Relay) Relay->Send(line);
    if (Publisher) Publisher->PublishLine(line);
  });
}

TSharing::~TSharing() {
  Monitor.SetLineObserver({});
}

// A changed broker, user or client ID means a new connection; turning it
// off ends the old one cleanly ("offline").
void TSharing::UseMqttSettings(const TMqttSettings& settings) {
  const bool same = settings == Mqtt && (Publisher != nullptr) == settings.Enabled;
  Mqtt = settings;
  if (!same) {
    Publisher.reset();
    std::string reason;
    const std::optional<TMqttUrl> url = ParseMqttUrl(settings.Url, reason);
    if (settings.Enabled && url) {
      TMqttOptions options;
      options.Url = *url;
      options.User = settings.User;
      options.Password = settings.Password;
      options.ClientId = settings.ClientId;
      Publisher = std::make_unique<TMqttPublisher>(std::move(options));
      SkipEpochs();  // epochs already in the history are not news
    }
  }
  emit changed();
}

void TSharing::PublishEpochs() {
  if (!Publisher) return;
  const THistory& history = Monitor.History();
  const TEpochFollower::TRange news = EpochsPublished.Next(history);
  for (uint64_t epoch = news.First; epoch < news.End; ++epoch)
    Publisher->PublishEpoch(EpochJson(history.At(epoch)));
}

void TSharing::SkipEpochs() {
  EpochsPublished.SkipAll(Monitor.History());
}

// A port that cannot be had (another program holds it) is said in the
// status bar, where the sharing is shown; the rest of the program runs on.
void TSharing::UseShareOptions(const TShareOptions& options) {
  const bool same = options == Options && (Relay != nullptr) == options.Enabled;
  Options = options;
  if (!same) {
    Relay.reset();
    ShareError.clear();
    if (options.Enabled) {
      auto relay = std::make_unique<TRelay>();
      if (relay->Listen(ShareAddress(options), static_cast<uint16_t>(options.Port), ShareError))
        Relay = std::move(relay);
    }
  }
  if (Relay && options.AcceptCommands)
    Relay->SetCommandHandler([this](std::string_view command) { sendCommand(command); });
  else if (Relay)
    Relay->SetCommandHandler({});
  emit changed();
}

// A client's command goes out as the Send command dialog sends one; where
// nothing can be sent (no port, a udp source) it is let go: the client is
// not the user, and no message box should answer it.
void TSharing::sendCommand(std::string_view command) {
  TPortSlot* port = Monitor.Port();
  if (!port || !port->Opened() || !port->CanSend()) return;
  try {
    port->Send(std::string(command) + "\r\n");
  } catch (const EDeviceError&) {
  }
}

std::vector<TRelayClientCounts> TSharing::RelayClients() const {
  return Relay ? Relay->Clients() : std::vector<TRelayClientCounts>{};
}

std::string TSharing::StatusText() const {
  std::string text;
  if (Options.Enabled && !Relay)
    text = "Cannot share on port " + std::to_string(Options.Port) + ": " + ShareError;
  else if (Relay)
    text = RelayStatusText(Relay->Port(), Options.AllowOthers, Relay->Totals().Clients);
  if (Mqtt.Enabled) {
    if (!text.empty()) text += "; ";
    text += Publisher ? Publisher->StatusText() : "MQTT: invalid broker URL";
  }
  return text;
}

std::string TSharing::ToolTip() const {
  if (!Publisher) return {};
  std::string tip = "MQTT: " + std::to_string(Publisher->DroppedLines()) + " lines and " +
                    std::to_string(Publisher->DroppedEpochs()) +
                    " epochs dropped while no broker was connected";
  const std::string error = Publisher->Link().LastError();
  if (!error.empty()) tip += "\nLast failure: " + error;
  return tip;
}
