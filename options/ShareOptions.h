#pragma once
// What "Share received data..." edits, kept in section "Share": whether the
// received lines are relayed over TCP, on which port, whether other
// computers may connect, and whether lines from clients go to the receiver.

#include <cstdint>

inline constexpr const char* kShareSection = "Share";
// The port IANA lists for NMEA 0183 over TCP, where multiplexers and chart
// plotters look first.
inline constexpr int32_t kDefaultSharePort = 10110;

struct TShareOptions {
  bool Enabled = false;
  int32_t Port = kDefaultSharePort;
  bool AllowOthers = false;     // every interface instead of 127.0.0.1
  bool AcceptCommands = false;  // lines from clients go to the receiver

  bool operator==(const TShareOptions&) const = default;
};

// The address the relay listens on.
inline const char* ShareAddress(const TShareOptions& options) {
  return options.AllowOthers ? "0.0.0.0" : "127.0.0.1";
}

// What cannot be read (a port outside 1 to 65535 among it) is its default.
TShareOptions StoredShareOptions();
// Throws the store's error.
void StoreShareOptions(const TShareOptions& options);
