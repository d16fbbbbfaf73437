#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include "app/ModeCaption.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/EventLoop.h"
#include "tests/support/TextFiles.h"

namespace {

// Lets the event loop run, timers and all, for a while.
bool MenusEnabled(const TWindowHarness& harness, bool log, bool replay) {
  return harness.Find<QAction>("actionLogToDisk")->isEnabled() == log &&
         harness.Find<QAction>("actionReplayFromDisk")->isEnabled() == replay;
}

const std::string kLines[] = {
    FrameSentence("GPGLL,1"),
    FrameSentence("GPGLL,2"),
    FrameSentence("GPGLL,3"),
};

class ReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    File = Harness.Home.Path() + "/replay.TXT";
    ASSERT_TRUE(WriteAll(File, AsLog({kLines[0], kLines[1], kLines[2]})));
    Harness.Dialogs.ReplayRate->findChild<QSpinBox*>("ReplaySpeed")->setValue(200);
  }
  TModeCaption* Caption() const { return Harness.Find<TModeCaption>("ModeCaption"); }
  QPushButton* Pause() const { return Harness.Find<QPushButton>("PauseButton"); }

  TWindowHarness Harness;
  std::string File;
};

TEST_F(ReplayTest, PauseResumeRateChangeAndEndOfFile) {
  TMainWindow& main = *Harness.Main;
  main.StartReplay(File);
  EXPECT_TRUE(main.Receiver().Replaying());
  EXPECT_EQ(main.ReceiveTimer()->interval(), 200);
  EXPECT_EQ(Caption()->text(), "REPLAY");
  EXPECT_FALSE(Pause()->isHidden());
  EXPECT_EQ(Pause()->text(), "Pause");
  EXPECT_TRUE(MenusEnabled(Harness, false, false));

  Harness.Ticks(1);
  EXPECT_EQ(Harness.Shown(), std::vector<std::string>{kLines[0]});
  EXPECT_TRUE(Caption()->Lit()) << "blinks on every replayed tick";

  main.togglePause();
  EXPECT_EQ(Pause()->text(), "Resume");
  EXPECT_EQ(Caption()->text(), "PAUSED");
  Harness.Ticks(3);
  EXPECT_EQ(Harness.Shown().size(), 1u) << "nothing is read while paused";
  EXPECT_FALSE(Caption()->Lit()) << "still blinking while paused";

  main.togglePause();
  EXPECT_EQ(Caption()->text(), "REPLAY");
  Harness.Ticks(1);
  EXPECT_EQ(Harness.Shown().size(), 2u);

  Harness.AnswerModal = [](QDialog& dialog) {
    dialog.findChild<QSpinBox*>("ReplaySpeed")->setValue(50);
    return int(QDialog::Accepted);
  };
  Choose(main, "actionSetReplayRate");
  EXPECT_EQ(main.ReceiveTimer()->interval(), 50);

  Harness.Ticks(1);
  EXPECT_EQ(Harness.Shown(), (std::vector<std::string>{kLines[0], kLines[1], kLines[2]}));
  Harness.Ticks(1);
  EXPECT_FALSE(main.Receiver().Replaying()) << "the end of the file runs Stop";
  EXPECT_FALSE(main.ReceiveTimer()->isActive()) << "nothing left to do";
  EXPECT_TRUE(Pause()->isHidden());
  EXPECT_FALSE(Caption()->Lit());
  EXPECT_TRUE(MenusEnabled(Harness, true, true));
}

// The window's own timer drives a replay at the recorded pace to its end:
// ticks of interval 0 at the next turn, and the crossed gap in the status bar.
TEST_F(ReplayTest, CommandLineSpeedReplaysAtTheRecordedPaceToTheEnd) {
  const auto gga = [](const char* time) {
    return FrameSentence(std::string("GPGGA,") + time + ",6010.1,N,02456.7,E,1,08,0.9,25.0,M,,M,,");
  };
  const std::vector<std::string> lines = {kLines[0], gga("120000"), gga("120001"), gga("121001")};
  ASSERT_TRUE(WriteAll(File, AsLog(lines)));
  Harness.Main->SetCommandLine({"R", File, "--speed", "max"});
  Harness.Dispatch([&] { Harness.Main->runCommandLine(); });
  for (int turn = 0; turn < 250 && Harness.Main->Receiver().Replaying(); ++turn)
    RunEventLoopFor(20);
  EXPECT_FALSE(Harness.Main->Receiver().Replaying());
  EXPECT_EQ(Harness.Shown(), lines);
  EXPECT_EQ(Harness.Main->statusBar()->currentMessage(), "Gap of 10 min 0 s skipped");
}

