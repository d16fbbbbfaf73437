// tolvane-decode --follow --mqtt against a real broker on 127.0.0.1: a
// subscriber sees every line the simulator served on PREFIX/nmea, one
// message per epoch equal to what --epochs prints for the same lines (the
// last one too, published as --follow ends), and PREFIX/status retained,
// "online" then "offline"; a broker stopped and started again is found
// again, and what came while it was away was dropped, not kept.

#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "tests/support/EventLoop.h"
#include "tests/support/LoopbackPorts.h"
#include "tests/support/MqttBroker.h"
#include "tests/support/TextFiles.h"
#include "tests/tools/DecodeRun.h"

namespace {

struct TFollowing {
  TFollowing(uint16_t source, const std::string& mqtt, const char* mode = "--quiet") {
    Process.start(kDecodeProgram, {mode, "--follow", QString("tcp://127.0.0.1:%1").arg(source),
                                   "--mqtt", QString::fromStdString(mqtt)});
  }
  bool Stop() {
    ::kill(static_cast<pid_t>(Process.processId()), SIGTERM);
    return Process.waitForFinished(10000) && Process.exitStatus() == QProcess::NormalExit &&
           Process.exitCode() == 0;
  }
  QProcess Process;
};

TEST(DecodeFollowMqtt, EveryLineEveryEpochAndTheRetainedStatus) {
  TMqttBroker broker;
  ASSERT_TRUE(broker.Start());
  TMqttTestClient subscriber(broker.Port(), "fleet/roof/#");
  ASSERT_TRUE(subscriber.Connected());
  const uint16_t source = FreeTcpPort();
  TFollowing follow(source, broker.Url("fleet/roof"));
  ASSERT_TRUE(
      subscriber.RunUntil([&] { return !subscriber.On("fleet/roof/status").empty(); }, 10000));
  EXPECT_EQ(subscriber.On("fleet/roof/status"), std::vector<std::string>{"online"});

  QTemporaryDir dir;
  const QString echo = dir.filePath("served.nmea");
  ASSERT_TRUE(Serve(source, echo, "120", [&](const std::function<bool()>& done, int ms) {
    return subscriber.RunUntil(done, ms);
  }));
  const std::vector<std::string> served = NonEmptyLines(echo.toStdString());
  ASSERT_FALSE(served.empty());
  EXPECT_TRUE(subscriber.RunUntil(
      [&] { return subscriber.On("fleet/roof/nmea").size() >= served.size(); }, 10000));
  ASSERT_TRUE(follow.Stop()) << follow.Process.readAllStandardError().toStdString();
  ASSERT_TRUE(
      subscriber.RunUntil([&] { return subscriber.On("fleet/roof/status").size() == 2; }, 5000));

  EXPECT_EQ(subscriber.On("fleet/roof/nmea"), served);
  const TRunResult epochs = RunDecode({"--epochs", echo});
  ASSERT_EQ(epochs.ExitCode, 0);
  EXPECT_EQ(subscriber.On("fleet/roof/epoch"), OutputLines(epochs.Out))
      << "one message per epoch, the last one published at the end";
  EXPECT_EQ(subscriber.On("fleet/roof/status"), (std::vector<std::string>{"online", "offline"}));

  // A newcomer learns the receiver's state from the retained status.
  TMqttTestClient later(broker.Port(), "fleet/+/status");
  ASSERT_TRUE(later.RunUntil([&] { return !later.Messages.empty(); }, 5000));
  EXPECT_EQ(later.Messages[0].Payload, "offline");
  EXPECT_TRUE(later.Messages[0].Retained);
}

TEST(DecodeFollowMqtt, ABrokerThatGoesAwayIsFoundAgainAndNothingWaitsForIt) {
  TMqttBroker broker;
  ASSERT_TRUE(broker.Start());
  const uint16_t source = FreeTcpPort();
  TFollowing follow(source, broker.Url("fleet/mast"), "--stats");
  QTemporaryDir dir;
  const QString echo = dir.filePath("served.nmea");
  QProcess sim;
  {
    TMqttTestClient watcher(broker.Port(), "fleet/mast/#");
    ASSERT_TRUE(watcher.RunUntil([&] { return !watcher.On("fleet/mast/status").empty(); }, 10000));
    // Six seconds of lines; the broker goes away while they flow.
    sim.start(kSimulatorProgram, {"--tcp", QString::number(source), "--rate", "40", "--cycles",
                                  "240", "--echo", echo});
    ASSERT_TRUE(watcher.RunUntil([&] { return !watcher.On("fleet/mast/nmea").empty(); }, 5000));
  }
  broker.Stop();
  ProcessEventsFor(500);
  ASSERT_TRUE(broker.Start());

  TMqttTestClient subscriber(broker.Port(), "fleet/mast/#");
  EXPECT_TRUE(subscriber.RunUntil(
      [&] {
        const std::vector<std::string> status = subscriber.On("fleet/mast/status");
        return !status.empty() && status.back() == "online";
      },
      10000))
      << "found again within the retry delays";
  ASSERT_TRUE(subscriber.RunUntil([&] { return sim.state() == QProcess::NotRunning; }, 20000));
  subscriber.RunUntil([] { return false; }, 300);
  ASSERT_TRUE(follow.Stop());

  // After the reconnection every line arrives; before it, what came while
  // the broker was away was dropped rather than kept for it.
  const std::vector<std::string> served = NonEmptyLines(echo.toStdString());
  const std::vector<std::string> received = subscriber.On("fleet/mast/nmea");
  ASSERT_FALSE(received.empty());
  ASSERT_LT(received.size(), served.size());
  const std::vector<std::string> tail(served.end() - static_cast<std::ptrdiff_t>(received.size()),
                                      served.end());
  EXPECT_EQ(received, tail);
  const QString said = follow.Process.readAllStandardError();
  EXPECT_TRUE(said.contains("MQTT: retrying in 1 s")) << said.toStdString();
  // What came while the broker was away was counted as dropped: some lines,
  // and no more than the subscriber missed.
  const std::vector<std::string> stats = OutputLines(follow.Process.readAllStandardOutput());
  ASSERT_FALSE(stats.empty());
  const std::string key = "\"mqtt\":{\"connected\":true,\"droppedLines\":";
  const size_t at = stats.back().find(key);
  ASSERT_NE(at, std::string::npos) << stats.back();
  const uint64_t dropped = std::stoull(stats.back().substr(at + key.size()));
  EXPECT_GT(dropped, 0u);
  EXPECT_LE(dropped, served.size() - received.size());
}

}  // namespace
