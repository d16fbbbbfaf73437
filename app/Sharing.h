#pragma once
// Sharing the received data: the relay hands every line, as it came from the
// port or the replay, to the clients connected to it, and lines that clients
// send reach the receiver when the user allowed it; a broker gets every line
// and every epoch. The status bar tells of both.

#include <QObject>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "history/EpochFollower.h"
#include "options/MqttOptions.h"
#include "options/ShareOptions.h"
#include "source/Relay.h"

class TMonitor;
class TMqttPublisher;

class TSharing : public QObject {
  Q_OBJECT

 public:
  // Shares what `monitor` takes, for as long as both live.
  explicit TSharing(TMonitor& monitor, QObject* parent = nullptr);
  ~TSharing() override;

  const TShareOptions& ShareOptions() const { return Options; }
  const TMqttSettings& MqttSettings() const { return Mqtt; }
  // Starts, restarts or stops the relay as `options` say.
  void UseShareOptions(const TShareOptions& options);
  // Connects to the broker the settings name, or lets go of it.
  void UseMqttSettings(const TMqttSettings& settings);

  // The epochs the history gained since the last call go to the broker.
  void PublishEpochs();
  // What the history holds now is not news (a jump passed over it).
  void SkipEpochs();

  // Whether the relay listens or a broker is in use: the status bar follows.
  bool Running() const { return Relay || Publisher; }
  bool Relaying() const { return Relay != nullptr; }
  std::vector<TRelayClientCounts> RelayClients() const;
  std::string StatusText() const;
  // What the broker missed, and why the last try failed.
  std::string ToolTip() const;

 signals:
  // The relay or the publisher started or stopped.
  void changed();

 private:
  void sendCommand(std::string_view command);

  TMonitor& Monitor;
  TShareOptions Options;
  std::unique_ptr<TRelay> Relay;
  // Why the relay does not listen when it could not.
  std::string ShareError;
  // The password lives here for the session when it is not remembered.
  TMqttSettings Mqtt;
  std::unique_ptr<TMqttPublisher> Publisher;
  TEpochFollower EpochsPublished;
};
