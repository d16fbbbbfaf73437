#pragma once
// The Satellites window: every satellite of every system the receiver
// reports, on a sky plot and in a table with one SNR bar per signal, with the
// counts in view and used per system above them. Non-modal: it stays open
// beside the main window and shows what the sky model holds, live or
// replayed. Its position and size are kept in the settings store, section
// "Windows".

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "nmea/SkyModel.h"

#include "app/ToolWindow.h"

class QSortFilterProxyModel;
class TAppSettings;
class TSatellitesTableBars;
class TSatellitesTableModel;
class TSkyPlot;

namespace Ui {
class TSatellitesWindow;
}

class TSatellitesWindow : public TToolWindow {
  Q_OBJECT

 public:
  explicit TSatellitesWindow(const TAppSettings& settings, QWidget* parent = nullptr);
  ~TSatellitesWindow() override;

  // Takes what the model holds now; cheap enough for every GSV and GSA. A
  // model that has not changed since the last call costs nothing, and the
  // plot and table catch up once per turn of the event loop (or when the
  // window is shown), however many calls came in it.
  void ShowSky(const TSkyModel& sky);
  // Empties the plot, the table and the counts.
  void Clear();

  TSkyPlot* Plot() const;
  // The table's model before sorting, and the view's model after it.
  const TSatellitesTableModel& Table() const { return *TableModel; }
  const QSortFilterProxyModel& SortedTable() const { return *Sorted; }
  const TSatellitesTableBars& Bars() const { return *BarsDelegate; }
  QString CountsText() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SizeColumns();
  void Apply();

  std::unique_ptr<Ui::TSatellitesWindow> Form;
  TSatellitesTableModel* TableModel;
  QSortFilterProxyModel* Sorted;
  TSatellitesTableBars* BarsDelegate;
  // What the last ShowSky took, until the views catch up.
  std::vector<TSkySatellite> Satellites;
  std::vector<TSkyEntry> Entries;
  std::array<TSkyCount, kSkySystemCount> Counts{};
  uint64_t Revision = 0;
  bool HaveRevision = false;
  bool ApplyPending = false;
};
