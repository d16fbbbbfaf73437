#include "source/MqttLink.h"

#include <mosquitto.h>

#include <QMetaObject>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <future>
#include <mutex>
#include <thread>

#include "source/RetryDelay.h"

namespace {

constexpr const char* kOnline = "online";
constexpr const char* kOffline = "offline";
constexpr std::chrono::milliseconds kStep{100};
// How long the owner waits for the thread at the end; a connection attempt
// to a host that drops packets may take longer, and is then left to end
// with the process.
constexpr std::chrono::seconds kJoinTime{4};

void InitLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { mosquitto_lib_init(); });
}

}  // namespace

struct TMqttLink::TShared {
  TMqttOptions Options;
  std::atomic<bool> Stop = false;
  std::atomic<bool> Connected = false;
  std::atomic<bool> Accepted = false;  // the broker accepted the last connection
  std::atomic<int> Backlog = 0;
  std::atomic<int> GoodbyeMid = -1;
  std::atomic<bool> GoodbyeSent = false;
  mosquitto* Client = nullptr;

  mutable std::mutex Mutex;
  // Post to the owner's thread; emptied when the owner goes.
  std::function<void()> PostChange;
  std::function<void(std::string topic, std::string payload)> PostMessage;
  TLinkState State = TLinkState::Connecting;
  std::chrono::steady_clock::time_point RetryAt;
  int WaitSeconds = TRetryDelay::kFirstSeconds;
  std::string Error;

  void TellChange() {
    const std::lock_guard lock(Mutex);
    if (PostChange) PostChange();
  }
  void TellMessage(std::string topic, std::string payload) {
    const std::lock_guard lock(Mutex);
    if (PostMessage) PostMessage(std::move(topic), std::move(payload));
  }
  void SetState(TLinkState state, int waitSeconds = 0, std::string error = {}) {
    {
      const std::lock_guard lock(Mutex);
      State = state;
      WaitSeconds = waitSeconds;
      RetryAt = std::chrono::steady_clock::now() + std::chrono::seconds(waitSeconds);
      if (!error.empty()) Error = std::move(error);
    }
    TellChange();
  }
};

