#include "source/SourceUrl.h"

#include <algorithm>
#include <cctype>

#include "source/HostPort.h"

namespace {

constexpr uint16_t kGpsdPort = 2947;

std::optional<TSourceScheme> Scheme(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  if (lower == "tcp") return TSourceScheme::Tcp;
  if (lower == "udp") return TSourceScheme::Udp;
  if (lower == "gpsd") return TSourceScheme::Gpsd;
  return std::nullopt;
}

bool IsHostName(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char ch) {
    return std::isalnum(ch) || ch == '-' || ch == '.' || ch == '_';
  });
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
  const std::optional<THostPort> parts = SplitHostPort(authority, reason);
  if (!parts || !CheckHost(url.Scheme, parts->Host, reason) ||
      !CheckPath(url.Scheme, path, url, reason))
    return std::nullopt;
  url.Host = parts->Host;
  if (parts->Port) {
    const std::optional<uint16_t> port = ParsePort(*parts->Port, reason);
    if (!port) return std::nullopt;
    url.Port = *port;
    return url;
  }
  if (url.Scheme != TSourceScheme::Gpsd) {
    reason = "the port is missing";
    return std::nullopt;
  }
  url.Port = kGpsdPort;
  return url;
}
