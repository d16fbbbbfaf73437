// The window's side of the receive loop: it applies what a tick returns (the
// lamp, the mode indicator), hands option changes to the monitor at once,
// reports a tick's failure after the tick, and lets the timer sleep when
// there is nothing to do.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QWindow>

#include "app/ElidedLabel.h"
#include "app/Images.h"
#include "app/ModeCaption.h"
#include "app/SatellitesWindow.h"
#include "app/StatisticsWindow.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/EventLoop.h"
#include "tests/support/TextFiles.h"

namespace {

const std::string kGLL = FrameSentence("GPGLL,4916.45,N,12311.12,W,225444,A");

TEST(WindowLoop, LampShowsDSRAndStaysAfterThePortCloses) {
  TWindowHarness harness;
  const auto* lamp = harness.Find<QLabel>("PPSImage");
  EXPECT_TRUE(lamp->pixmap().isNull()) << "empty before any port";
  const QRgb lit = LampPixmap(true).toImage().pixel(8, 8);
  const QRgb dark = LampPixmap(false).toImage().pixel(8, 8);
  harness.SelectPort(0);
  harness.Script->DSR = true;
  harness.Ticks(1);
  EXPECT_EQ(lamp->pixmap().toImage().pixel(8, 8), lit);
  harness.Script->DSR = false;
  harness.Ticks(1);
  EXPECT_EQ(lamp->pixmap().toImage().pixel(8, 8), dark);
  harness.Main->stop();
  harness.Ticks(1);
  EXPECT_EQ(lamp->pixmap().toImage().pixel(8, 8), dark);
}

TEST(WindowLoop, ModeCaptionBlinksWhileLogging) {
  QApplication::setWindowIcon(ApplicationIcon());  // as the program sets it
  TWindowHarness harness;
  QApplication::setWindowIcon(QIcon());
  const auto* caption = harness.Find<TModeCaption>("ModeCaption");
  harness.SelectPort(0);
  harness.Main->StartLogging(harness.Home.Path() + "/blink.TXT");
  harness.Main->show();
  const QWindow* window = harness.Main->windowHandle();
  std::vector<bool> lit;
  for (int tick = 0; tick < 22; ++tick) {
    harness.Ticks(1);
    lit.push_back(caption->Lit());
    EXPECT_EQ(window->icon().isNull(), !caption->Lit()) << "the taskbar icon blinks along";
  }
  for (int tick = 0; tick < 22; ++tick)
    EXPECT_EQ(lit[tick], tick >= 10 && tick < 21) << "tick " << tick;
  EXPECT_EQ(caption->text(), "LOGGING");
}

TEST(WindowLoop, OptionChangesReachTheLoopBeforeTheDialogCloses) {
  TWindowHarness harness;
  harness.SelectPort(0);
  harness.Check("RecordTimestamps");
  harness.Dialogs.GeneralOptions->findChild<QLineEdit*>("PPSCommand")->setText("$PGRMO,,3");
  harness.Tick += 40;
  harness.Script->DSR = true;
  harness.Script->Incoming = kGLL + "\r\n";
  harness.Ticks(1);
  EXPECT_EQ(harness.Shown(), std::vector<std::string>{"~40," + kGLL});
  EXPECT_EQ(harness.Script->Written, "$PGRMO,,3\r\n");
}

TEST(WindowLoop, TimerRunsOnlyWhileThereIsSomethingToDo) {
  TWindowHarness harness;
  QTimer* timer = harness.Main->ReceiveTimer();
  const std::string replay = harness.Home.Path() + "/replay.TXT";
  ASSERT_TRUE(WriteAll(replay, kGLL + "\r\n"));
  harness.Dialogs.ReplayRate->findChild<QSpinBox*>("ReplaySpeed")->setValue(70);
  const struct {
    const char* Legend;
    std::function<void()> Action;
    bool Active;
    int Interval;
  } steps[] = {
      {"idle at start", [] {}, false, 0},
      {"a port opens", [&] { harness.SelectPort(0); }, true, 10},
      {"logging starts", [&] { harness.Main->StartLogging(harness.Home.Path() + "/l.TXT"); }, true,
       10},
      {"Stop ends both", [&] { harness.Main->stop(); }, false, 0},
      {"a replay sets its pace", [&] { harness.Main->StartReplay(replay); }, true, 70},
      {"the replay ends by itself", [&] { harness.Ticks(2); }, false, 0},
      {"a port that fails to open",
       [&] {
         harness.Script->OpenFails = true;
         harness.SelectPort(1);
       },
       false, 0},
  };
  for (const auto& step : steps) {
    step.Action();
    EXPECT_EQ(timer->isActive(), step.Active) << step.Legend;
    if (step.Active) {
      EXPECT_EQ(timer->interval(), step.Interval) << step.Legend;
    }
  }
}

// A tick that fails shows its box only after it has returned: while the box
// is open the timer keeps firing, lines keep arriving, are shown and logged.
TEST(WindowLoop, TicksGoOnWhileAnErrorBoxIsOpen) {
  TWindowHarness harness;
  const std::string log = harness.Home.Path() + "/log.TXT";
  harness.Dialogs.GeneralOptions->findChild<QLineEdit*>("PPSCommand")->setText("X");
  harness.SelectPort(0);
  harness.Main->StartLogging(log);
  harness.Script->WriteFails = true;
  harness.Script->DSR = true;
  std::size_t shownWhileOpen = 0;
  harness.WhileMessageOpen = [&] {
    harness.Script->Feed(kGLL + "\r\n" + kGLL + "\r\n" + kGLL + "\r\n");
    RunEventLoopFor(300);  // the box's own event loop: the real timer fires meanwhile
    shownWhileOpen = harness.Shown().size();
  };
  harness.Main->ReceiveTimer()->start();
  RunEventLoopFor(200);
  harness.WhileMessageOpen = nullptr;
  EXPECT_EQ(harness.ErrorsShown(), std::vector<std::string>{"Error sending data."});
  EXPECT_EQ(shownWhileOpen, 3u) << "read and shown while the box was open";
  harness.Main->stop();
  EXPECT_EQ(ReadAll(log), AsLog({kGLL, kGLL, kGLL}));
}

TEST(WindowLoop, ToolsWindowsFollowTheReplay) {
  TWindowHarness harness;
  const std::string replay = harness.Home.Path() + "/sky.TXT";
  ASSERT_TRUE(WriteAll(
      replay,
      AsLog({FrameSentence("GPGGA,101500.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
             FrameSentence("GPGSV,1,1,02,05,62,310,44,10,45,120,39"),
             FrameSentence("GPGSA,A,3,05,,,,,,,,,,,,1.5,0.9,1.2"), "$GPGLL,bad*00"})));
  harness.Find<QAction>("actionSatellites")->trigger();
  harness.Find<QAction>("actionStatistics")->trigger();
  auto* satellites = harness.Main->findChild<TSatellitesWindow*>();
  ASSERT_NE(satellites, nullptr);
  EXPECT_TRUE(satellites->isVisible());
  harness.Main->StartReplay(replay);
  harness.Ticks(4);
  harness.Main->ReceiveTimer()->stop();
  RunEventLoopFor(600);  // the status bar's own pace
  EXPECT_EQ(satellites->SortedTable().rowCount(), 2);
  EXPECT_EQ(harness.Find<TElidedLabel>("BadChecksumStatus")->text(), "1 bad checksum");
  EXPECT_EQ(harness.Find<TElidedLabel>("SourceStatus")->text(), "Replay: sky.TXT, 100 %");
  harness.Find<QAction>("actionClearReceivedData")->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(satellites->SortedTable().rowCount(), 0) << "cleared with the received data";
}

TEST(WindowLoop, SilentPortTurnsTheAgeIntoAWarning) {
  TWindowHarness harness;
  harness.SelectPort(2);
  harness.Tick += 3500;
  harness.Main->ReceiveTimer()->stop();
  QTimer* status = harness.Main->findChild<QTimer*>("StatusTimer");
  ASSERT_TRUE(status->isActive());
  QTimer::singleShot(0, [&] { status->setInterval(1); });
  RunEventLoopFor(50);
  EXPECT_EQ(harness.Find<TElidedLabel>("AgeStatus")->text(), "No data for 3 s");
  EXPECT_TRUE(harness.Find<TElidedLabel>("SourceStatus")->text().startsWith("COM3: "));
}

// A finished replay leaves its counts in the status bar, and nothing that
// would go on changing; the Statistics window's "Last seen" counts on while
// it is open.
TEST(WindowLoop, StatusLetsGoWhenTheReplayEnds) {
  TWindowHarness harness;
  const std::string replay = harness.Home.Path() + "/end.TXT";
  ASSERT_TRUE(WriteAll(replay, AsLog({kGLL, "$GPGLL,bad*00"})));
  harness.Main->StartReplay(replay);
  harness.Ticks(3);  // two lines and the end
  EXPECT_FALSE(harness.Main->Receiver().Replaying());
  const std::pair<const char*, QString> labels[] = {{"SourceStatus", "No source"},
                                                    {"RateStatus", ""},
                                                    {"BadChecksumStatus", "1 bad checksum"},
                                                    {"AgeStatus", ""}};
  for (const auto& [name, text] : labels) EXPECT_EQ(harness.Find<TElidedLabel>(name)->text(), text);
  QTimer* status = harness.Main->findChild<QTimer*>("StatusTimer");
  EXPECT_FALSE(status->isActive());

  harness.Find<QAction>("actionStatistics")->trigger();
  auto* statistics = harness.Main->findChild<TStatisticsWindow*>();
  ASSERT_TRUE(statistics->isVisible());
  EXPECT_TRUE(status->isActive()) << "Last seen counts on";
  const QAbstractItemModel* table = statistics->findChild<QTableView*>("StatsTable")->model();
  const int total = table->rowCount() - 1;
  harness.Tick += 2500;
  QTimer::singleShot(0, [&] { status->setInterval(1); });
  RunEventLoopFor(50);
  EXPECT_EQ(table->index(total, 2).data().toString(), "0.0") << "rate";
  EXPECT_EQ(table->index(total, 6).data().toString(), "2.5") << "last seen";
  statistics->close();
  RunEventLoopFor(50);
  EXPECT_FALSE(status->isActive());
}

}  // namespace