TEST_F(ReplayTest, NewReplayAfterPausedStopStartsUnpaused) {
  Harness.Main->StartReplay(File);
  Harness.Main->togglePause();
  Harness.Main->stop();
  Harness.Main->StartReplay(File);
  EXPECT_EQ(Pause()->text(), "Pause");
  Harness.Ticks(1);
  EXPECT_EQ(Harness.Shown().size(), 1u);
}

TEST_F(ReplayTest, RateChangeWhileIdleLeavesTheTimerAlone) {
  Harness.AnswerModal = [](QDialog& dialog) {
    dialog.findChild<QSpinBox*>("ReplaySpeed")->setValue(50);
    return int(QDialog::Accepted);
  };
  Choose(*Harness.Main, "actionSetReplayRate");
  EXPECT_EQ(Harness.Main->ReceiveTimer()->interval(), 10);
  Harness.Main->StartReplay(File);
  EXPECT_EQ(Harness.Main->ReceiveTimer()->interval(), 50);
}

TEST_F(ReplayTest, MissingFileIsReportedAndNothingStarts) {
  Harness.Dispatch([&] { Harness.Main->StartReplay(Harness.Home.Path() + "/missing.TXT"); });
  EXPECT_EQ(Harness.ErrorsShown(), std::vector<std::string>{"File not found."});
  EXPECT_FALSE(Harness.Main->Receiver().Replaying());
  EXPECT_EQ(Harness.Main->ReceiveTimer()->interval(), 10);
  EXPECT_TRUE(Pause()->isHidden());
  EXPECT_TRUE(MenusEnabled(Harness, true, true));
}

TEST_F(ReplayTest, MenuReplayUsesTheOpenDialog) {
  Harness.AnswerModal = [this](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(files.objectName(), "OpenDialog");
    files.selectFile(QString::fromStdString(File));
    return int(QDialog::Accepted);
  };
  Choose(*Harness.Main, "actionReplayFromDisk");
  EXPECT_TRUE(Harness.Main->Receiver().Replaying());
}

// The replay dialog comes back to the folder and filter of the last file
// chosen, in this run and the next; a cancelled dialog changes nothing.
TEST_F(ReplayTest, FileDialogsComeBackToTheLastFolderAndFilter) {
  const QString folder = QString::fromStdString(Harness.Home.Path()) + "/captures";
  ASSERT_TRUE(QDir().mkpath(folder));
  const std::string capture = folder.toStdString() + "/receiver.nmea";
  ASSERT_TRUE(WriteAll(capture, AsLog({kLines[0]})));
  Harness.AnswerModal = [&](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    files.selectNameFilter("NMEA logs (*.log *.nmea *.txt *.TXT)");
    files.selectFile(QString::fromStdString(capture));
    return int(QDialog::Accepted);
  };
  Choose(*Harness.Main, "actionReplayFromDisk");
  Harness.Main->stop();

  QString shownFolder;
  QString shownFilter;
  Harness.AnswerModal = [&](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    shownFolder = files.directory().absolutePath();
    shownFilter = files.selectedNameFilter();
    files.setDirectory(QString::fromStdString(Harness.Home.Path()));
    return int(QDialog::Rejected);
  };
  Choose(*Harness.Main, "actionReplayFromDisk");
  EXPECT_EQ(shownFolder, folder) << "in the same run";
  EXPECT_EQ(shownFilter, "NMEA logs (*.log *.nmea *.txt *.TXT)");
  TMainWindow next;
  next.SetModalRunner([&](QDialog& dialog) { return Harness.AnswerModal(dialog); });
  Choose(next, "actionReplayFromDisk");
  EXPECT_EQ(shownFolder, folder) << "in the next run, after a cancel";
  EXPECT_EQ(shownFilter, "NMEA logs (*.log *.nmea *.txt *.TXT)");
}

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    File = Harness.Home.Path() + "/log.TXT";
    Harness.SelectPort(0);
  }
  void Receive(const std::vector<std::string>& lines) {
    for (const auto& line : lines) Harness.Script->Incoming += line + "\r\n";
    Harness.Ticks(static_cast<int>(lines.size()));
  }

  TWindowHarness Harness;
  std::string File;
};

