#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include "app/AppSettings.h"
#include "app/StartCommand.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/TextFiles.h"
#include "tests/support/UserInput.h"

namespace {

std::string TempName(const TWindowHarness& harness, const char* name) {
  return harness.Home.Path() + "/" + name;
}

TEST(MainFormStart, CommandLineStartsLoggingOrReplayOrComplains) {
  const struct {
    const char* Legend;
    std::vector<std::string> Arguments;  // "@" stands for a file in the temp folder
    bool OpenFails;
    std::vector<TShownMessage> Messages;
    bool Logging;
    bool Replaying;
    int PortIndex;
  } cases[] = {
      {"no arguments", {}, false, {}, false, false, -1},
      {"one argument", {"L3"}, false, {{TMessageKind::Notice, kBadCountMessage}}, false, false, -1},
      {"three arguments",
       {"L3", "@", "x"},
       false,
       {{TMessageKind::Notice, kBadCountMessage}},
       false,
       false,
       -1},
      {"L3 opens COM3: and logs", {"L3", "@"}, false, {}, true, false, 2},
      {"bare L logs with no port", {"L", "@"}, false, {}, true, false, -1},
      {"L0 logs with no port", {"L0", "@"}, false, {}, true, false, -1},
      {"L9 opens COM8:", {"L9", "@"}, false, {}, true, false, 7},
      {"L! selects none", {"L!", "@"}, false, {}, true, false, -1},
      {"8-bit port character is held at COM8:", {"L\xE9", "@"}, false, {}, true, false, 7},
      {"only the second character counts", {"L2junk", "@"}, false, {}, true, false, 1},
      {"empty operation",
       {"", "@"},
       false,
       {{TMessageKind::Notice, kBadCommandMessage}},
       false,
       false,
       -1},
      {"lower-case l3",
       {"l3", "@"},
       false,
       {{TMessageKind::Notice, kBadCommandMessage}},
       false,
       false,
       -1},
      {"Replay is not R",
       {"Replay", "@"},
       false,
       {{TMessageKind::Notice, kBadCommandMessage}},
       false,
       false,
       -1},
      {"R replays", {"R", "@"}, false, {}, false, true, -1},
      {"COM3: cannot be opened: no logging",
       {"L3", "@"},
       true,
       {{TMessageKind::Error, "Unable to open communications port."}},
       false,
       false,
       -1},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.Arguments;
    TWindowHarness probe;
    const std::string file = TempName(probe, "GPS.TXT");
    ASSERT_TRUE(WriteAll(file, "$GPGGA\r\n"));
    for (auto& argument : arguments)
      if (argument == "@") argument = file;
    probe.Main->SetCommandLine(arguments);
    probe.Script->OpenFails = c.OpenFails;
    probe.Dispatch([&] { probe.Main->runCommandLine(); });
    EXPECT_EQ(probe.Messages, c.Messages) << c.Legend;
    EXPECT_EQ(probe.Main->Receiver().Logging(), c.Logging) << c.Legend;
    EXPECT_EQ(probe.Main->Receiver().Replaying(), c.Replaying) << c.Legend;
    EXPECT_EQ(probe.Main->ComPortIndex(), c.PortIndex) << c.Legend;
    EXPECT_EQ(probe.Main->Receiver().Port() != nullptr, c.PortIndex >= 0) << c.Legend;
    EXPECT_TRUE(c.PortIndex < 0 || probe.Main->Receiver().Port()->Opened()) << c.Legend;
  }
}

TEST(MainFormStart, CommandLineLoggingReplacesAnExistingFile) {
  TWindowHarness harness;
  const std::string file = TempName(harness, "old.TXT");
  ASSERT_TRUE(WriteAll(file, "old contents\r\n"));
  harness.Main->SetCommandLine({"L", file});
  harness.Dispatch([&] { harness.Main->runCommandLine(); });
  harness.Dispatch([&] { harness.Main->stop(); });
  QFile written(QString::fromStdString(file));
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.readAll(), QByteArray());
}

