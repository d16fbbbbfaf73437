#include "tests/support/MqttBroker.h"

#include <mosquitto.h>

#include <QFile>
#include <QHostAddress>
#include <QTcpSocket>

#include "tests/support/EventLoop.h"
#include "tests/support/LoopbackPorts.h"

TMqttBroker::TMqttBroker() : BrokerPort(FreeTcpPort()) {}

TMqttBroker::~TMqttBroker() {
  Stop();
}

bool TMqttBroker::Start() {
  const QString config = Dir.filePath("mosquitto.conf");
  QFile file(config);
  if (BrokerPort == 0 || !file.open(QIODevice::WriteOnly)) return false;
  file.write(QString("listener %1 127.0.0.1\nallow_anonymous true\npersistence false\n")
                 .arg(BrokerPort)
                 .toUtf8());
  file.close();
  Process.start(kProgram, {"-c", config});
  if (!Process.waitForStarted(5000)) return false;
  return ProcessEventsUntil(
      [&] {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, BrokerPort);
        return probe.waitForConnected(100);
      },
      5000);
}

void TMqttBroker::Stop() {
  if (Process.state() == QProcess::NotRunning) return;
  Process.terminate();
  if (!Process.waitForFinished(5000)) {
    Process.kill();
    Process.waitForFinished(5000);
  }
}

std::string TMqttBroker::Url(const std::string& prefix) const {
  return "mqtt://127.0.0.1:" + std::to_string(BrokerPort) + "/" + prefix;
}

TMqttTestClient::TMqttTestClient(uint16_t port, const std::string& filter) {
  mosquitto_lib_init();
  mosquitto* client = mosquitto_new(nullptr, true, this);
  if (!client) return;
  mosquitto_message_callback_set(client,
                                 [](mosquitto*, void* self, const mosquitto_message* message) {
                                   static_cast<TMqttTestClient*>(self)->Messages.push_back(
                                       {message->topic,
                                        std::string(static_cast<const char*>(message->payload),
                                                    static_cast<size_t>(message->payloadlen)),
                                        message->retain});
                                 });
  if (mosquitto_connect(client, "127.0.0.1", port, 30) != MOSQ_ERR_SUCCESS) {
    mosquitto_destroy(client);
    return;
  }
  Client = client;
  if (!filter.empty()) mosquitto_subscribe(Client, nullptr, filter.c_str(), 0);
  RunUntil([] { return false; }, 100);
}

TMqttTestClient::~TMqttTestClient() {
  if (!Client) return;
  mosquitto_disconnect(Client);
  mosquitto_loop(Client, 10, 1);
  mosquitto_destroy(Client);
}

bool TMqttTestClient::RunUntil(const std::function<bool()>& done, int timeoutMs) {
  return ProcessEventsUntil(
      [&] {
        if (Client) mosquitto_loop(Client, 2, 1);
        return done();
      },
      timeoutMs);
}

void TMqttTestClient::Publish(const std::string& topic, const std::string& payload, bool retain) {
  if (!Client) return;
  mosquitto_publish(Client, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                    payload.data(), 0, retain);
  mosquitto_loop(Client, 2, 1);
}

std::vector<std::string> TMqttTestClient::On(const std::string& topic) const {
  std::vector<std::string> payloads;
  for (const TMqttMessage& message : Messages)
    if (message.Topic == topic) payloads.push_back(message.Payload);
  return payloads;
}
