#pragma once
// Network sources named by a URL in place of a device path:
//   tcp://HOST:PORT               a TCP client of a multiplexer or ser2net
//   udp://:PORT, udp://ADDRESS:PORT  datagrams to this port (on ADDRESS, or
//                                 joining ADDRESS when it is a multicast group)
//   gpsd://HOST[:PORT][/DEVICE]   NMEA relayed by gpsd (port 2947 by default)
// HOST is a name, an IPv4 address or an IPv6 address in brackets.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class TSourceScheme { Tcp, Udp, Gpsd };

struct TSourceUrl {
  TSourceScheme Scheme = TSourceScheme::Tcp;
  std::string Host;  // without brackets; empty: every interface (udp only)
  uint16_t Port = 0;
  std::string Device;  // gpsd only: "/dev/ttyUSB0", or empty for every device

  bool operator==(const TSourceUrl&) const = default;
};

// What comes before the reason when a URL cannot be read.
inline constexpr const char* kInvalidUrlText = "Invalid address URL: ";

// Whether a device path names a network source: it contains "://".
bool IsSourceUrl(std::string_view path);

// The parts of `url`, or nothing with `reason` saying what is wrong with it.
std::optional<TSourceUrl> ParseSourceUrl(std::string_view url, std::string& reason);
