#include "app/SatellitesTable.h"

#include <algorithm>

namespace {

// Absent values sort before every value a receiver sends.
constexpr qlonglong kAbsent = -1'000'000'000'000LL;

qlonglong SortValue(const std::optional<int32_t>& value) {
  return value ? *value : kAbsent;
}

QVariant Text(const std::optional<int32_t>& value) {
  return value ? QString::number(*value) : QString();
}

}  // namespace

TSatellitesTableModel::TSatellitesTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TSatellitesTableModel::SetSky(const std::vector<TSkySatellite>& satellites,
                                   const std::vector<TSkyEntry>& entries) {
  // The same satellites in the same order (the usual case from one update
  // to the next) only change values: the view keeps its selection.
  const bool sameRows = satellites.size() == Rows.size() &&
                        std::equal(satellites.begin(), satellites.end(), Rows.begin(),
                                   [](const TSkySatellite& satellite, const TRow& row) {
                                     return satellite.System == row.Sky.System &&
                                            satellite.Satellite == row.Sky.Satellite;
                                   });
  if (!sameRows) beginResetModel();
  Rows.resize(satellites.size());
  for (size_t i = 0; i < satellites.size(); ++i) {
    const TSkySatellite& satellite = satellites[i];
    TRow& row = Rows[i];
    row.Sky = satellite;
    row.BarCount = static_cast<int>(std::min<size_t>(satellite.EntryCount, row.Bars.size()));
    for (int bar = 0; bar < row.BarCount; ++bar) {
      const TSkyEntry& entry = entries[satellite.FirstEntry + static_cast<size_t>(bar)];
      row.Bars[static_cast<size_t>(bar)] = {entry.Signal, entry.SNR,
                                            SkySignalBand(satellite.System, entry.Signal)};
    }
    // By band, the same for every system, and by signal within a band.
    std::stable_sort(row.Bars.begin(), row.Bars.begin() + row.BarCount,
                     [](const TSignalBar& a, const TSignalBar& b) { return a.Band < b.Band; });
  }
  if (!sameRows) {
    endResetModel();
  } else if (!Rows.empty()) {
    emit dataChanged(index(0, 0), index(static_cast<int>(Rows.size()) - 1, kColumnCount - 1));
  }
}

void TSatellitesTableModel::Clear() {
  beginResetModel();
  Rows.clear();
  endResetModel();
}

std::span<const TSignalBar> TSatellitesTableModel::Bars(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= Rows.size()) return {};
  const TRow& entry = Rows[static_cast<size_t>(row)];
  return {entry.Bars.data(), static_cast<size_t>(entry.BarCount)};
}

int TSatellitesTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int TSatellitesTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant TSatellitesTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || static_cast<size_t>(index.row()) >= Rows.size()) return {};
  const TRow& row = Rows[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return Display(row, index.column());
    case Qt::UserRole:
      return SortKey(row, index.column());
    case Qt::TextAlignmentRole:
      return index.column() == kSystem || index.column() == kUsed
                 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                 : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant TSatellitesTableModel::Display(const TRow& row, int column) const {
  switch (column) {
    case kSystem:
      return QString::fromLatin1(SkySystemName(row.Sky.System));
    case kNumber:
      return QString::number(row.Sky.Satellite);
    case kElevation:
      return Text(row.Sky.Elevation);
    case kAzimuth:
      return Text(row.Sky.Azimuth);
    case kUsed:
      return row.Sky.Used ? tr("Yes") : tr("No");
    default:
      return {};  // the bars are painted
  }
}

// The strongest signal sorts the SNR column.
QVariant TSatellitesTableModel::SortKey(const TRow& row, int column) const {
  switch (column) {
    case kSystem:
      return static_cast<int>(row.Sky.System);
    case kNumber:
      return row.Sky.Satellite;
    case kElevation:
      return SortValue(row.Sky.Elevation);
    case kAzimuth:
      return SortValue(row.Sky.Azimuth);
    case kUsed:
      return row.Sky.Used ? 1 : 0;
    case kSNR: {
      qlonglong strongest = kAbsent;
      for (int bar = 0; bar < row.BarCount; ++bar)
        strongest = std::max(strongest, SortValue(row.Bars[static_cast<size_t>(bar)].SNR));
      return strongest;
    }
    default:
      return {};
  }
}

QVariant TSatellitesTableModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (section == kSNR && role == Qt::ToolTipRole)
    return tr("SNR per band: L1/E1/B1/G1 | L2/G2/B3 | L5/E5/B2");
  if (role != Qt::DisplayRole) return {};
  switch (section) {
    case kSystem:
      return tr("System");
    case kNumber:
      return tr("Number");
    case kElevation:
      return tr("Elevation");
    case kAzimuth:
      return tr("Azimuth");
    case kUsed:
      return tr("Used");
    case kSNR:
      return tr("SNR: L1 | L2 | L5");
    default:
      return {};
  }
}
