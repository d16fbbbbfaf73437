#pragma once
// Paints the SNR column of the satellites table: one bar per signal side by
// side (L1 beside L5), each filled by its SNR and showing the number, and
// names the signal under the mouse in a tool tip.

#include <QString>
#include <QStyledItemDelegate>
#include <optional>

#include "app/SatellitesTable.h"

class TSatellitesTableBars : public QStyledItemDelegate {
  Q_OBJECT

 public:
  TSatellitesTableBars(const TSatellitesTableModel& model, QObject* parent = nullptr);

  // Which of `count` bars in the cell lies under x, or -1 for none.
  static int BarAt(const QRect& cell, int count, int x);
  // "L1 C/A: 42 dB-Hz", or "...: no SNR".
  static QString BarToolTip(TSkySystem system, const TSignalBar& bar);
  // The tool tip at a point of the view's viewport; empty off the bars.
  QString ToolTipAt(const QModelIndex& index, const QRect& cell, QPoint point) const;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

 private:
  // The row of the table model behind an index of the view, which may go
  // through a sorting proxy; -1 when it is not the SNR column.
  int SourceRow(const QModelIndex& index) const;

  const TSatellitesTableModel& Model;
};
