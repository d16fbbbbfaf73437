#pragma once
// The receivers a broker knows under a prefix: every PREFIX/NAME/status it
// holds retained, "online" or "offline", as each Tolvane publishing there
// leaves it. The Ports dialog shows them, so that a desktop can pick any
// receiver of a fleet.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "source/MqttLink.h"

struct TMqttReceiver {
  std::string Name;  // the NAME of PREFIX/NAME/status
  bool Online = false;

  bool operator==(const TMqttReceiver&) const = default;
};

class TMqttDirectory {
 public:
  // Connects at once, and asks for PREFIX/+/status.
  explicit TMqttDirectory(const TMqttUrl& url);

  // Called on the GUI thread when a receiver came, changed or went.
  void SetChangeHandler(std::function<void()> handler) { OnChange = std::move(handler); }
  // By name.
  const std::vector<TMqttReceiver>& Receivers() const { return Known; }

 private:
  void Take(const std::string& topic, const std::string& payload);

  const std::string Prefix;
  std::vector<TMqttReceiver> Known;
  std::function<void()> OnChange;
  TMqttLink Link;
};

// "roof online, mast offline", or empty when none is known.
std::string MqttReceiversText(const std::vector<TMqttReceiver>& receivers);
