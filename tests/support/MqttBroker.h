#pragma once
// A real MQTT broker for the tests: Debian's mosquitto, started on
// 127.0.0.1 at a free port (and nowhere else), stopped and started again at
// the same port when a test asks, and stopped at the end; and a subscriber
// written on libmosquitto directly, apart from the program's own client.

#include <QProcess>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct mosquitto;

class TMqttBroker {
 public:
  static constexpr const char* kProgram = "/usr/sbin/mosquitto";

  TMqttBroker();
  ~TMqttBroker();
  TMqttBroker(const TMqttBroker&) = delete;
  TMqttBroker& operator=(const TMqttBroker&) = delete;

  // Whether it accepts connections (within 5 s).
  bool Start();
  void Stop();
  uint16_t Port() const { return BrokerPort; }
  std::string Url(const std::string& prefix) const;

 private:
  QTemporaryDir Dir;
  QProcess Process;
  uint16_t BrokerPort = 0;
};

struct TMqttMessage {
  std::string Topic;
  std::string Payload;
  bool Retained = false;
};

class TMqttTestClient {
 public:
  // Connects to the broker on 127.0.0.1 and subscribes to `filter` (none
  // when empty).
  TMqttTestClient(uint16_t port, const std::string& filter);
  ~TMqttTestClient();
  TMqttTestClient(const TMqttTestClient&) = delete;
  TMqttTestClient& operator=(const TMqttTestClient&) = delete;

  bool Connected() const { return Client != nullptr; }
  // Runs both this client's loop and the event loop until `done` holds, at
  // most `timeoutMs`; whether it held.
  bool RunUntil(const std::function<bool()>& done, int timeoutMs);
  void Publish(const std::string& topic, const std::string& payload, bool retain = false);
  // The payloads received on `topic`, in order.
  std::vector<std::string> On(const std::string& topic) const;

  std::vector<TMqttMessage> Messages;

 private:
  mosquitto* Client = nullptr;
};
