#pragma once
// The Statistics window's table: the rows of the sentence statistics as text,
// refreshed from a snapshot at most twice a second. The last line of a row
// is its tool tip.

#include <QAbstractTableModel>
#include <vector>

#include "monitor/SentenceStats.h"

class TStatisticsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Takes the table; keeps the view's selection and scroll position when
  // the rows stay the same in number.
  void SetTable(std::vector<TStatsTableRow> table);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<TStatsTableRow> Table;
};
