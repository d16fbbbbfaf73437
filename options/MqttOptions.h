#pragma once
// What "MQTT..." edits, kept in section "MQTT": whether the received data is
// published, to which broker and prefix, as whom. The password is stored
// only when the user ticks "Remember", and the settings file is then made
// readable by its owner only.

#include <string>

inline constexpr const char* kMqttSection = "MQTT";

struct TMqttSettings {
  bool Enabled = false;
  std::string Url;  // mqtt://HOST[:PORT]/PREFIX or mqtts://...
  std::string User;
  std::string Password;
  bool RememberPassword = false;
  std::string ClientId;  // empty: tolvane-HOSTNAME-PID

  bool operator==(const TMqttSettings&) const = default;
};

TMqttSettings StoredMqttSettings();
// Throws the store's error; a failure to narrow the file's permissions is
// an error too, as the password would otherwise lie open.
void StoreMqttSettings(const TMqttSettings& settings);
