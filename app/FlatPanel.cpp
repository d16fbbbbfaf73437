#include "app/FlatPanel.h"

#include <QEvent>
#include <QHash>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QStaticText>
#include <QStyle>

namespace {

// As far from the frame as a line edit keeps its text.
constexpr int kTextMargin = 3;

class TFlatPainter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The style polishes some controls see-through; these are not.
    if (event->type() == QEvent::Polish)
      static_cast<QWidget*>(watched)->setAttribute(Qt::WA_OpaquePaintEvent);
    if (event->type() != QEvent::Paint) return false;
    if (auto* bar = qobject_cast<QProgressBar*>(watched)) {
      PaintBar(*bar);
      return true;
    }
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field) return false;
    if (!field->hasSelectedText() && !field->hasFocus()) {
      PaintField(*field);
      return true;
    }
    // The style's field, which leaves its rounded corners to what is behind.
    QPainter(field).fillRect(field->rect(), field->palette().color(QPalette::Window));
    return false;
  }

 private:
  static QRect Inside(const QWidget& control) { return control.rect().adjusted(1, 1, -1, -1); }

  // The frame's colour under the whole control, the inside painted over it:
  // two plain fills, which a raster surface does fastest.
  static void PaintFrame(QPainter& painter, const QWidget& control, const QColor& inside) {
    painter.fillRect(control.rect(), control.palette().color(QPalette::Mid));
    painter.fillRect(Inside(control), inside);
  }

  static void PaintBar(QProgressBar& bar) {
    QPainter painter(&bar);
    const QRect inside = Inside(bar);
    PaintFrame(painter, bar, bar.palette().color(QPalette::Base));
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
  }

  void PaintField(QLineEdit& field) {
    QPainter painter(&field);
    const QRect inside = Inside(field);
    const QPalette& colours = field.palette();
    PaintFrame(painter, field, colours.color(QPalette::Base));
    const QString text = field.displayText();
    if (text.isEmpty()) return;
    QStaticText& shown = Texts[&field];
    if (shown.text() != text || shown.textFormat() != Qt::PlainText) {
      shown.setTextFormat(Qt::PlainText);
      shown.setText(text);
      shown.prepare(QTransform(), field.font());
    }
    const QRect area = inside.adjusted(kTextMargin - 1, 0, 1 - kTextMargin, 0);
    const QSizeF size = shown.size();
    const Qt::Alignment alignment =
        QStyle::visualAlignment(field.layoutDirection(), field.alignment());
    qreal x = area.left();
    if (alignment & Qt::AlignRight) x = area.right() + 1 - size.width();
    if (alignment & Qt::AlignHCenter) x = area.left() + (area.width() - size.width()) / 2;
    const qreal y = area.top() + (area.height() - size.height()) / 2;
    painter.setClipRect(inside);
    painter.setPen(colours.color(QPalette::Text));
    painter.drawStaticText(QPointF(x, y), shown);
  }

  QHash<const QLineEdit*, QStaticText> Texts;
};

}  // namespace

// Each control paints every pixel of itself, so nothing behind it is painted
// first.
void PaintPanelFlat(QWidget& panel) {
  auto* painter = new TFlatPainter(&panel);
  for (QWidget* control : panel.findChildren<QWidget*>()) {
    if (!qobject_cast<QProgressBar*>(control) && !qobject_cast<QLineEdit*>(control)) continue;
    control->installEventFilter(painter);
    control->setAttribute(Qt::WA_OpaquePaintEvent);
  }
}
