#pragma once
// The Statistics window: a row per sentence address with its counts, rate,
// failures and time since last seen, the total, and the bytes the receive
// buffer dropped. Non-modal; the main window feeds it and owns the counts,
// so Reset only asks for them to be cleared.

#include <QWidget>
#include <cstdint>
#include <memory>

#include "monitor/SentenceStats.h"
#include "source/Relay.h"

#include "app/ToolWindow.h"

class TAppSettings;
class TStatisticsModel;

namespace Ui {
class TStatisticsWindow;
}

class TStatisticsWindow : public TToolWindow {
  Q_OBJECT

 public:
  explicit TStatisticsWindow(const TAppSettings& settings, QWidget* parent = nullptr);
  ~TStatisticsWindow() override;

  // Shows the counts as they are at the tick nowMs; the last counts shown
  // are what Copy puts on the clipboard.
  void ShowStats(const TSentenceStats& stats, uint32_t nowMs);
  // The relay's clients, a row each: address, lines sent, lines dropped;
  // the table shows only while sharing. A client let go keeps its row,
  // greyed and "disconnected", with its last counts until Reset.
  void ShowRelayClients(const std::vector<TRelayClientCounts>& clients, bool sharing);

 signals:
  void resetRequested();

 private:
  void copyTable();
  void ShowRelayRows();

  struct TRelayRow {
    TRelayClientCounts Counts;
    bool Connected = true;
  };

  std::unique_ptr<Ui::TStatisticsWindow> Form;
  TStatisticsModel* Model;
  std::string Csv;
  std::vector<TRelayRow> RelayRows;
};
