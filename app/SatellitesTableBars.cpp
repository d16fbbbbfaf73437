#include "app/SatellitesTableBars.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace {

constexpr int kGap = 3;
constexpr int kBarWidth = 44;
// A bar is full at this SNR (dB-Hz); receivers rarely report more.
constexpr int kFullSNR = 55;

QColor LevelColour(int snr) {
  if (snr < 20) return {0xd9, 0x53, 0x4f};
  if (snr < 30) return {0xf0, 0xad, 0x4e};
  if (snr < 40) return {0xc7, 0xd1, 0x3b};
  return {0x5c, 0xb8, 0x5c};
}

QRect BarRect(const QRect& cell, int count, int bar) {
  const int width = std::min(kBarWidth, (cell.width() - kGap * (count + 1)) / std::max(count, 1));
  return {cell.left() + kGap + bar * (width + kGap), cell.top() + 2, std::max(width, 1),
          std::max(cell.height() - 4, 1)};
}

}  // namespace

TSatellitesTableBars::TSatellitesTableBars(const TSatellitesTableModel& model, QObject* parent)
    : QStyledItemDelegate(parent), Model(model) {}

int TSatellitesTableBars::SourceRow(const QModelIndex& index) const {
  if (index.column() != TSatellitesTableModel::kSNR) return -1;
  QModelIndex source = index;
  if (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(index.model()))
    source = proxy->mapToSource(index);
  return source.model() == &Model ? source.row() : -1;
}

int TSatellitesTableBars::BarAt(const QRect& cell, int count, int x) {
  for (int bar = 0; bar < count; ++bar) {
    const QRect rect = BarRect(cell, count, bar);
    if (x >= rect.left() && x <= rect.right()) return bar;
  }
  return -1;
}

QString TSatellitesTableBars::BarToolTip(TSkySystem system, const TSignalBar& bar) {
  const QString signal = QString::fromStdString(SkySignalName(system, bar.Signal));
  return bar.SNR ? tr("%1: %2 dB-Hz").arg(signal).arg(*bar.SNR) : tr("%1: no SNR").arg(signal);
}

QString TSatellitesTableBars::ToolTipAt(const QModelIndex& index, const QRect& cell,
                                        QPoint point) const {
  const int row = SourceRow(index);
  if (row < 0) return {};
  const std::span<const TSignalBar> bars = Model.Bars(row);
  const int bar = BarAt(cell, static_cast<int>(bars.size()), point.x());
  return bar < 0 ? QString() : BarToolTip(Model.System(row), bars[static_cast<size_t>(bar)]);
}

void TSatellitesTableBars::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);  // background and selection
  const int row = SourceRow(index);
  if (row < 0) return;
  const std::span<const TSignalBar> bars = Model.Bars(row);
  const int count = static_cast<int>(bars.size());
  painter->save();
  for (int i = 0; i < count; ++i) {
    const TSignalBar& bar = bars[static_cast<size_t>(i)];
    const QRect rect = BarRect(option.rect, count, i);
    painter->fillRect(rect, option.palette.color(QPalette::AlternateBase));
    if (bar.SNR && *bar.SNR > 0) {
      QRect filled = rect;
      filled.setWidth(rect.width() * std::min(*bar.SNR, kFullSNR) / kFullSNR);
      painter->fillRect(filled, LevelColour(*bar.SNR));
    }
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    painter->setPen(option.palette.color(QPalette::Text));
    painter->drawText(rect, Qt::AlignCenter, bar.SNR ? QString::number(*bar.SNR) : QString("-"));
  }
  painter->restore();
}

QSize TSatellitesTableBars::sizeHint(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  const int row = SourceRow(index);
  if (row >= 0) {
    const int count = std::max(1, static_cast<int>(Model.Bars(row).size()));
    size.setWidth(count * (kBarWidth + kGap) + kGap);
  }
  return size;
}

bool TSatellitesTableBars::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (event->type() != QEvent::ToolTip || SourceRow(index) < 0)
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  const QString text = ToolTipAt(index, option.rect, event->pos());
  if (text.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(event->globalPos(), text, view);
  }
  return true;
}