// A settings file the program will not use is named once, as the window
// opens; a usable one says nothing.
TEST(MainFormStart, OversizedSettingsFileIsNamedInTheStatusBar) {
  for (const qint64 size : {qint64{100}, qint64{52} << 20}) {
    TTempSettingsHome home;
    QDir().mkpath(QString::fromStdString(home.Path() + "/Tolvane"));
    ASSERT_TRUE(WriteAll(home.SettingsFile(), "; hand-written\n"));
    QFile(QString::fromStdString(home.SettingsFile())).resize(size);  // sparse
    TMainWindow main;
    EXPECT_EQ(main.statusBar()->currentMessage().toStdString(),
              size > 100 ? "Settings file too large (52 MB, limit 4 MB): using defaults, not "
                           "writing it"
                         : "")
        << size;
  }
}

TEST(MainFormStart, PortItemsShowTheDeviceTheyOpen) {
  TWindowHarness harness;
  EXPECT_EQ(harness.Main->ComPortIndex(), -1) << "nothing selected at start";
  for (int slot = 1; slot <= 8; ++slot) {
    const auto* item = harness.Find<QRadioButton>(("ComPort" + std::to_string(slot)).c_str());
    ASSERT_NE(item, nullptr) << slot;
    EXPECT_EQ(item->text(), QString("COM%1:").arg(slot));
    EXPECT_EQ(item->toolTip().toStdString(), TAppSettings().PortDevicePath(slot - 1));
  }
}

TEST(MainFormStart, ChoosingPortsClosesTheFirstBeforeOpeningTheNext) {
  TWindowHarness harness;
  harness.Tick = 5000;
  harness.SelectPort(2);
  EXPECT_FALSE(harness.Find<QAction>("actionReplayFromDisk")->isEnabled());
  harness.SelectPort(4);
  EXPECT_EQ(harness.Script->OpenedPath, TAppSettings().PortDevicePath(4));
  const auto& calls = harness.Script->Calls;
  const auto firstClose = std::find(calls.begin(), calls.end(), "Close");
  ASSERT_NE(firstClose, calls.end());
  EXPECT_NE(std::find(firstClose, calls.end(), "Open " + TAppSettings().PortDevicePath(4)),
            calls.end());
  EXPECT_TRUE(harness.Main->Receiver().Port()->Opened());
}

TEST(MainFormStart, UserClickOnTheSelectedPortDoesNothing) {
  TWindowHarness harness;
  auto* com3 = harness.Find<QRadioButton>("ComPort3");
  com3->click();
  TPortSlot* opened = harness.Main->Receiver().Port();
  ASSERT_NE(opened, nullptr);
  com3->click();
  EXPECT_EQ(harness.Main->Receiver().Port(), opened);
}

TEST(MainFormStart, FailedOpenLeavesNoPortSelected) {
  TWindowHarness harness;
  harness.Script->OpenFails = true;
  harness.SelectPort(0);
  EXPECT_EQ(harness.ErrorsShown(), std::vector<std::string>{"Unable to open communications port."});
  EXPECT_EQ(harness.Main->ComPortIndex(), -1);
  EXPECT_EQ(harness.Main->Receiver().Port(), nullptr);
}

TEST(MainFormStart, LogoAndLinkOpenTheWebAddress) {
  TWindowHarness harness;
  std::vector<QString> opened;
  harness.Main->SetUrlOpener([&](const QString& url) { opened.push_back(url); });
  for (QLabel* label : {harness.Find<QLabel>("Logo"), harness.Find<QLabel>("LinkCaption")})
    ClickAt(label, QRectF(label->rect()).center());
  const QString expected = "http://" + harness.Find<QLabel>("LinkCaption")->text();
  EXPECT_EQ(opened, (std::vector<QString>{expected, expected}));
}

TEST(MainFormStart, CommandLineIsActedOnAtTheFirstShowOnly) {
  TWindowHarness harness({"L3"});
  harness.Main->show();
  QApplication::processEvents();
  harness.Main->hide();
  harness.Main->show();
  QApplication::processEvents();
  EXPECT_EQ(harness.Messages,
            (std::vector<TShownMessage>{{TMessageKind::Notice, kBadCountMessage}}));
}

TEST(MainFormStart, ClearRemovesEveryReceivedLine) {
  TWindowHarness harness;
  harness.SelectPort(0);
  harness.Script->Incoming = "$GPGLL,1*00\r\n$GPGLL,2*00\r\n";
  harness.Ticks(2);
  ASSERT_EQ(harness.Shown().size(), 2u);
  harness.Find<QAction>("actionClearReceivedData")->trigger();
  EXPECT_TRUE(harness.Shown().empty());
}

}  // namespace
