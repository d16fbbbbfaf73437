#pragma once
// Paints the SNR column of the satellites table: one place per band (L1, L2,
// L5 and their kin in every system, as the header names them), the bars of
// a band's signals side by side in its place, each filled by its SNR and
// showing the number, and names the signal under the mouse in a tool tip.

#include <QString>
#include <QStyledItemDelegate>
#include <optional>
#include <span>

#include "app/SatellitesTable.h"

class TSatellitesTableBars : public QStyledItemDelegate {
  Q_OBJECT

 public:
  TSatellitesTableBars(const TSatellitesTableModel& model, QObject* parent = nullptr);

  // Where a row's bars (in band order) are painted in a cell.
  static QRect BarRect(const QRect& cell, std::span<const TSignalBar> bars, size_t bar);
  // Which of the bars lies under x, or -1 for none.
  static int BarAt(const QRect& cell, std::span<const TSignalBar> bars, int x);
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
