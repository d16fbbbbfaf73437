#pragma once
// Shares the received lines over TCP, as a multiplexer does: every line as it
// came from the receiver (CR LF added) goes to every connected client. A
// client that reads slower than the receiver sends must never slow the
// program or grow its memory, so each client has a bounded queue: a line that
// does not fit is dropped for that client alone and counted, and a client
// whose queue stays full for 30 s is let go. Lines that clients send are
// read and let go, or handed on as commands when the owner asks for them.

#include <QTcpServer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QTcpSocket;
class QTimer;

struct TRelayClientCounts {
  std::string Address;  // "127.0.0.1:50312"
  uint64_t Sent = 0;
  uint64_t Dropped = 0;

  bool operator==(const TRelayClientCounts&) const = default;
};

// Lines over every client since listening started, gone clients included.
struct TRelayTotals {
  size_t Clients = 0;  // connected now
  uint64_t Sent = 0;
  uint64_t Dropped = 0;

  bool operator==(const TRelayTotals&) const = default;
};

class TRelay {
 public:
  static constexpr size_t kQueueLimit = 256 * 1024;
  static constexpr std::chrono::seconds kStallLimit{30};
  // What the system holds for a client beyond its queue: kept small so that
  // the queue, which is counted, is what fills.
  static constexpr int kSocketSendBuffer = 64 * 1024;
  // A command longer than this is no command: it is let go unread.
  static constexpr size_t kCommandLimit = 4096;

  using TClock = std::function<std::chrono::steady_clock::time_point()>;
  using TCommandHandler = std::function<void(std::string_view command)>;

  explicit TRelay(TClock clock = std::chrono::steady_clock::now);
  ~TRelay();
  TRelay(const TRelay&) = delete;
  TRelay& operator=(const TRelay&) = delete;

  // Listens on `address` ("127.0.0.1", "0.0.0.0", "::"; port 0: any free
  // one); false with `error` saying why not. Listening again first lets go
  // of every client.
  bool Listen(const std::string& address, uint16_t port, std::string& error);
  void Stop();
  uint16_t Port() const { return Server.serverPort(); }

  // One line as received, without its line end.
  void Send(std::string_view line);
  // Lines from clients go to `handler` (without their line ends); none: they
  // are read and let go.
  void SetCommandHandler(TCommandHandler handler) { OnCommand = std::move(handler); }

  std::vector<TRelayClientCounts> Clients() const;
  TRelayTotals Totals() const;
  // Lets go of the clients whose queues have stayed full too long; called
  // once a second.
  void DropStalled();

 private:
  struct TClient;

  void Accept();
  void Forget(TClient* client);
  void ReadCommands(TClient& client);

  TClock Clock;
  QTcpServer Server;
  QTimer* StallTimer;
  std::vector<std::unique_ptr<TClient>> Connected;
  TCommandHandler OnCommand;
  uint64_t GoneSent = 0;
  uint64_t GoneDropped = 0;
};

// The status bar's words: "Sharing on port 10110, 2 clients", with "to other
// computers" when they may connect.
std::string RelayStatusText(uint16_t port, bool everyInterface, size_t clients);
