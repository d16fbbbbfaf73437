#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>

#include "app/ElidedLabel.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/EventLoop.h"
#include "tests/support/Simulator.h"
#include "tests/support/TextFiles.h"

namespace {

// Restores the COM slot's device path when the test ends.
class TComSlotPath {
 public:
  TComSlotPath(const char* name, const QString& path) : Name(name) {
    qputenv(Name, path.toLocal8Bit());
  }
  ~TComSlotPath() { qunsetenv(Name); }

 private:
  const char* Name;
};

// The simulated receiver on a pseudo-terminal behind COM8:, logging started
// from the command line as a user would, the receive loop run at its own pace.
TEST(EndToEnd, LogHoldsExactlyWhatTheSimulatorSent) {
  ASSERT_TRUE(QFileInfo(kSimulatorProgram).isExecutable()) << "build tolvane-sim first";
  QTemporaryDir folder;
  const QString link = folder.filePath("gps");
  const QString sent = folder.filePath("sent.txt");
  const QString log = folder.filePath("log.TXT");

  QProcess sim;
  ASSERT_FALSE(StartSimulator(
                   sim,
                   {"--link", link, "--echo", sent, "--rate", "4", "--cycles", "8", "--seed", "7"},
                   10000)
                   .empty())
      << "the simulator names its device first";
  const TComSlotPath com8("TOLVANE_COM8", link);

  TWindowHarness harness({"L8", log.toStdString()});
  harness.Main->SetDeviceFactory({});
  harness.Dispatch([&] { harness.Main->runCommandLine(); });
  ASSERT_TRUE(harness.Messages.empty()) << harness.Messages.front().Text;
  ASSERT_TRUE(harness.Main->Receiver().Logging());
  ASSERT_EQ(harness.Main->ComPortIndex(), 7);

  QElapsedTimer running;
  running.start();
  while (sim.state() != QProcess::NotRunning && running.elapsed() < 30000) {
    harness.Ticks(1);
    sim.waitForFinished(10);
  }
  ASSERT_EQ(sim.state(), QProcess::NotRunning) << "the simulator ran too long";
  harness.Ticks(300);  // whatever is still waiting in the port, one line a tick
  harness.Main->stop();
  EXPECT_TRUE(harness.ErrorsShown().empty());

  const auto sentLines = LogLines(sent.toStdString());
  const auto logged = LogLines(log.toStdString());
  ASSERT_FALSE(logged.empty());
  EXPECT_EQ(logged, harness.Shown()) << "the log holds what was shown";
  // What was sent before the port opened is gone (opening discards it); from
  // the first line logged on, every line sent is in the log, in order.
  const auto first = std::find(sentLines.begin(), sentLines.end(), logged.front());
  ASSERT_NE(first, sentLines.end()) << logged.front();
  EXPECT_EQ(logged, std::vector<std::string>(first, sentLines.end()));
  EXPECT_GE(logged.size() * 2, sentLines.size()) << "most of the run was logged";
}

// Runs the program's own event loop, so that the receive timer ticks at its
// pace and the port, the network and the reopening of a vanished device work
// as they do for a user.
void RunWhile(const std::function<bool()>& running, int limitMs) {
  QElapsedTimer clock;
  clock.start();
  while (running() && clock.elapsed() < limitMs) RunEventLoopFor(20);
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The simulator serving TCP on 127.0.0.1 behind COM8:, logging from the
// command line: the log holds the lines served, from the first one logged on.
TEST(EndToEnd, LogHoldsWhatTheTcpSimulatorServed) {
  QTemporaryDir folder;
  const QString sent = folder.filePath("sent.txt");
  const QString log = folder.filePath("log.TXT");
  QProcess sim;
  const QString url = QString::fromStdString(StartSimulator(
      sim, {"--tcp", "0", "--echo", sent, "--rate", "4", "--cycles", "8", "--seed", "3"}, 10000));
  ASSERT_TRUE(url.startsWith("tcp://127.0.0.1:")) << url.toStdString();
  const TComSlotPath com8("TOLVANE_COM8", url);

  TWindowHarness harness({"L8", log.toStdString()});
  harness.Main->SetDeviceFactory({});
  harness.Dispatch([&] { harness.Main->runCommandLine(); });
  ASSERT_TRUE(harness.Main->Receiver().Logging());
  RunWhile([&] { return sim.state() != QProcess::NotRunning; }, 30000);
  RunWhile([] { return true; }, 300);
  harness.Main->stop();
  EXPECT_TRUE(harness.ErrorsShown().empty());

  const auto sentLines = LogLines(sent.toStdString());
  const auto logged = LogLines(log.toStdString());
  ASSERT_FALSE(logged.empty());
  EXPECT_EQ(logged, harness.Shown());
  const auto first = std::find(sentLines.begin(), sentLines.end(), logged.front());
  ASSERT_NE(first, sentLines.end()) << logged.front();
  EXPECT_EQ(logged, std::vector<std::string>(first, sentLines.end()));
}

// A receiver that goes away and comes back at the same path: the slot stays
// chosen, the status bar says so, and the same log goes on with its lines.
TEST(EndToEnd, ReceiverThatComesBackLogsIntoTheSameFile) {
  QTemporaryDir folder;
  const QString link = folder.filePath("gps");
  const QString log = folder.filePath("log.TXT");
  const TComSlotPath com8("TOLVANE_COM8", link);
  auto startSim = [&](QProcess& sim, const QString& echo) {
    return !StartSimulator(sim, {"--link", link, "--echo", echo, "--rate", "4", "--cycles", "12"},
                           10000)
                .empty();
  };

  QProcess first;
  ASSERT_TRUE(startSim(first, folder.filePath("sent1.txt")));
  TWindowHarness harness({"L8", log.toStdString()});
  harness.Main->SetDeviceFactory({});
  harness.Dispatch([&] { harness.Main->runCommandLine(); });
  RunWhile([&] { return first.state() != QProcess::NotRunning; }, 30000);
  const auto* source = harness.Find<TElidedLabel>("SourceStatus");
  RunWhile([&] { return source->text() != "Receiver disconnected"; }, 1500);
  EXPECT_EQ(source->text(), "Receiver disconnected") << "within a second";
  EXPECT_EQ(harness.Main->ComPortIndex(), 7) << "the slot stays chosen";

  QProcess second;
  ASSERT_TRUE(startSim(second, folder.filePath("sent2.txt")));
  RunWhile([&] { return !source->text().startsWith("COM8: "); }, 2500);
  EXPECT_EQ(source->text().toStdString().substr(0, 6), "COM8: ") << "reopened by itself";
  RunWhile([&] { return second.state() != QProcess::NotRunning; }, 30000);
  RunWhile([] { return true; }, 300);
  harness.Main->stop();
  EXPECT_TRUE(harness.ErrorsShown().empty());

  const auto logged = LogLines(log.toStdString());
  EXPECT_EQ(logged, harness.Shown()) << "the log holds every line shown";
  const auto before = LogLines(folder.filePath("sent1.txt").toStdString());
  const auto after = LogLines(folder.filePath("sent2.txt").toStdString());
  ASSERT_FALSE(before.empty());
  ASSERT_FALSE(after.empty());
  EXPECT_TRUE(Contains(logged, before.back())) << "the last line before the gap";
  EXPECT_TRUE(Contains(logged, after.back())) << "the last line after it";
}

}  // namespace
