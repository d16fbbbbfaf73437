// A TCP source against real peers on 127.0.0.1: the simulator serving its
// stream and going away and coming back, a port nobody listens on, a server
// that falls silent, and a peer that floods the program with junk.

#include <gtest/gtest.h>

#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <vector>

#include "source/PortSlot.h"
#include "source/TcpSource.h"
#include "tests/source/NetworkTestSupport.h"
#include "tests/support/EventLoop.h"
#include "tests/support/LoopbackPeer.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/SettingsHome.h"
#include "tests/support/Simulator.h"
#include "tests/support/TextFiles.h"

namespace {

// Starts the simulator serving TCP and returns the URL it prints.
std::string ServeTcp(QProcess& sim, const QString& port, const QString& echo, const char* cycles) {
  return StartSimulator(sim, {"--tcp", port, "--rate", "20", "--cycles", cycles, "--echo", echo});
}

TEST(TcpSource, ReconnectsAfterTheServerWasGoneAndLosesNothing) {
  ASSERT_TRUE(QFile::exists(kSimulatorProgram));
  QTemporaryDir dir;
  QProcess first;
  const std::string url = ServeTcp(first, "0", dir.filePath("first.nmea"), "30");
  ASSERT_EQ(url.rfind("tcp://127.0.0.1:", 0), 0u) << url;
  const QString port = QString::fromStdString(url.substr(url.rfind(':') + 1));

  TTempSettingsHome home;
  TPortOverride slot(0, url);
  TPortSlot source([] { return 0; });
  ASSERT_NO_THROW(source.Open());
  EXPECT_EQ(source.SourceText(), "Connecting to " + url);
  EXPECT_TRUE(source.CanSend());
  EXPECT_EQ(source.ModemLines(), nullptr);
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return source.LinkState() == TLinkState::Connected; }, 5000));
  EXPECT_EQ(source.SourceText(), "Connected to " + url);
  source.Send("$PGRMO,,3*74\r\n");

  std::vector<std::string> received = TakeLines(
      source, [&] { return source.LinkState() == TLinkState::Retrying; }, 10000);
  ASSERT_TRUE(first.state() == QProcess::NotRunning || first.waitForFinished(5000));
  EXPECT_TRUE(first.readAllStandardOutput().contains("Command: $PGRMO,,3*74"));
  EXPECT_EQ(source.SourceText(), "Disconnected from " + url + ", retrying in 1 s")
      << "data flowed, so the wait starts at 1 s";
  try {
    source.Send("$PGRMO,,3*74\r\n");
    ADD_FAILURE() << "sent while disconnected";
  } catch (const EDeviceError& error) {
    EXPECT_STREQ(error.what(), "Receiver disconnected");
  }

  QProcess second;
  ASSERT_EQ(ServeTcp(second, port, dir.filePath("second.nmea"), "40"), url);
  const std::vector<std::string> more = TakeLines(
      source, [&] { return second.state() == QProcess::NotRunning; }, 15000);
  received.insert(received.end(), more.begin(), more.end());
  source.Close();

  // Every line the servers wrote to the connection, once, in order.
  std::vector<std::string> sent = NonEmptyLines(dir.filePath("first.nmea").toStdString());
  const std::vector<std::string> sentSecond =
      NonEmptyLines(dir.filePath("second.nmea").toStdString());
  ASSERT_FALSE(sentSecond.empty()) << "the second server was found while it ran";
  sent.insert(sent.end(), sentSecond.begin(), sentSecond.end());
  EXPECT_EQ(received, sent);
  EXPECT_EQ(source.DroppedBytes(), 0u);
}

