#include "source/MqttUrl.h"

#include <QCoreApplication>
#include <QHostInfo>
#include <charconv>
#include <limits>

namespace {

constexpr std::string_view kPlain = "mqtt://";
constexpr std::string_view kTls = "mqtts://";

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

}  // namespace

bool IsMqttUrl(std::string_view text) {
  return StartsWith(text, kPlain) || StartsWith(text, kTls);
}

std::optional<TMqttUrl> ParseMqttUrl(std::string_view text, std::string& reason) {
  TMqttUrl url;
  url.Tls = StartsWith(text, kTls);
  if (!url.Tls && !StartsWith(text, kPlain)) {
    reason = "a broker's address starts with mqtt:// or mqtts://";
    return std::nullopt;
  }
  url.Port = url.Tls ? kMqttTlsPort : kMqttPort;
  std::string_view rest = text.substr(url.Tls ? kTls.size() : kPlain.size());
  const size_t slash = rest.find('/');
  std::string_view hostPort = rest.substr(0, slash);
  std::string_view prefix = slash == std::string_view::npos ? "" : rest.substr(slash + 1);
  while (!prefix.empty() && prefix.back() == '/') prefix.remove_suffix(1);
  if (prefix.empty()) {
    reason = "the topic prefix is missing (mqtt://HOST[:PORT]/PREFIX)";
    return std::nullopt;
  }
  if (prefix.find_first_of("+#") != std::string_view::npos) {
    reason = "the topic prefix holds a wildcard (+ or #)";
    return std::nullopt;
  }
  url.Prefix = std::string(prefix);
  std::string_view portText;
  if (StartsWith(hostPort, "[")) {
    const size_t close = hostPort.find(']');
    if (close == std::string_view::npos) {
      reason = "no ] after the IPv6 address";
      return std::nullopt;
    }
    url.Host = std::string(hostPort.substr(1, close - 1));
    std::string_view after = hostPort.substr(close + 1);
    if (!after.empty() && after.front() != ':') {
      reason = "text after the IPv6 address";
      return std::nullopt;
    }
    if (!after.empty()) portText = after.substr(1);
  } else {
    const size_t colon = hostPort.find(':');
    url.Host = std::string(hostPort.substr(0, colon));
    if (colon != std::string_view::npos) portText = hostPort.substr(colon + 1);
  }
  if (url.Host.empty()) {
    reason = "the host is missing";
    return std::nullopt;
  }
  if (hostPort.find(':') != std::string_view::npos && !StartsWith(hostPort, "[") &&
      portText.empty()) {
    reason = "the port is missing after the colon";
    return std::nullopt;
  }
  if (!portText.empty()) {
    unsigned port = 0;
    const auto [end, error] =
        std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (error != std::errc() || end != portText.data() + portText.size() || port < 1 ||
        port > std::numeric_limits<uint16_t>::max()) {
      reason = "the port is not a number from 1 to 65535";
      return std::nullopt;
    }
    url.Port = static_cast<uint16_t>(port);
  }
  return url;
}

std::string DefaultMqttClientId() {
  return "tolvane-" + QHostInfo::localHostName().toStdString() + "-" +
         std::to_string(QCoreApplication::applicationPid());
}
