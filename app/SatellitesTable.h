#pragma once
// The Satellites window's table: one row per satellite (system, number,
// elevation, azimuth, used) with the SNR of each of its signals in the last
// column, which TSatellitesTableBars paints as bars side by side. Every
// column sorts through Qt::UserRole, so a QSortFilterProxyModel in front of
// it sorts numbers as numbers and absent values first.

#include <QAbstractTableModel>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "nmea/SkyModel.h"

struct TSignalBar {
  uint8_t Signal = 0;
  std::optional<int32_t> SNR;
  TSkyBand Band = TSkyBand::L1;
};

class TSatellitesTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum TColumn { kSystem, kNumber, kElevation, kAzimuth, kUsed, kSNR, kColumnCount };

  explicit TSatellitesTableModel(QObject* parent = nullptr);

  // The satellites and their signals as the sky model groups them (what a
  // display shows: ShownSatellites() and ShownEntries()).
  void SetSky(const std::vector<TSkySatellite>& satellites, const std::vector<TSkyEntry>& entries);
  void Clear();

  TSkySystem System(int row) const { return Rows[static_cast<size_t>(row)].Sky.System; }
  std::span<const TSignalBar> Bars(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  // The satellite as the sky model gives it, and its signals' bars.
  struct TRow {
    TSkySatellite Sky;
    int BarCount = 0;
    std::array<TSignalBar, 16> Bars{};  // one per signal ID at most
  };

  QVariant Display(const TRow& row, int column) const;
  QVariant SortKey(const TRow& row, int column) const;

  std::vector<TRow> Rows;
};
