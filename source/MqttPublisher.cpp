#include "source/MqttPublisher.h"

TMqttOptions TMqttPublisher::WithStatus(TMqttOptions options) {
  options.StatusTopic = options.Url.Prefix + "/status";
  return options;
}

TMqttPublisher::TMqttPublisher(TMqttOptions options)
    : LineTopic(options.Url.Prefix + "/nmea"),
      EpochTopic(options.Url.Prefix + "/epoch"),
      Broker(WithStatus(std::move(options))) {}

void TMqttPublisher::PublishLine(std::string_view line) {
  if (!Broker.Publish(LineTopic, line)) ++LinesDropped;
}

void TMqttPublisher::PublishEpoch(std::string_view json) {
  if (!Broker.Publish(EpochTopic, json)) ++EpochsDropped;
}

std::string TMqttPublisher::StatusText() const {
  return MqttStatusText(Broker);
}

std::string MqttStatusText(const TMqttLink& link) {
  switch (link.State()) {
    case TLinkState::Connected:
      return "MQTT: connected";
    case TLinkState::Retrying:
      return "MQTT: retrying in " + std::to_string(link.RetryInSeconds()) + " s";
    case TLinkState::Connecting:
      return "MQTT: connecting";
    default:
      return "MQTT: " + link.LastError();
  }
}
