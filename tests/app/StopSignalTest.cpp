// The real program, run offscreen as a user starts it, logging from the
// simulated receiver, then told to stop by a signal: what it took before the
// signal is in the log, the last half second included.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <iterator>

#include "tests/support/EventLoop.h"
#include "tests/support/Simulator.h"
#include "tests/support/TextFiles.h"

namespace {

// The program keeps a signal ignored when it started (under nohup, say): it
// is started here as from a terminal, with each signal's default action.
class TDefaultSignalActions {
 public:
  TDefaultSignalActions() {
    for (std::size_t index = 0; index < std::size(kSignals); ++index)
      Saved[index] = signal(kSignals[index], SIG_DFL);
  }
  ~TDefaultSignalActions() {
    for (std::size_t index = 0; index < std::size(kSignals); ++index)
      signal(kSignals[index], Saved[index]);
  }
  TDefaultSignalActions(const TDefaultSignalActions&) = delete;
  TDefaultSignalActions& operator=(const TDefaultSignalActions&) = delete;

 private:
  static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
  sighandler_t Saved[std::size(kSignals)] = {};
};

TEST(StopSignal, LogHoldsEverythingTakenBeforeTheSignal) {
  const QString program = TOLVANE_PROGRAM;
  ASSERT_TRUE(QFileInfo(program).isExecutable()) << "build Tolvane first";
  const struct {
    const char* Legend;
    int Signal;
  } cases[] = {
      {"SIGTERM: a shutdown, systemctl stop, kill", SIGTERM},
      {"SIGINT: Ctrl+C in the terminal that started it", SIGINT},
      {"SIGHUP: that terminal closed", SIGHUP},
  };
  for (const auto& c : cases) {
    QTemporaryDir folder;
    const QString link = folder.filePath("gps");
    const QString sent = folder.filePath("sent.txt");
    const QString log = folder.filePath("log.TXT");
    QProcess sim;
    ASSERT_FALSE(StartSimulator(
                     sim, {"--link", link, "--echo", sent, "--rate", "20", "--cycles", "60"}, 10000)
                     .empty())
        << c.Legend;

    QProcess monitor;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
    environment.insert("TOLVANE_COM8", link);
    monitor.setProcessEnvironment(environment);
    {
      const TDefaultSignalActions asFromATerminal;
      monitor.start(program, {"L8", log});
    }
    ASSERT_TRUE(monitor.waitForStarted(10000)) << c.Legend;
    EXPECT_TRUE(ProcessEventsUntil([&] { return QFileInfo(log).size() > 0; }, 10000))
        << c.Legend << ": nothing logged";
    ASSERT_TRUE(sim.waitForFinished(30000)) << c.Legend;
    // The last lines are read within moments, even on a busy machine; the log
    // writes out every half second, so the signal comes half the time while
    // some of them wait in its buffer, and seven times in eight for one of
    // the three signals.
    ProcessEventsFor(250);
    ::kill(static_cast<pid_t>(monitor.processId()), c.Signal);
    ASSERT_TRUE(monitor.waitForFinished(10000)) << c.Legend << ": still running";
    EXPECT_EQ(monitor.exitStatus(), QProcess::CrashExit) << c.Legend << ": ends by the signal";

    const auto sentLines = LogLines(sent.toStdString());
    const auto logged = LogLines(log.toStdString());
    ASSERT_FALSE(logged.empty()) << c.Legend;
    const auto first = std::find(sentLines.begin(), sentLines.end(), logged.front());
    ASSERT_NE(first, sentLines.end()) << c.Legend << ": " << logged.front();
    const std::vector<std::string> expected(first, sentLines.end());
    // Two thousand lines are too many to print: the count says how many the
    // end lost, the comparison that nothing else differs.
    EXPECT_EQ(logged.size(), expected.size()) << c.Legend << ": lines lost at the end";
    EXPECT_TRUE(logged == expected) << c.Legend << ": the log differs from what was sent";
  }
}

}  // namespace

#endif
