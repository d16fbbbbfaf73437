#include "app/SignalBars.h"

#include <QEvent>
#include <QPainter>
#include <QProgressBar>

namespace {

class TFlatBarPainter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* bar = qobject_cast<QProgressBar*>(watched);
    if (!bar || event->type() != QEvent::Paint) return false;
    Paint(*bar);
    return true;
  }

 private:
  static void Paint(QProgressBar& bar) {
    QPainter painter(&bar);
    const QRect frame = bar.rect().adjusted(0, 0, -1, -1);
    const QRect inside = frame.adjusted(1, 1, 0, 0);
    painter.fillRect(inside, bar.palette().color(QPalette::Base));
    const int range = bar.maximum() - bar.minimum();
    if (range > 0 && bar.value() > bar.minimum()) {
      const bool upright = bar.orientation() == Qt::Vertical;
      const long long length = upright ? inside.height() : inside.width();
      const int filled = static_cast<int>((bar.value() - bar.minimum()) * length / range);
      const QRect level =
          upright ? QRect(inside.left(), inside.bottom() + 1 - filled, inside.width(), filled)
                  : QRect(inside.left(), inside.top(), filled, inside.height());
      painter.fillRect(level, bar.palette().color(QPalette::Highlight));
    }
    painter.setPen(bar.palette().color(QPalette::Mid));
    painter.drawRect(frame);
  }
};

}  // namespace

void PaintSignalBarsFlat(QWidget& panel) {
  auto* painter = new TFlatBarPainter(&panel);
  for (QProgressBar* bar : panel.findChildren<QProgressBar*>()) bar->installEventFilter(painter);
}
