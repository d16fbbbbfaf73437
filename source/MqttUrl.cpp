#include "source/MqttUrl.h"

#include <QCoreApplication>
#include <QHostInfo>

#include "source/HostPort.h"

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
  const std::optional<THostPort> parts = SplitHostPort(hostPort, reason);
  if (!parts) return std::nullopt;
  if (parts->Host.empty()) {
    reason = "the host is missing";
    return std::nullopt;
  }
  url.Host = std::string(parts->Host);
  if (parts->Port) {
    const std::optional<uint16_t> port = ParsePort(*parts->Port, reason);
    if (!port) return std::nullopt;
    url.Port = *port;
  }
  return url;
}

std::string DefaultMqttClientId() {
  return "tolvane-" + QHostInfo::localHostName().toStdString() + "-" +
         std::to_string(QCoreApplication::applicationPid());
}
