#include "source/MqttDirectory.h"

#include <algorithm>

namespace {

TMqttOptions DirectoryOptions(const TMqttUrl& url) {
  TMqttOptions options;
  options.Url = url;
  options.ClientId = DefaultMqttClientId() + "-list";
  options.Subscriptions = {url.Prefix + "/+/status"};
  return options;
}

}  // namespace

TMqttDirectory::TMqttDirectory(const TMqttUrl& url)
    : Prefix(url.Prefix + "/"), Link(DirectoryOptions(url)) {
  Link.SetMessageHandler(
      [this](const std::string& topic, const std::string& payload) { Take(topic, payload); });
}

// An empty retained message clears the topic: that receiver is gone.
void TMqttDirectory::Take(const std::string& topic, const std::string& payload) {
  constexpr std::string_view kStatus = "/status";
  if (topic.size() <= Prefix.size() + kStatus.size() || topic.rfind(Prefix, 0) != 0) return;
  const std::string name =
      topic.substr(Prefix.size(), topic.size() - Prefix.size() - kStatus.size());
  const auto at = std::lower_bound(
      Known.begin(), Known.end(), name,
      [](const TMqttReceiver& known, const std::string& wanted) { return known.Name < wanted; });
  const bool held = at != Known.end() && at->Name == name;
  if (payload.empty()) {
    if (held) Known.erase(at);
  } else if (held) {
    at->Online = payload == "online";
  } else {
    Known.insert(at, {name, payload == "online"});
  }
  if (OnChange) OnChange();
}

std::string MqttReceiversText(const std::vector<TMqttReceiver>& receivers) {
  std::string text;
  for (const TMqttReceiver& receiver : receivers) {
    if (!text.empty()) text += ", ";
    text += receiver.Name + (receiver.Online ? " online" : " offline");
  }
  return text;
}
