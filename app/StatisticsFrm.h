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

class TAppSettings;
class TKeptPlace;
class TStatisticsModel;

namespace Ui {
class TStatisticsForm;
}

class TStatisticsForm : public QWidget {
  Q_OBJECT

 public:
  explicit TStatisticsForm(const TAppSettings& settings, QWidget* parent = nullptr);
  ~TStatisticsForm() override;

  // Shows the counts as they are at the tick nowMs; the last counts shown
  // are what Copy puts on the clipboard.
  void ShowStats(const TSentenceStats& stats, uint32_t nowMs);
  // The relay's clients, a row each: address, lines sent, lines dropped;
  // the table shows only while sharing.
  void ShowRelayClients(const std::vector<TRelayClientCounts>& clients, bool sharing);
  // Writes the window's position and size (as closing it does); a failed
  // write is not worth a message on the way out.
  void SaveGeometry();

 signals:
  void ResetRequested();

 private:
  void copyTable();

  std::unique_ptr<Ui::TStatisticsForm> Form;
  TStatisticsModel* Model;
  TKeptPlace* Place;
  std::string Csv;
};
