// Sharing the received data: the relay hands every line, as it came from the
// port or the replay, to the clients connected to it, and lines that clients
// send reach the receiver when the user allowed it; a broker gets every line
// and every epoch. Both are told of in a label at the right of the status
// bar.

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <algorithm>

#include "app/MainFrm.h"
#include "common/HandlerErrors.h"
#include "history/EpochJson.h"
#include "options/MqttFrm.h"
#include "options/ShareFrm.h"
#include "source/MqttPublisher.h"
#include "source/Relay.h"
#include "ui_MainFrm.h"

void TMainForm::SetUpSharing() {
  auto* share = new QAction("Share received data...", this);
  share->setObjectName("actionShare");
  ui->menuOptions->addAction(share);
  connect(share, &QAction::triggered, this, Reported([this] { showShare(); }));
  auto* mqtt = new QAction("MQTT...", this);
  mqtt->setObjectName("actionMqtt");
  ui->menuOptions->addAction(mqtt);
  connect(mqtt, &QAction::triggered, this, Reported([this] { showMqtt(); }));
  ShareStatus = new QLabel(this);
  ShareStatus->setObjectName("ShareStatus");
  statusBar()->addPermanentWidget(ShareStatus);
  Loop.SetLineObserver([this](std::string_view line) {
    if (Relay) Relay->Send(line);
    if (Publisher) Publisher->PublishLine(line);
  });
  UseShareOptions(Settings.ShareOptions());
  UseMqttSettings(Settings.MqttSettings());
}

void TMainForm::showMqtt() {
  if (!Dialogs.Mqtt) return;
  Dialogs.Mqtt->SetSettings(MqttSettings);
  if (RunModal(*Dialogs.Mqtt) != QDialog::Accepted) return;
  const TMqttSettings settings = Dialogs.Mqtt->Settings();
  UseMqttSettings(settings);
  Settings.StoreMqttSettings(settings);
}

// A changed broker, user or client ID means a new connection; turning it
// off ends the old one cleanly ("offline").
void TMainForm::UseMqttSettings(const TMqttSettings& settings) {
  const bool same = settings == MqttSettings && (Publisher != nullptr) == settings.Enabled;
  MqttSettings = settings;
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
      // Epochs already in the history are not news.
      EpochsPublished.SkipAll(Loop.History());
    }
  }
  ShowStatus();
  UpdateStatusTimer();
}

void TMainForm::PublishEpochs() {
  if (!Publisher) return;
  const THistory& history = Loop.History();
  const TEpochFollower::TRange news = EpochsPublished.Next(history);
  for (uint64_t epoch = news.First; epoch < news.End; ++epoch)
    Publisher->PublishEpoch(EpochJson(history.At(epoch)));
}

void TMainForm::showShare() {
  if (!Dialogs.Share) return;
  Dialogs.Share->SetOptions(Settings.ShareOptions());
  if (RunModal(*Dialogs.Share) != QDialog::Accepted) return;
  const TShareOptions options = Dialogs.Share->Options();
  UseShareOptions(options);
  Settings.StoreShareOptions(options);
}

// A port that cannot be had (another program holds it) is said in the
// status bar, where the sharing is shown; the rest of the program runs on.
void TMainForm::UseShareOptions(const TShareOptions& options) {
  const bool same = options == ShareOptions && (Relay != nullptr) == options.Enabled;
  ShareOptions = options;
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
    Relay->SetCommandHandler([this](std::string_view command) { onRelayCommand(command); });
  else if (Relay)
    Relay->SetCommandHandler({});
  ShowStatus();
  UpdateStatusTimer();
}

// A client's command goes out as the Send command dialog sends one; where
// nothing can be sent (no port, a udp source) it is let go: the client is
// not the user, and no message box should answer it.
void TMainForm::onRelayCommand(std::string_view command) {
  TSerial* port = Loop.Port();
  if (!port || !port->IsOpen() || !port->CanSend()) return;
  try {
    port->Send(std::string(command) + "\r\n");
  } catch (const EDeviceError&) {
  }
}

std::string TMainForm::SharingStatusText() const {
  std::string text;
  if (ShareOptions.Enabled && !Relay)
    text = "Cannot share on port " + std::to_string(ShareOptions.Port) + ": " + ShareError;
  else if (Relay)
    text = RelayStatusText(Relay->Port(), ShareOptions.AllowOthers, Relay->Totals().Clients);
  if (MqttSettings.Enabled) {
    if (!text.empty()) text += "; ";
    text += Publisher ? Publisher->StatusText() : "MQTT: invalid broker URL";
  }
  return text;
}

std::string TMainForm::SharingToolTip() const {
  if (!Publisher) return {};
  std::string tip = "MQTT: " + std::to_string(Publisher->DroppedLines()) + " lines and " +
                    std::to_string(Publisher->DroppedEpochs()) +
                    " epochs dropped while no broker was connected";
  const std::string error = Publisher->Link().LastError();
  if (!error.empty()) tip += "\nLast failure: " + error;
  return tip;
}