TEST_F(LogTest, LinesReachTheFileWithinASecond) {
  Harness.Main->StartLogging(File);
  Receive({kLines[0], kLines[1]});
  RunEventLoopFor(1300);
  EXPECT_EQ(ReadAll(File), AsLog(Harness.Shown()));
}

TEST_F(LogTest, ClosingTheWindowWritesOutTheLog) {
  Harness.Main->StartLogging(File);
  Receive({kLines[0], kLines[1]});
  const auto shown = Harness.Shown();
  Harness.Main.reset();
  EXPECT_EQ(ReadAll(File), AsLog(shown));
}

TEST_F(LogTest, FailedCreateLeavesEverythingAsItWas) {
  const std::string blocked = File + "/under-a-file.TXT";
  ASSERT_TRUE(WriteAll(File, ""));
  Harness.Dispatch([&] { Harness.Main->StartLogging(blocked); });
  EXPECT_EQ(Harness.ErrorsShown().size(), 1u);
  EXPECT_FALSE(Harness.Main->Receiver().Logging());
  EXPECT_FALSE(Harness.Find<TModeCaption>("ModeCaption")->Lit());
  EXPECT_TRUE(Harness.Find<QAction>("actionLogToDisk")->isEnabled());
}

TEST_F(LogTest, FailedCloseAtStopStillLetsGoOfThePort) {
  Harness.Main->StartLogging("/dev/full");
  Receive({kLines[0]});
  Harness.Dispatch([&] { Harness.Main->stop(); });
  EXPECT_EQ(Harness.ErrorsShown(), std::vector<std::string>{"Disk full."});
  EXPECT_FALSE(Harness.Main->Receiver().Logging());
  EXPECT_EQ(Harness.Main->ComPortIndex(), -1);
  EXPECT_EQ(Harness.Main->Receiver().Port(), nullptr);
}

TEST_F(LogTest, MenuLoggingNeedsAPortAndUsesTheSaveDialog) {
  Harness.Main->stop();
  Choose(*Harness.Main, "actionLogToDisk");
  EXPECT_EQ(Harness.Messages,
            (std::vector<TShownMessage>{{TMessageKind::Warning, "Please open COM port first"}}));
  EXPECT_TRUE(Harness.Modals.empty());
  Harness.SelectPort(0);
  Harness.AnswerModal = [this](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(files.objectName(), "SaveDialog");
    EXPECT_EQ(files.defaultSuffix(), "TXT");
    EXPECT_EQ(files.nameFilters(),
              (QStringList{"Text files (*.TXT)", "NMEA logs (*.log *.nmea *.txt *.TXT)",
                           "All files (*.*)"}));
    files.selectFile(QString::fromStdString(File));
    return int(QDialog::Accepted);
  };
  Choose(*Harness.Main, "actionLogToDisk");
  EXPECT_TRUE(Harness.Main->Receiver().Logging());
}

TEST_F(LogTest, CancelledSaveDialogStartsNothing) {
  Harness.AnswerModal = [](QDialog&) { return int(QDialog::Rejected); };
  Choose(*Harness.Main, "actionLogToDisk");
  EXPECT_FALSE(Harness.Main->Receiver().Logging());
}

TEST(CommandDialog, ReachableOnlyWithAnOpenPort) {
  TWindowHarness harness;
  Choose(*harness.Main, "actionSendCommand");
  harness.SelectPort(3);
  Choose(*harness.Main, "actionSendCommand");
  harness.Main->stop();
  Choose(*harness.Main, "actionSendCommand");
  const TShownMessage warning{TMessageKind::Warning, "Please open COM port first"};
  EXPECT_EQ(harness.Messages, (std::vector<TShownMessage>{warning, warning}));
  EXPECT_EQ(harness.Modals, std::vector<QDialog*>{harness.Dialogs.SendCommand});
}

TEST(OptionDialogs, MenusOpenTheirDialogs) {
  TWindowHarness harness;
  harness.Find<QAction>("actionGeneralOptions")->trigger();
  harness.Find<QAction>("actionFieldFormats")->trigger();
  harness.Find<QAction>("actionSetReplayRate")->trigger();
  EXPECT_EQ(harness.Modals,
            (std::vector<QDialog*>{harness.Dialogs.GeneralOptions, harness.Dialogs.FieldFormats,
                                   harness.Dialogs.ReplayRate}));
}

}  // namespace
