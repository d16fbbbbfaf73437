#pragma once
// A connection to an MQTT broker, made with libmosquitto in a thread of its
// own, so that a broker that is slow to answer or far away never holds the
// event loop. A broker that is down or goes away is tried again after 1, 2,
// 4 ... up to 30 s, as network sources are. Messages are QoS 0 and are never
// queued while no broker is connected: Publish then says they were dropped,
// and while connected at most kBacklogLimit messages wait to be written, so
// that a slow link cannot grow the program's memory. What the broker sends
// and every change of the link reach the owner on the GUI thread.

#include <QObject>
#include <chrono>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "source/LinkState.h"
#include "source/MqttUrl.h"

struct TMqttOptions {
  TMqttUrl Url;
  std::string ClientId;  // empty: DefaultMqttClientId()
  std::string User;      // empty: none
  std::string Password;
  // Retained: "online" once connected, "offline" at a clean end and as the
  // last will for a crash or a lost link. Empty: no status.
  std::string StatusTopic;
  std::vector<std::string> Subscriptions;
};

class TMqttLink {
 public:
  static constexpr int kKeepAliveSeconds = 30;
  static constexpr int kBacklogLimit = 1000;
  // How long a clean end waits for "offline" to leave.
  static constexpr std::chrono::milliseconds kGoodbyeTime{2000};

  using TMessageHandler = std::function<void(const std::string& topic, std::string payload)>;
  using TChangeHandler = std::function<void()>;

  // Starts connecting at once.
  explicit TMqttLink(TMqttOptions options);
  // A clean end: "offline" is published and the connection closed.
  ~TMqttLink();
  TMqttLink(const TMqttLink&) = delete;
  TMqttLink& operator=(const TMqttLink&) = delete;

  void SetMessageHandler(TMessageHandler handler) { OnMessage = std::move(handler); }
  void SetChangeHandler(TChangeHandler handler) { OnChange = std::move(handler); }

  // False when the message was dropped: no broker connected, or too many
  // messages still waiting to be written.
  bool Publish(const std::string& topic, std::string_view payload, bool retain = false);

  TLinkState State() const;
  // While retrying: whole seconds until the next try, at least 1.
  int RetryInSeconds() const;
  // Why the last try failed, for the status bar's tool tip; empty when none did.
  std::string LastError() const;

 public:
  // Shared with the thread, which may outlive the link by a little.
  struct TShared;

 private:
  std::shared_ptr<TShared> Shared;
  std::future<void> Finished;
  QObject Context;
  TMessageHandler OnMessage;
  TChangeHandler OnChange;
};
