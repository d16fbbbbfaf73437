// tolvane-decode --follow against the simulator on 127.0.0.1: the lines the
// simulator served, across its going away and coming back, are printed as
// they arrive and numbered on from one connection to the next; two clients
// of --share get every line byte for byte; --stats ends with the relay's
// counts; SIGTERM ends it cleanly with everything written out; --raw keeps
// every byte read; and what it cannot do is said before it starts.

#include <gtest/gtest.h>
#include <signal.h>

#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "source/FrameBuilder.h"
#include "tests/support/EventLoop.h"
#include "tests/support/LoopbackPorts.h"
#include "tests/support/TextFiles.h"
#include "tests/tools/DecodeRun.h"

namespace {

// A client of the relay that keeps what it reads; it connects as soon as the
// relay listens.
struct TRelayClient {
  explicit TRelayClient(uint16_t port) {
    QObject::connect(&Socket, &QTcpSocket::readyRead, &Socket,
                     [this] { Received += Socket.readAll().toStdString(); });
    ProcessEventsUntil(
        [&] {
          if (Socket.state() == QTcpSocket::ConnectedState) return true;
          if (Socket.state() == QTcpSocket::UnconnectedState)
            Socket.connectToHost(QHostAddress::LocalHost, port);
          Socket.waitForConnected(100);
          return false;
        },
        10000);
  }
  QTcpSocket Socket;
  std::string Received;
};

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TEST(DecodeFollow, PrintsAndSharesEveryLineAcrossReconnectsAndEndsCleanlyOnSigterm) {
  ASSERT_TRUE(QFile::exists(kSimulatorProgram));
  QTemporaryDir dir;
  const uint16_t source = FreeTcpPort();
  const uint16_t share = FreeTcpPort();
  const std::string url = "tcp://127.0.0.1:" + std::to_string(source);
  QProcess follow;
  follow.start(kDecodeProgram, {"--stats", "--follow", QString::fromStdString(url), "--share",
                                QString("127.0.0.1:%1").arg(share)});
  ASSERT_TRUE(follow.waitForStarted(5000));
  TRelayClient first(share);
  TRelayClient second(share);
  ASSERT_EQ(second.Socket.state(), QTcpSocket::ConnectedState);

  // The simulator comes, goes and comes again; --follow finds it each time.
  ASSERT_TRUE(Serve(source, dir.filePath("first.nmea"), "120", ProcessEventsUntil));
  ASSERT_TRUE(Serve(source, dir.filePath("second.nmea"), "120", ProcessEventsUntil));
  std::vector<std::string> sent = NonEmptyLines(dir.filePath("first.nmea").toStdString());
  const std::vector<std::string> more = NonEmptyLines(dir.filePath("second.nmea").toStdString());
  sent.insert(sent.end(), more.begin(), more.end());
  const std::string expected = Joined(sent);
  EXPECT_TRUE(ProcessEventsUntil(
      [&] {
        return first.Received.size() >= expected.size() &&
               second.Received.size() >= expected.size();
      },
      10000));
  EXPECT_EQ(first.Received, expected);
  EXPECT_EQ(second.Received, expected);

  ::kill(static_cast<pid_t>(follow.processId()), SIGTERM);
  ASSERT_TRUE(follow.waitForFinished(10000));
  EXPECT_EQ(follow.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(follow.exitCode(), 0);
  const std::vector<std::string> printed = OutputLines(follow.readAllStandardOutput());
  ASSERT_FALSE(printed.empty());
  const std::string relay =
      "\"relay\":{\"clients\":2,\"sent\":" + std::to_string(2 * sent.size()) + ",\"dropped\":0}}";
  EXPECT_NE(printed.back().find("\"total\":{\"count\":" + std::to_string(sent.size()) + ","),
            std::string::npos)
      << printed.back();
  EXPECT_EQ(printed.back().substr(printed.back().size() - relay.size()), relay);
  const QString said = follow.readAllStandardError();
  EXPECT_TRUE(said.contains(QString::fromStdString("Connected to " + url))) << said.toStdString();
}

TEST(DecodeFollow, LinesAreNumberedOnAcrossReconnectsAndTheLastIsPrintedAtTheEnd) {
  QTemporaryDir dir;
  const uint16_t source = FreeTcpPort();
  QProcess follow;
  follow.start(kDecodeProgram, {"--follow", QString("tcp://127.0.0.1:%1").arg(source)});
  ASSERT_TRUE(follow.waitForStarted(5000));
  ProcessEventsFor(200);
  ASSERT_TRUE(Serve(source, dir.filePath("first.nmea"), "120", ProcessEventsUntil));
  ASSERT_TRUE(Serve(source, dir.filePath("second.nmea"), "120", ProcessEventsUntil));
  const size_t count = NonEmptyLines(dir.filePath("first.nmea").toStdString()).size() +
                       NonEmptyLines(dir.filePath("second.nmea").toStdString()).size();
  QByteArray out;
  ProcessEventsUntil(
      [&] {
        out += follow.readAllStandardOutput();
        return static_cast<size_t>(out.count('\n')) >= count;
      },
      10000);
  ::kill(static_cast<pid_t>(follow.processId()), SIGINT);
  ASSERT_TRUE(follow.waitForFinished(10000));
  out += follow.readAllStandardOutput();
  const std::vector<std::string> printed = OutputLines(out);
  ASSERT_EQ(printed.size(), count) << "printed as they arrived, before the end";
  for (size_t index = 0; index < count; ++index)
    EXPECT_EQ(printed[index].rfind("{\"n\":" + std::to_string(index + 1) + ",", 0), 0u)
        << printed[index];
}

// Frames are printed among the lines, numbered with them, as from a file.
TEST(DecodeFollow, RawWritesEveryByteItReadsUnchanged) {
  QTemporaryDir dir;
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  const QString out = dir.filePath("out.ubx");
  QProcess follow;
  follow.start(kDecodeProgram,
               {"--follow", QString("tcp://127.0.0.1:%1").arg(server.serverPort()), "--raw", out});
  ASSERT_TRUE(follow.waitForStarted(5000));
  ASSERT_TRUE(ProcessEventsUntil([&] { return server.hasPendingConnections(); }, 10000));
  QTcpSocket* peer = server.nextPendingConnection();
  const std::string sent = "$GPGGA,1\r\n" + UbxFrame(0x01, 0x07, std::string(92, '\0')) +
                           std::string("\xB5\x62\0\xFF noise", 10) + Rtcm3Frame("\x3E\xD0") +
                           "$GPRMC,unended";
  peer->write(sent.data(), static_cast<qint64>(sent.size()));
  EXPECT_TRUE(ProcessEventsUntil(
      [&] { return ReadBytes(out).size() >= static_cast<qsizetype>(sent.size()); }, 10000));
  ::kill(static_cast<pid_t>(follow.processId()), SIGTERM);
  ASSERT_TRUE(follow.waitForFinished(10000));
  EXPECT_EQ(ReadBytes(out).toStdString(), sent);
  const std::string printed = follow.readAllStandardOutput().toStdString();
  EXPECT_NE(printed.find(R"({"n":2,"frame":"UBX","class":1,"id":7,"name":"NAV-PVT","length":92})"),
            std::string::npos)
      << printed;
}

struct TRefusalCase {
  const char* Legend;
  QStringList Arguments;
  const char* Said;
};

TEST(DecodeFollow, WhatItCannotDoIsSaidBeforeItStarts) {
  QTcpServer held;
  ASSERT_TRUE(held.listen(QHostAddress::LocalHost, 0));
  const QString heldShare = QString("127.0.0.1:%1").arg(held.serverPort());
  const TRefusalCase cases[] = {
      {"a malformed URL", {"--follow", "tcp://127.0.0.1"}, "Invalid address URL"},
      {"a relay port another program holds",
       {"--follow", "tcp://127.0.0.1:9", "--share", heldShare},
       "cannot share on"},
      {"a port out of range", {"--follow", "tcp://127.0.0.1:9", "--share", "70000"}, "--share"},
      {"--share without --follow", {"--share", "10110"}, "--share needs --follow"},
      {"--follow and files", {"--follow", "tcp://127.0.0.1:9", "a.log"}, "not files"},
      {"a baud rate that is no number", {"--follow", "/dev/null", "--baud", "fast"}, "--baud"},
      {"--raw without --follow", {"--raw", "out.ubx"}, "--raw needs --follow"},
  };
  for (const TRefusalCase& test : cases) {
    SCOPED_TRACE(test.Legend);
    const TRunResult result = RunDecode(test.Arguments);
    EXPECT_NE(result.ExitCode, 0);
    EXPECT_TRUE(result.Err.contains(test.Said)) << result.Err.toStdString();
  }
}

}  // namespace
