// The relay against real clients on 127.0.0.1: readers that keep up get
// every line byte for byte, a client that stops reading loses whole lines
// for itself alone and is let go once its queue has stayed full for 30 s
// (on a clock the test turns), and lines from clients become commands only
// when asked for.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpSocket>
#include <chrono>
#include <string>
#include <vector>

#include "source/Relay.h"
#include "tests/support/EventLoop.h"

namespace {

using namespace std::chrono_literals;

struct TTestClock {
  std::chrono::steady_clock::time_point Now{};
  TRelay::TClock Function() {
    return [this] { return Now; };
  }
};

std::string Line(int number) {
  char text[96];
  std::snprintf(text, sizeof text,
                "$GPGGA,%06d.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", number);
  return text;
}

// A client that never reads, with a receive buffer as small as the system
// allows, so that what the relay sends piles up in the relay's queue.
class TStalledClient {
 public:
  explicit TStalledClient(uint16_t port) {
    Socket = ::socket(AF_INET, SOCK_STREAM, 0);
    const int small = 1024;
    ::setsockopt(Socket, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Connected = ::connect(Socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~TStalledClient() { ::close(Socket); }
  TStalledClient(const TStalledClient&) = delete;
  TStalledClient& operator=(const TStalledClient&) = delete;

  // Whatever has arrived, never waiting.
  std::string ReadWaiting() {
    std::string data;
    char chunk[4096];
    for (ssize_t got; (got = ::recv(Socket, chunk, sizeof chunk, MSG_DONTWAIT)) > 0;)
      data.append(chunk, static_cast<size_t>(got));
    return data;
  }
  // Whether the relay has closed the connection.
  bool Closed() {
    char byte;
    for (;;) {
      const ssize_t got = ::recv(Socket, &byte, 1, MSG_DONTWAIT);
      if (got == 0) return true;
      if (got < 0) return false;
    }
  }

  int Socket = -1;
  bool Connected = false;
};

// A client that reads everything as the event loop brings it.
struct TReader {
  explicit TReader(uint16_t port) {
    QObject::connect(&Socket, &QTcpSocket::readyRead, &Socket,
                     [this] { Received += Socket.readAll().toStdString(); });
    Socket.connectToHost(QHostAddress::LocalHost, port);
  }
  QTcpSocket Socket;
  std::string Received;
};

struct TRelayRig {
  TTestClock Clock;
  TRelay Relay{Clock.Function()};
  bool Listen() {
    std::string error;
    return Relay.Listen("127.0.0.1", 0, error);
  }
  bool WaitForClients(size_t count) {
    return ProcessEventsUntil([&] { return Relay.Totals().Clients == count; }, 5000);
  }
  // Lines first..first+count-1, a few at a time with the event loop turning
  // between, as a receiver sends them; returns them as sent.
  std::string Feed(int first, int count) {
    std::string sent;
    for (int number = first; number < first + count; ++number) {
      const std::string line = Line(number);
      Relay.Send(line);
      sent += line + "\r\n";
      if (number % 20 == 0) QCoreApplication::processEvents();
    }
    return sent;
  }
};

TEST(Relay, ReadersGetEveryLineWhileAStalledClientLosesWholeLinesForItselfAlone) {
  TRelayRig rig;
  ASSERT_TRUE(rig.Listen());
  TReader first(rig.Relay.Port());
  TReader second(rig.Relay.Port());
  TStalledClient stalled(rig.Relay.Port());
  ASSERT_TRUE(stalled.Connected);
  ASSERT_TRUE(rig.WaitForClients(3));

  // About 570 KB: more than the stalled client's queue and socket buffers.
  constexpr int kLines = 8000;
  const std::string sent = rig.Feed(1, kLines);
  ASSERT_TRUE(ProcessEventsUntil(
      [&] { return first.Received.size() == sent.size() && second.Received.size() == sent.size(); },
      10000));
  EXPECT_EQ(first.Received, sent);
  EXPECT_EQ(second.Received, sent);

  const std::vector<TRelayClientCounts> clients = rig.Relay.Clients();
  ASSERT_EQ(clients.size(), 3u);
  EXPECT_EQ(clients[0].Dropped, 0u);
  EXPECT_EQ(clients[1].Dropped, 0u);
  const TRelayClientCounts& slow = clients[2];
  EXPECT_GT(slow.Dropped, 0u);
  EXPECT_EQ(slow.Sent + slow.Dropped, static_cast<uint64_t>(kLines));
  EXPECT_EQ(slow.Address.rfind("127.0.0.1:", 0), 0u) << slow.Address;

  // What the stalled client finally reads is whole lines, in order.
  std::string late;
  ProcessEventsUntil(
      [&] {
        late += stalled.ReadWaiting();
        return late.size() >= slow.Sent * (Line(1).size() + 2);
      },
      10000);
  size_t lines = 0;
  int last = 0;
  for (size_t start = 0, end; (end = late.find("\r\n", start)) != std::string::npos;
       start = end + 2, ++lines) {
    const std::string line = late.substr(start, end - start);
    const int number = std::atoi(line.c_str() + 7);
    EXPECT_EQ(line, Line(number));
    EXPECT_GT(number, last);
    last = number;
  }
  EXPECT_EQ(lines, slow.Sent);
  EXPECT_EQ(rig.Relay.Totals(), (TRelayTotals{3, 2 * kLines + slow.Sent, slow.Dropped}));
}

struct TStallCase {
  const char* Legend;
  std::chrono::seconds FullFor;  // how long the queue stays full
  bool DrainsMidway;             // the client reads once, halfway through
  bool LetGo;
};

const TStallCase kStallCases[] = {
    {"full for just under 30 s: kept", 29s, false, false},
    {"full for 30 s: let go", 30s, false, true},
    {"full for 40 s, but read in between: the clock starts again", 40s, true, false},
};

TEST(Relay, AClientWhoseQueueStaysFullIsLetGoAndItsCountsKept) {
  for (const TStallCase& test : kStallCases) {
    SCOPED_TRACE(test.Legend);
    TRelayRig rig;
    ASSERT_TRUE(rig.Listen());
    TReader reader(rig.Relay.Port());
    TStalledClient stalled(rig.Relay.Port());
    ASSERT_TRUE(rig.WaitForClients(2));
    rig.Feed(1, 8000);
    ASSERT_GT(rig.Relay.Clients()[1].Dropped, 0u);

    if (test.DrainsMidway) {
      rig.Clock.Now += test.FullFor / 2;
      ProcessEventsUntil([&] { return !stalled.ReadWaiting().empty(); }, 15000);
      ProcessEventsFor(200);
      stalled.ReadWaiting();
      rig.Feed(8001, 1);
      rig.Feed(8002, 8000);
      rig.Clock.Now += test.FullFor / 2;
    } else {
      rig.Clock.Now += test.FullFor;
    }
    const TRelayTotals before = rig.Relay.Totals();
    rig.Relay.DropStalled();
    ProcessEventsFor(50);
    EXPECT_EQ(rig.Relay.Totals().Clients, test.LetGo ? 1u : 2u);
    EXPECT_EQ(rig.Relay.Totals().Dropped, before.Dropped) << "a client let go keeps its count";
    if (test.LetGo) {
      EXPECT_TRUE(ProcessEventsUntil(
          [&] {
            stalled.ReadWaiting();
            return stalled.Closed();
          },
          15000));
      EXPECT_EQ(rig.Relay.Clients()[0].Dropped, 0u) << "the reader is untouched";
    }
  }
}

struct TCommandCase {
  const char* Legend;
  bool Wanted;  // the owner asks for commands
  std::string Sent;
  std::vector<std::string> Commands;
};

const TCommandCase kCommandCases[] = {
    {"CR LF ends a command", true, "$PGRMO,,3*74\r\n", {"$PGRMO,,3*74"}},
    {"bare LF and bare CR end one too", true, "$A\n$B\r", {"$A", "$B"}},
    {"empty lines are no commands", true, "\r\n\r\n$A\r\n", {"$A"}},
    {"a part without its end waits", true, "$PGRMO,,3", {}},
    {"a command past 4 KiB is let go, the next is taken",
     true,
     std::string(5000, 'X') + "\r\n$B\r\n",
     {"$B"}},
    {"not wanted: read and let go", false, "$PGRMO,,3*74\r\n", {}},
};

TEST(Relay, LinesFromClientsBecomeCommandsOnlyWhenWanted) {
  for (const TCommandCase& test : kCommandCases) {
    SCOPED_TRACE(test.Legend);
    TRelayRig rig;
    std::vector<std::string> commands;
    if (test.Wanted)
      rig.Relay.SetCommandHandler([&](std::string_view text) { commands.emplace_back(text); });
    ASSERT_TRUE(rig.Listen());
    TReader client(rig.Relay.Port());
    ASSERT_TRUE(rig.WaitForClients(1));
    client.Socket.write(test.Sent.data(), static_cast<qint64>(test.Sent.size()));
    ProcessEventsUntil([&] { return commands.size() >= test.Commands.size(); }, 2000);
    ProcessEventsFor(100);
    EXPECT_EQ(commands, test.Commands);
  }
}

TEST(Relay, APortAlreadyHeldIsRefusedWithItsReason) {
  TRelayRig first;
  ASSERT_TRUE(first.Listen());
  TRelay second;
  std::string error;
  EXPECT_FALSE(second.Listen("127.0.0.1", first.Relay.Port(), error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(second.Listen("not an address", 0, error));
  EXPECT_EQ(error, "not an address: not an address");
}

struct TStatusCase {
  const char* Legend;
  bool Others;
  size_t Clients;
  const char* Text;
};

const TStatusCase kStatusCases[] = {
    {"loopback only", false, 2, "Sharing on port 10110, 2 clients"},
    {"one client is one", false, 1, "Sharing on port 10110, 1 client"},
    {"other computers may connect", true, 0, "Sharing on port 10110 to other computers, 0 clients"},
};

TEST(Relay, StatusTexts) {
  for (const TStatusCase& test : kStatusCases) {
    SCOPED_TRACE(test.Legend);
    EXPECT_EQ(RelayStatusText(10110, test.Others, test.Clients), test.Text);
  }
}

}  // namespace
