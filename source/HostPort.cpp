#include "source/HostPort.h"

#include <QHostAddress>
#include <algorithm>

#include "common/Routines.h"

bool IsAddress(std::string_view text, QAbstractSocket::NetworkLayerProtocol protocol) {
  QHostAddress address;
  return address.setAddress(
             QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))) &&
         (protocol == QAbstractSocket::AnyIPProtocol || address.protocol() == protocol);
}

// Appended, not "\"" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) about a
// literal added to a temporary string.
std::string Quoted(std::string_view text) {
  std::string quoted(1, '"');
  quoted.append(text);
  quoted.push_back('"');
  return quoted;
}

std::optional<THostPort> SplitHostPort(std::string_view authority, std::string& reason) {
  THostPort parts;
  std::string_view afterHost;
  if (authority.starts_with('[')) {
    const size_t close = authority.find(']');
    if (close == std::string_view::npos) {
      reason = "\"[\" without \"]\" around the IPv6 address";
      return std::nullopt;
    }
    parts.Host = authority.substr(1, close - 1);
    if (!IsAddress(parts.Host, QAbstractSocket::IPv6Protocol)) {
      reason = Quoted(parts.Host) + " is not an IPv6 address";
      return std::nullopt;
    }
    afterHost = authority.substr(close + 1);
    if (!afterHost.empty() && afterHost.front() != ':') {
      reason = "unexpected " + Quoted(afterHost) + " after the address";
      return std::nullopt;
    }
  } else if (std::count(authority.begin(), authority.end(), ':') > 1) {
    // A bare address with more than one colon is an IPv6 address without a
    // port. No colon of it can be told to start a port ("::1:2947" is an
    // address of its own), so none is guessed: a port needs the brackets.
    // Qt takes any text after "%" as a scope; a bracket there could not be
    // written back inside brackets.
    if (authority.find_first_of("[]") != std::string_view::npos ||
        !IsAddress(authority, QAbstractSocket::IPv6Protocol)) {
      reason = "an IPv6 address needs brackets, as in [::1]:10110";
      return std::nullopt;
    }
    parts.Host = authority;
  } else {
    const size_t colon = authority.find(':');
    parts.Host = authority.substr(0, colon);
    if (colon != std::string_view::npos) afterHost = authority.substr(colon);
  }
  if (!afterHost.empty()) parts.Port = afterHost.substr(1);
  return parts;
}

std::optional<uint16_t> ParsePort(std::string_view text, std::string& reason) {
  const std::optional<uint16_t> port = ParseWhole<uint16_t>(text);
  if (port && *port >= 1) return port;
  // Digits too many for any port are a number out of range all the same.
  const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                   [](char ch) { return ch >= '0' && ch <= '9'; });
  if (digits)
    reason = "the port " + std::string(text) + " is out of range (1 to 65535)";
  else
    reason = "the port " + Quoted(text) + " is not a number";
  return std::nullopt;
}
