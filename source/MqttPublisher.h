#pragma once
// Publishes one receiver to a broker under the URL's prefix: every line as
// received on PREFIX/nmea (the line without its end), every completed epoch
// as one JSON object on PREFIX/epoch, and PREFIX/status retained, "online"
// while connected and "offline" after a clean end or, as the last will, a
// crash or a lost link. Lines and epochs that come while no broker is
// connected are dropped and counted, never kept.

#include <cstdint>
#include <string>
#include <string_view>

#include "source/MqttLink.h"

class TMqttPublisher {
 public:
  // The status topic is PREFIX/status whatever `options` say.
  explicit TMqttPublisher(TMqttOptions options);

  void PublishLine(std::string_view line);
  void PublishEpoch(std::string_view json);

  uint64_t DroppedLines() const { return LinesDropped; }
  uint64_t DroppedEpochs() const { return EpochsDropped; }
  // "MQTT: connected", "MQTT: connecting", "MQTT: retrying in N s".
  std::string StatusText() const;
  TMqttLink& Link() { return Broker; }

 private:
  static TMqttOptions WithStatus(TMqttOptions options);

  const std::string LineTopic;
  const std::string EpochTopic;
  TMqttLink Broker;
  uint64_t LinesDropped = 0;
  uint64_t EpochsDropped = 0;
};

// The status bar's words for a link to a broker.
std::string MqttStatusText(const TMqttLink& link);
