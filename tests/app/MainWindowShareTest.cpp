// Sharing from the window: the Share dialog starts the relay, a replay's
// lines reach a client as they are in the file whatever the filters and
// stamps do to what is shown, the status bar and the Statistics window tell
// of the clients, and a port another program holds is said in the status bar.

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>

#include "app/ElidedLabel.h"
#include "app/StatisticsWindow.h"
#include "common/Settings.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/EventLoop.h"
#include "tests/support/LoopbackPorts.h"
#include "tests/support/TextFiles.h"

namespace {

const std::vector<std::string> kReplayed = {
    "$GPGGA,120000.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*67",
    "$GPGSV,1,1,01,05,40,083,46*40",
    "not a sentence at all",
};

// Turns sharing on through the dialog, at `port`.
void ShareOn(TWindowHarness& harness, uint16_t port) {
  harness.AnswerModal = [port](QDialog& dialog) {
    dialog.findChild<QCheckBox*>("ShareEnabled")->setChecked(true);
    dialog.findChild<QSpinBox*>("SharePort")->setValue(port);
    return int(QDialog::Accepted);
  };
  harness.Dispatch([&] { Choose(*harness.Main, "actionShare"); });
}

QString ShareText(const TWindowHarness& harness) {
  return harness.Find<TElidedLabel>("ShareStatus")->text();
}

TEST(ShareWindow, AClientGetsTheReplayedLinesAsTheyCameWhateverIsFilteredOrStamped) {
  TWindowHarness harness;
  const uint16_t port = FreeTcpPort();
  ASSERT_NE(port, 0);
  EXPECT_EQ(ShareText(harness), "") << "off by default";
  ShareOn(harness, port);
  EXPECT_EQ(ShareText(harness).toStdString(),
            "Sharing on port " + std::to_string(port) + ", 0 clients");
  EXPECT_TRUE(ReadSettingBool("Share", "Enabled", false));
  EXPECT_EQ(ReadSettingInt("Share", "Port", 0), port);

  QTcpSocket client;
  std::string received;
  QObject::connect(&client, &QTcpSocket::readyRead, &client,
                   [&] { received += client.readAll().toStdString(); });
  client.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return client.state() == QTcpSocket::ConnectedState; }, 5000));
  ProcessEventsFor(50);

  harness.Check("IgnoreGSV");
  harness.Check("IgnoreInvalid");
  harness.Check("RecordTimestamps");
  const std::string file = harness.Home.Path() + "/replay.TXT";
  ASSERT_TRUE(WriteAll(file, AsLog(kReplayed)));
  harness.Main->StartReplay(file);
  harness.Ticks(4);

  std::string expected;
  for (const std::string& line : kReplayed) expected += line + "\r\n";
  ASSERT_TRUE(ProcessEventsUntil([&] { return received.size() >= expected.size(); }, 5000));
  EXPECT_EQ(received, expected);
  const TMonitorOptions& options = harness.Main->Receiver().CurrentOptions();
  EXPECT_TRUE(options.IgnoreGSV && options.IgnoreInvalid && options.RecordTimestamps)
      << "the lines went out while filters and stamps were on";

  Choose(*harness.Main, "actionStatistics");
  EXPECT_EQ(ShareText(harness).toStdString(),
            "Sharing on port " + std::to_string(port) + ", 1 client");
  const auto* table = harness.Main->findChild<QTableWidget*>("RelayTable");
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->rowCount(), 1);
  EXPECT_TRUE(table->item(0, 0)->text().startsWith("127.0.0.1:"));
  EXPECT_EQ(table->item(0, 1)->text(), "3");
  EXPECT_EQ(table->item(0, 2)->text(), "0");
}

TEST(ShareWindow, APortAnotherProgramHoldsIsSaidInTheStatusBarWithoutABox) {
  TWindowHarness harness;
  QTcpServer other;
  ASSERT_TRUE(other.listen(QHostAddress::LocalHost, 0));
  ShareOn(harness, other.serverPort());
  EXPECT_TRUE(
      ShareText(harness).startsWith(QString("Cannot share on port %1: ").arg(other.serverPort())))
      << ShareText(harness).toStdString();
  EXPECT_TRUE(harness.ErrorsShown().empty());
}

}  // namespace
