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

// The cell holds one place per band, whether or not the satellite has a
// signal in it, so that bands line up from row to row; a band's signals
// share its place.
QRect TSatellitesTableBars::BarRect(const QRect& cell, std::span<const TSignalBar> bars,
                                    size_t bar) {
  const int place =
      std::clamp((cell.width() - kGap * (kSkyBandCount + 1)) / kSkyBandCount, 1, kBarWidth);
  const TSkyBand band = bars[bar].Band;
  int inBand = 0;
  int index = 0;
  for (size_t i = 0; i < bars.size(); ++i) {
    if (bars[i].Band != band) continue;
    if (i < bar) ++index;
    ++inBand;
  }
  const int width = std::max((place - kGap * (inBand - 1)) / inBand, 1);
  const int left = cell.left() + kGap + static_cast<int>(band) * (place + kGap);
  return {left + index * (width + kGap), cell.top() + 2, width, std::max(cell.height() - 4, 1)};
}

int TSatellitesTableBars::BarAt(const QRect& cell, std::span<const TSignalBar> bars, int x) {
  for (size_t bar = 0; bar < bars.size(); ++bar) {
    const QRect rect = BarRect(cell, bars, bar);
    if (x >= rect.left() && x <= rect.right()) return static_cast<int>(bar);
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
  const int bar = BarAt(cell, bars, point.x());
  return bar < 0 ? QString() : BarToolTip(Model.System(row), bars[static_cast<size_t>(bar)]);
}

void TSatellitesTableBars::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);  // background and selection
  const int row = SourceRow(index);
  if (row < 0) return;
  const std::span<const TSignalBar> bars = Model.Bars(row);
  painter->save();
  for (size_t i = 0; i < bars.size(); ++i) {
    const TSignalBar& bar = bars[i];
    const QRect rect = BarRect(option.rect, bars, i);
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
  if (SourceRow(index) >= 0) size.setWidth(kSkyBandCount * (kBarWidth + kGap) + kGap);
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