TEST(TcpSource, NobodyListeningIsTriedAgainLaterAndLater) {
  const std::string url = "tcp://127.0.0.1:" + std::to_string(FreeTcpPort());
  TTempSettingsHome home;
  TPortOverride slot(0, url);
  TPortSlot source([] { return 0; });
  ASSERT_NO_THROW(source.Open()) << "a well-formed URL always opens";
  EXPECT_TRUE(source.Opened());
  ASSERT_TRUE(ProcessEventsUntil([&] { return source.LinkState() == TLinkState::Retrying; }, 5000));
  EXPECT_EQ(source.SourceText(), "Disconnected from " + url + ", retrying in 1 s");
  // The next try is refused at once too, and waits twice as long.
  const std::string retryingIn2 = "Disconnected from " + url + ", retrying in 2 s";
  ASSERT_TRUE(ProcessEventsUntil([&] { return source.SourceText() == retryingIn2; }, 3000));
  EXPECT_EQ(source.ReadLine(), std::nullopt);
  source.Close();
  EXPECT_EQ(source.LinkState(), TLinkState::Closed);
}

TEST(TcpSource, ASilentServerCountsAsDropped) {
  // A half-open link never reports an error; silence is all there is to go by.
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  TTcpSource device({TSourceScheme::Tcp, "127.0.0.1", server.serverPort(), ""}, "tcp://", 300);
  device.Open();
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return device.LinkState() == TLinkState::Connected; }, 5000));
  ASSERT_TRUE(ProcessEventsUntil([&] { return device.LinkState() == TLinkState::Retrying; }, 2000));
  device.Close();
}

TEST(TcpSource, ReopenForTheBaudRateLeavesTheConnectionAlone) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  int connections = 0;
  QObject::connect(&server, &QTcpServer::newConnection, [&] {
    while (server.nextPendingConnection()) ++connections;
  });
  TTempSettingsHome home;
  TPortOverride slot(0, "tcp://127.0.0.1:" + std::to_string(server.serverPort()));
  TPortSlot source([] { return 0; });
  ASSERT_NO_THROW(source.Open());
  ASSERT_TRUE(ProcessEventsUntil([&] { return connections == 1; }, 5000));
  source.ReopenForBaudRate();
  ProcessEventsFor(200);
  EXPECT_EQ(connections, 1);
  EXPECT_EQ(source.LinkState(), TLinkState::Connected);
  source.Close();
}

TEST(TcpSource, TenMegabytesWithoutALineEndKeepMemoryBounded) {
  constexpr uint64_t kJunk = 10 * 1024 * 1024;
  TLoopbackPeer peer(std::string(64 * 1024, 'x'), kJunk, "\r\n");
  ASSERT_NE(peer.Port, 0);
  TTempSettingsHome home;
  TPortOverride slot(0, "tcp://127.0.0.1:" + std::to_string(peer.Port));
  TPortSlot source([] { return 0; });
  ASSERT_NO_THROW(source.Open());
  const long residentBefore = ResidentKiB();
  long residentMost = residentBefore;
  std::vector<std::string> lines;
  ProcessEventsUntil(
      [&] {
        residentMost = std::max(residentMost, ResidentKiB());
        // A receive tick: lines until none is complete.
        for (auto line = source.ReadLine(); line && !line->empty(); line = source.ReadLine())
          lines.push_back(*line);
        return !lines.empty();
      },
      60000);
  source.Close();
  ASSERT_TRUE(ProcessEventsUntil([&] { return peer.Finished.load(); }, 5000));
  EXPECT_EQ(peer.Sent, kJunk + 2);
  ASSERT_EQ(lines.size(), 1u) << "the junk ends as one line";
  EXPECT_EQ(lines[0], std::string(32767, 'x')) << "its first 32,767 characters";
  EXPECT_EQ(source.DroppedBytes(), kJunk - 32767);
  [[maybe_unused]] const long growthKiB = residentMost - residentBefore;
#ifndef __SANITIZE_ADDRESS__
  // (The address sanitizer keeps freed memory aside for a while, so there
  // resident memory grows whatever the program holds.)
  EXPECT_LT(growthKiB, 4 * 1024) << "KiB more than before, of 10 MiB sent";
#endif
}

}  // namespace
