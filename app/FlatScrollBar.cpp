#include "app/FlatScrollBar.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionSlider>

namespace {

// The groove a shade darker than the handle, as the style has it.
constexpr int kGrooveShade = 108;

}  // namespace

TFlatScrollBar::TFlatScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

// Every pixel is painted, so nothing behind needs to be; set after the style
// has polished the bar, as it makes scroll bars see-through.
bool TFlatScrollBar::event(QEvent* event) {
  const bool handled = QScrollBar::event(event);
  if (event->type() == QEvent::Polish) setAttribute(Qt::WA_OpaquePaintEvent);
  return handled;
}

void TFlatScrollBar::paintEvent(QPaintEvent*) {
  QStyleOptionSlider option;
  initStyleOption(&option);
  QPainter painter(this);
  const QPalette& colours = palette();
  painter.fillRect(rect(), colours.color(QPalette::Window).darker(kGrooveShade));
  const auto part = [&](QStyle::SubControl control) {
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, control, this);
  };
  const bool upright = orientation() == Qt::Vertical;
  const std::pair<QStyle::SubControl, QStyle::PrimitiveElement> arrows[] = {
      {QStyle::SC_ScrollBarSubLine,
       upright ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowLeft},
      {QStyle::SC_ScrollBarAddLine,
       upright ? QStyle::PE_IndicatorArrowDown : QStyle::PE_IndicatorArrowRight},
  };
  for (const auto& [control, arrow] : arrows) {
    QStyleOption button = option;
    button.rect = part(control);
    if (button.rect.isEmpty()) continue;
    style()->drawPrimitive(arrow, &button, &painter, this);
  }
  if (!isEnabled() || maximum() == minimum()) return;
  const QRect handle = part(QStyle::SC_ScrollBarSlider).adjusted(1, 1, -2, -2);
  painter.fillRect(handle, colours.color(isSliderDown() ? QPalette::Mid : QPalette::Button));
  painter.setPen(colours.color(QPalette::Mid));
  painter.drawRect(handle);
}
