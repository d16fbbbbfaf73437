#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/app/MainFrmHarness.h"

namespace {

std::vector<std::string> FileLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const std::string text = file.readAll().toStdString();
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = text.find("\r\n"); end != std::string::npos;
       end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (start < text.size()) lines.push_back(text.substr(start) + "<unterminated>");
  return lines;
}

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
  const QString simulator = TOLVANE_BINARY_DIR "/tools/tolvane-sim";
  ASSERT_TRUE(QFileInfo(simulator).isExecutable()) << "build tolvane-sim first";
  QTemporaryDir folder;
  const QString link = folder.filePath("gps");
  const QString sent = folder.filePath("sent.txt");
  const QString log = folder.filePath("log.TXT");

  QProcess sim;
  sim.start(simulator,
            {"--link", link, "--echo", sent, "--rate", "4", "--cycles", "8", "--seed", "7"});
  ASSERT_TRUE(sim.waitForReadyRead(10000)) << "the simulator names its device first";
  const TComSlotPath com8("TOLVANE_COM8", link);

  TWindowHarness harness({"L8", log.toStdString()});
  harness.Main->SetDeviceFactory({});
  harness.Dispatch([&] { harness.Main->FormShow(); });
  ASSERT_TRUE(harness.Messages.empty()) << harness.Messages.front().Text;
  ASSERT_TRUE(harness.Main->Logging);
  ASSERT_EQ(harness.Main->ComPortIndex(), 7);

  QElapsedTimer running;
  running.start();
  while (sim.state() != QProcess::NotRunning && running.elapsed() < 30000) {
    harness.Ticks(1);
    sim.waitForFinished(10);
  }
  ASSERT_EQ(sim.state(), QProcess::NotRunning) << "the simulator ran too long";
  harness.Ticks(300);  // whatever is still waiting in the port, one line a tick
  harness.Main->StopButtonClick();
  EXPECT_TRUE(harness.ErrorsShown().empty());

  const auto sentLines = FileLines(sent);
  const auto logged = FileLines(log);
  ASSERT_FALSE(logged.empty());
  EXPECT_EQ(logged, harness.Shown()) << "the log holds what was shown";
  // What was sent before the port opened is gone (opening discards it); from
  // the first line logged on, every line sent is in the log, in order.
  const auto first = std::find(sentLines.begin(), sentLines.end(), logged.front());
  ASSERT_NE(first, sentLines.end()) << logged.front();
  EXPECT_EQ(logged, std::vector<std::string>(first, sentLines.end()));
  EXPECT_GE(logged.size() * 2, sentLines.size()) << "most of the run was logged";
}

}  // namespace
