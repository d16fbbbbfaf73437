// The Statistics window on its own, as the main window drives it: counts
// shown, Copy, Reset, and the place it is kept in between runs.

#include "app/StatisticsWindow.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

#include "app/AppSettings.h"
#include "common/Settings.h"
#include "tests/support/SettingsHome.h"

namespace {

// A handle to the store; each test points the store at its own home.
const TAppSettings kSettings;

TSentenceStats SomeStats() {
  TSentenceStats stats;
  stats.Count("$GPGGA,1*00", TLineFault::None, 1000);
  stats.Count("$GPGGA,2*00", TLineFault::BadChecksum, 1500);
  stats.Count("!AIVDM,1*00", TLineFault::None, 1800);
  stats.Count("noise", TLineFault::BadChecksum, 1900);
  stats.AddDropped(4096);
  return stats;
}

TEST(StatisticsForm, ShowsTheRowsCopiesAndAsksForAReset) {
  TTempSettingsHome home;
  TStatisticsWindow form(kSettings);
  form.show();
  EXPECT_EQ(form.windowTitle(), "Statistics");
  const TSentenceStats stats = SomeStats();
  form.ShowStats(stats, 3000);

  const QAbstractItemModel* model = form.findChild<QTableView*>("StatsTable")->model();
  ASSERT_EQ(model->rowCount(), 4);  // three addresses and the total
  ASSERT_EQ(model->columnCount(), 7);
  const auto cell = [model](int row, int column, int role = Qt::DisplayRole) {
    return model->data(model->index(row, column), role).toString();
  };
  const char* const expected[][7] = {
      {"(not a sentence)", "1", "0.5", "1", "100.0", "0", "1.1"},
      {"AIVDM", "1", "0.5", "0", "0.0", "0", "1.2"},
      {"GPGGA", "2", "1.0", "1", "50.0", "0", "1.5"},
      {"Total", "4", "2.0", "2", "50.0", "0", "1.1"},
  };
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 7; ++column) {
      EXPECT_EQ(cell(row, column), expected[row][column]) << row << "," << column;
    }
  }
  EXPECT_EQ(cell(2, 0, Qt::ToolTipRole), "$GPGGA,2*00");
  EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString(), "Bad checksum %");
  EXPECT_TRUE(form.findChild<QLabel*>("DroppedLabel")->text().contains("4096"));
  EXPECT_EQ(form.findChild<QLabel*>("BinaryBytesLabel")->text(), "Binary bytes: 0");

  QGuiApplication::clipboard()->clear();
  form.findChild<QPushButton*>("CopyButton")->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), stats.Csv(3000));

  int resets = 0;
  QObject::connect(&form, &TStatisticsWindow::resetRequested, [&resets] { ++resets; });
  form.findChild<QPushButton*>("ResetButton")->click();
  EXPECT_EQ(resets, 1);
  // The counts belong to the caller: they change only when it shows new ones.
  form.ShowStats(TSentenceStats(), 3500);
  EXPECT_EQ(model->rowCount(), 1);
}

TEST(StatisticsForm, KeepsItsSizeBetweenRuns) {
  TTempSettingsHome home;
  {
    TStatisticsWindow form(kSettings);
    form.resize(500, 300);
    form.show();
    form.close();
  }
  EXPECT_EQ(ReadSettingInt("Windows", "StatisticsWidth", 0), 500);
  EXPECT_EQ(ReadSettingInt("Windows", "StatisticsHeight", 0), 300);
  WriteSettingInt("Windows", "StatisticsWidth", 420);
  TStatisticsWindow again(kSettings);
  EXPECT_EQ(again.width(), 420);
  EXPECT_EQ(again.height(), 300);
}

// A client let go stays, greyed, with its last counts until Reset.
TEST(StatisticsForm, RelayClientsLetGoStayGreyedUntilReset) {
  TTempSettingsHome home;
  TStatisticsWindow form(kSettings);
  auto* table = form.findChild<QTableWidget*>("RelayTable");
  auto* reset = form.findChild<QPushButton*>("ResetButton");
  const TRelayClientCounts first{"127.0.0.1:5001", 7, 1};
  const TRelayClientCounts second{"[::1]:5002", 3, 0};
  struct TStep {
    const char* Legend;
    std::vector<TRelayClientCounts> Clients;
    bool Reset;
    std::vector<QString> Rows;  // address column
  };
  const TStep steps[] = {
      {"two clients", {first, second}, false, {"127.0.0.1:5001", "[::1]:5002"}},
      {"the first let go", {second}, false, {"127.0.0.1:5001 (disconnected)", "[::1]:5002"}},
      {"Reset forgets it", {second}, true, {"[::1]:5002"}},
  };
  for (const TStep& step : steps) {
    form.ShowRelayClients(step.Clients, true);
    if (step.Reset) reset->click();
    ASSERT_EQ(table->rowCount(), static_cast<int>(step.Rows.size())) << step.Legend;
    for (int row = 0; row < table->rowCount(); ++row) {
      EXPECT_EQ(table->item(row, 0)->text(), step.Rows[static_cast<size_t>(row)]) << step.Legend;
      const bool gone = step.Rows[static_cast<size_t>(row)].endsWith("(disconnected)");
      EXPECT_EQ(table->item(row, 1)->foreground().color() ==
                    form.palette().color(QPalette::Disabled, QPalette::Text),
                gone)
          << step.Legend;
    }
  }
  EXPECT_EQ(table->item(0, 1)->text(), "3");
}

}  // namespace
