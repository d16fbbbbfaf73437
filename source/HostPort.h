#pragma once
// HOST[:PORT] as every network address the program takes writes it: the
// tcp://, udp://, gpsd:// and mqtt(s):// URLs and the decoder's --share.
// HOST is a name, an IPv4 address or an IPv6 address, in brackets when a
// port follows it.

#include <QAbstractSocket>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct THostPort {
  std::string_view Host;  // without brackets; empty when none is given
  // The text after the port's colon, not yet read; none without a colon.
  std::optional<std::string_view> Port;
};

// The host and the port's text of `authority`, or nothing with `reason`
// saying what is wrong with it.
std::optional<THostPort> SplitHostPort(std::string_view authority, std::string& reason);
// A port from 1 to 65535 in plain digits, or nothing with `reason`.
std::optional<uint16_t> ParsePort(std::string_view text, std::string& reason);
// Whether `text` is an address of `protocol` (AnyIPProtocol: either).
bool IsAddress(std::string_view text, QAbstractSocket::NetworkLayerProtocol protocol);
// `text` in double quotes, for reasons that name what was typed.
std::string Quoted(std::string_view text);
