#pragma once
// A broker as the user names it: mqtt://HOST[:PORT]/PREFIX, or mqtts://...
// for TLS with the system's certificates. PREFIX is the topic prefix of one
// receiver ("fleet/roof-east"): its lines go to PREFIX/nmea, its epochs to
// PREFIX/epoch, its state to PREFIX/status.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The ports IANA gives MQTT, plain and over TLS: what a broker listens on
// unless its URL says otherwise.
constexpr uint16_t kMqttPort = 1883;
constexpr uint16_t kMqttTlsPort = 8883;

struct TMqttUrl {
  bool Tls = false;
  std::string Host;  // without brackets
  uint16_t Port = kMqttPort;
  std::string Prefix;  // without a leading or trailing "/"

  bool operator==(const TMqttUrl&) const = default;
};

// Whether `text` names a broker (starts with mqtt:// or mqtts://).
bool IsMqttUrl(std::string_view text);
// The parts of `text`, or nothing with `reason` saying what is wrong.
std::optional<TMqttUrl> ParseMqttUrl(std::string_view text, std::string& reason);
// "tolvane-HOSTNAME-PID": unique on the broker for every running program.
std::string DefaultMqttClientId();
