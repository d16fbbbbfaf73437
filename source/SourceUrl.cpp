#include "source/SourceUrl.h"

#include <QHostAddress>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace {

constexpr uint16_t kGpsdPort = 2947;

// Appended, not "\"" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) about a
// literal added to a temporary string.
std::string Quoted(std::string_view text) {
  std::string quoted(1, '"');
  quoted.append(text);
  quoted.push_back('"');
  return quoted;
}

std::optional<TSourceScheme> Scheme(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  if (lower == "tcp") return TSourceScheme::Tcp;
  if (lower == "udp") return TSourceScheme::Udp;
  if (lower == "gpsd") return TSourceScheme::Gpsd;
  return std::nullopt;
}

bool IsAddress(std::string_view text, QAbstractSocket::NetworkLayerProtocol protocol) {
  QHostAddress address;
  return address.setAddress(
             QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))) &&
         (protocol == QAbstractSocket::AnyIPProtocol || address.protocol() == protocol);
}

bool IsHostName(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char ch) {
    return std::isalnum(ch) || ch == '-' || ch == '.' || ch == '_';
  });
}

// "HOST:PORT", "[V6]:PORT" or "HOST" into its host and port text (nothing
// when there is no colon).
bool SplitAuthority(std::string_view authority, std::string_view& host,
                    std::optional<std::string_view>& port, std::string& reason) {
  std::string_view afterHost;
  if (!authority.empty() && authority.front() == '[') {
    const size_t close = authority.find(']');
    if (close == std::string_view::npos) {
      reason = "\"[\" without \"]\" around the IPv6 address";
      return false;
    }
    host = authority.substr(1, close - 1);
    if (!IsAddress(host, QAbstractSocket::IPv6Protocol)) {
      reason = Quoted(host) + " is not an IPv6 address";
      return false;
    }
    afterHost = authority.substr(close + 1);
    if (!afterHost.empty() && afterHost.front() != ':') {
      reason = "unexpected " + Quoted(afterHost) + " after the address";
      return false;
    }
  } else {
    const size_t colon = authority.find(':');
    if (colon != std::string_view::npos &&
        authority.find(':', colon + 1) != std::string_view::npos) {
      reason = "an IPv6 address needs brackets, as in [::1]:10110";
      return false;
    }
    host = authority.substr(0, colon);
    afterHost = colon == std::string_view::npos ? std::string_view() : authority.substr(colon);
  }
  if (!afterHost.empty()) port = afterHost.substr(1);
  return true;
}

bool ParsePort(std::string_view text, uint16_t& port, std::string& reason) {
  unsigned value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || stop != end ||
      (error != std::errc() && error != std::errc::result_out_of_range)) {
    reason = "the port " + Quoted(text) + " is not a number";
    return false;
  }
  if (error != std::errc() || value < 1 || value > std::numeric_limits<uint16_t>::max()) {
    reason = "the port " + std::string(text) + " is out of range (1 to 65535)";
    return false;
  }
  port = static_cast<uint16_t>(value);
  return true;
}

bool CheckHost(TSourceScheme scheme, std::string_view host, std::string& reason) {
  if (scheme == TSourceScheme::Udp) {
    if (host.empty() || IsAddress(host, QAbstractSocket::AnyIPProtocol)) return true;
    reason = Quoted(host) + " is not an IP address of this machine or a multicast group";
    return false;
  }
  if (host.empty()) {
    reason = "the host is missing";
    return false;
  }
  if (IsHostName(host) || IsAddress(host, QAbstractSocket::IPv6Protocol)) return true;
  reason = Quoted(host) + " is not a host name or address";
  return false;
}

bool CheckPath(TSourceScheme scheme, std::string_view path, TSourceUrl& url, std::string& reason) {
  if (path.empty() || path == "/") return true;
  if (scheme != TSourceScheme::Gpsd) {
    reason = "nothing may follow the port";
    return false;
  }
  if (std::any_of(path.begin(), path.end(),
                  [](unsigned char ch) { return ch < 32 || ch == 127; })) {
    reason = "the device name holds control characters";
    return false;
  }
  url.Device = path;
  return true;
}

}  // namespace

bool IsSourceUrl(std::string_view path) {
  return path.find("://") != std::string_view::npos;
}

std::optional<TSourceUrl> ParseSourceUrl(std::string_view text, std::string& reason) {
  const size_t separator = text.find("://");
  if (separator == std::string_view::npos) {
    reason = "no \"://\" after the scheme";
    return std::nullopt;
  }
  const std::optional<TSourceScheme> scheme = Scheme(text.substr(0, separator));
  if (!scheme) {
    reason = "unknown scheme " + Quoted(text.substr(0, separator)) + " (tcp, udp or gpsd)";
    return std::nullopt;
  }
  TSourceUrl url;
  url.Scheme = *scheme;
  const std::string_view rest = text.substr(separator + 3);
  const size_t slash = rest.find('/');
  const std::string_view authority = rest.substr(0, slash);
  const std::string_view path =
      slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
  std::string_view host;
  std::optional<std::string_view> port;
  if (!SplitAuthority(authority, host, port, reason) || !CheckHost(url.Scheme, host, reason) ||
      !CheckPath(url.Scheme, path, url, reason))
    return std::nullopt;
  url.Host = host;
  if (port) return ParsePort(*port, url.Port, reason) ? std::optional(url) : std::nullopt;
  if (url.Scheme != TSourceScheme::Gpsd) {
    reason = "the port is missing";
    return std::nullopt;
  }
  url.Port = kGpsdPort;
  return url;
}