namespace {

void OnConnect(mosquitto* client, void* data, int result) {
  auto& shared = *static_cast<TMqttLink::TShared*>(data);
  if (result != 0) {
    const std::lock_guard lock(shared.Mutex);
    shared.Error = mosquitto_connack_string(result);
    return;
  }
  shared.Accepted = true;
  shared.Connected = true;
  shared.Backlog = 0;
  for (const std::string& topic : shared.Options.Subscriptions)
    mosquitto_subscribe(client, nullptr, topic.c_str(), 0);
  if (!shared.Options.StatusTopic.empty())
    mosquitto_publish(client, nullptr, shared.Options.StatusTopic.c_str(),
                      static_cast<int>(std::strlen(kOnline)), kOnline, 1, true);
  shared.SetState(TLinkState::Connected);
}

void OnDisconnect(mosquitto*, void* data, int) {
  auto& shared = *static_cast<TMqttLink::TShared*>(data);
  shared.Connected = false;
  shared.TellChange();
}

void OnPublish(mosquitto*, void* data, int mid) {
  auto& shared = *static_cast<TMqttLink::TShared*>(data);
  if (mid == shared.GoodbyeMid) shared.GoodbyeSent = true;
  int backlog = shared.Backlog.load();
  while (backlog > 0 && !shared.Backlog.compare_exchange_weak(backlog, backlog - 1)) {
  }
}

void OnMessage(mosquitto*, void* data, const mosquitto_message* m) {
  auto& shared = *static_cast<TMqttLink::TShared*>(data);
  std::string topic = m->topic ? m->topic : "";
  std::string payload(static_cast<const char*>(m->payload),
                      static_cast<size_t>(std::max(m->payloadlen, 0)));
  shared.TellMessage(std::move(topic), std::move(payload));
}

void Configure(TMqttLink::TShared& shared, mosquitto* client) {
  const TMqttOptions& options = shared.Options;
  mosquitto_threaded_set(client, true);
  mosquitto_int_option(client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
  if (!options.User.empty())
    mosquitto_username_pw_set(client, options.User.c_str(),
                              options.Password.empty() ? nullptr : options.Password.c_str());
  if (options.Url.Tls) mosquitto_int_option(client, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
  if (!options.StatusTopic.empty())
    mosquitto_will_set(client, options.StatusTopic.c_str(), static_cast<int>(std::strlen(kOffline)),
                       kOffline, 1, true);
  mosquitto_connect_callback_set(client, OnConnect);
  mosquitto_disconnect_callback_set(client, OnDisconnect);
  mosquitto_publish_callback_set(client, OnPublish);
  mosquitto_message_callback_set(client, OnMessage);
}

// A clean end: "offline" goes out (waited for a little), then the
// disconnection, which tells the broker not to publish the will.
void SayGoodbye(TMqttLink::TShared& shared, mosquitto* client) {
  if (!shared.Connected) return;
  if (!shared.Options.StatusTopic.empty()) {
    int mid = 0;
    mosquitto_publish(client, &mid, shared.Options.StatusTopic.c_str(),
                      static_cast<int>(std::strlen(kOffline)), kOffline, 1, true);
    shared.GoodbyeMid = mid;
    const auto until = std::chrono::steady_clock::now() + TMqttLink::kGoodbyeTime;
    while (!shared.GoodbyeSent && std::chrono::steady_clock::now() < until &&
           mosquitto_loop(client, static_cast<int>(kStep.count()), 1) == MOSQ_ERR_SUCCESS) {
    }
  }
  mosquitto_disconnect(client);
  mosquitto_loop(client, static_cast<int>(kStep.count()), 1);
}

void Run(const std::shared_ptr<TMqttLink::TShared>& shared) {
  TMqttLink::TShared& link = *shared;
  const TMqttOptions& options = link.Options;
  mosquitto* client = link.Client;
  TRetryDelay delay;
  while (!link.Stop) {
    link.SetState(TLinkState::Connecting);
    link.Accepted = false;
    int result = mosquitto_connect(client, options.Url.Host.c_str(), options.Url.Port,
                                   TMqttLink::kKeepAliveSeconds);
    while (result == MOSQ_ERR_SUCCESS && !link.Stop)
      result = mosquitto_loop(client, static_cast<int>(kStep.count()), 1);
    if (link.Stop) break;
    link.Connected = false;
    if (link.Accepted) delay.Reset();
    const int wait = delay.Next();
    std::string error;
    if (result == MOSQ_ERR_ERRNO)
      error = std::strerror(errno);
    else if (result != MOSQ_ERR_SUCCESS)
      error = mosquitto_strerror(result);
    link.SetState(TLinkState::Retrying, wait, error);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(wait);
    while (!link.Stop && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(kStep);
  }
  SayGoodbye(link, client);
  mosquitto_destroy(client);
  link.Client = nullptr;
}

}  // namespace

TMqttLink::TMqttLink(TMqttOptions options) : Shared(std::make_shared<TShared>()) {
  InitLibrary();
  if (options.ClientId.empty()) options.ClientId = DefaultMqttClientId();
  Shared->Options = std::move(options);
  Shared->PostChange = [this] {
    QMetaObject::invokeMethod(
        &Context,
        [this] {
          if (OnChange) OnChange();
        },
        Qt::QueuedConnection);
  };
  Shared->PostMessage = [this](std::string topic, std::string payload) {
    QMetaObject::invokeMethod(
        &Context,
        [this, topic = std::move(topic), payload = std::move(payload)]() mutable {
          if (OnMessage) OnMessage(topic, std::move(payload));
        },
        Qt::QueuedConnection);
  };
  Shared->Client = mosquitto_new(Shared->Options.ClientId.c_str(), true, Shared.get());
  if (!Shared->Client) {
    Shared->State = TLinkState::Closed;
    Shared->Error = "cannot make an MQTT client";
    return;
  }
  Configure(*Shared, Shared->Client);
  auto finished = std::make_shared<std::promise<void>>();
  Finished = finished->get_future();
  std::thread([shared = Shared, finished] {
    Run(shared);
    finished->set_value();
  }).detach();
}

TMqttLink::~TMqttLink() {
  {
    const std::lock_guard lock(Shared->Mutex);
    Shared->PostChange = nullptr;
    Shared->PostMessage = nullptr;
  }
  Shared->Stop = true;
  if (Finished.valid()) Finished.wait_for(kJoinTime);
}

bool TMqttLink::Publish(const std::string& topic, std::string_view payload, bool retain) {
  mosquitto* client = Shared->Client;
  if (!client || !Shared->Connected || Shared->Backlog >= kBacklogLimit) return false;
  ++Shared->Backlog;
  const int result = mosquitto_publish(client, nullptr, topic.c_str(),
                                       static_cast<int>(payload.size()), payload.data(), 0, retain);
  if (result == MOSQ_ERR_SUCCESS) return true;
  --Shared->Backlog;
  return false;
}

TLinkState TMqttLink::State() const {
  const std::lock_guard lock(Shared->Mutex);
  return Shared->State;
}

int TMqttLink::RetryInSeconds() const {
  const std::lock_guard lock(Shared->Mutex);
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      Shared->RetryAt - std::chrono::steady_clock::now());
  return std::clamp(static_cast<int>((left.count() + 999) / 1000), 1,
                    std::max(Shared->WaitSeconds, 1));
}

std::string TMqttLink::LastError() const {
  const std::lock_guard lock(Shared->Mutex);
  return Shared->Error;
}
