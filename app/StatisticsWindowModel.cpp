#include "app/StatisticsWindowModel.h"

#include <QFont>

namespace {

// Receivers send 8-bit text; the view shows it byte for byte.
QString Text(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void TStatisticsModel::SetTable(std::vector<TStatsTableRow> table) {
  if (table.size() != Table.size()) {
    beginResetModel();
    Table = std::move(table);
    endResetModel();
    return;
  }
  Table = std::move(table);
  if (!Table.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int TStatisticsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(Table.size());
}

int TStatisticsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kStatsColumns.size());
}

QVariant TStatisticsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const TStatsTableRow& row = Table[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return Text(row.Cells[static_cast<size_t>(index.column())]);
    case Qt::ToolTipRole:
      return Text(row.LastLine);
    case Qt::TextAlignmentRole:
      return index.column() == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                 : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::FontRole:
      if (index.row() + 1 == rowCount()) {  // the total
        QFont bold;
        bold.setBold(true);
        return bold;
      }
      return {};
    default:
      return {};
  }
}

QVariant TStatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= columnCount()) {
    return {};
  }
  const std::string_view title = kStatsColumns[static_cast<size_t>(section)];
  return QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size()));
}
