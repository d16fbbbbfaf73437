#include "app/ElidedLabel.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>

namespace {

// As much room either side as a QLabel in a status bar has.
constexpr int kMargin = 2;

}  // namespace

TElidedLabel::TElidedLabel(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  Whole.setTextFormat(Qt::PlainText);
  Shown.setTextFormat(Qt::PlainText);
}

void TElidedLabel::setText(const QString& text) {
  if (text == Text) return;
  Text = text;
  ShownWidth = -1;
  const int width = LayOut();
  if (width != TextWidth) {
    TextWidth = width;
    updateGeometry();
  }
  update();
}

void TElidedLabel::SetWarning(bool warning) {
  if (warning == Warning) return;
  Warning = warning;
  QFont weight = font();
  weight.setBold(warning);
  setFont(weight);  // a new width, and so a new layout
}

// The whole text laid out once, for its width and for painting it when it
// fits.
int TElidedLabel::LayOut() {
  Whole.setText(Text);
  Whole.prepare(QTransform(), font());
  return Text.isEmpty() ? 0 : static_cast<int>(std::ceil(Whole.size().width()));
}

// Eliding measures in fractions of a pixel, the layout in whole ones: a text
// given the width it asked for is shown whole.
QString TElidedLabel::ShownText() const {
  const int room = width() - 2 * kMargin;
  if (TextWidth <= room) return Text;
  return fontMetrics().elidedText(Text, Qt::ElideRight, room);
}

QString TElidedLabel::FullTextTip() const {
  return ShownText() == Text ? QString() : Text;
}

QSize TElidedLabel::sizeHint() const {
  return {TextWidth + 2 * kMargin, fontMetrics().height()};
}

// Room for a letter and the ellipsis: the rest is the layout's to give.
QSize TElidedLabel::minimumSizeHint() const {
  return {fontMetrics().horizontalAdvance(QStringLiteral("M\u2026")) + 2 * kMargin,
          fontMetrics().height()};
}

void TElidedLabel::paintEvent(QPaintEvent*) {
  if (Text.isEmpty()) return;
  const bool fits = TextWidth <= width() - 2 * kMargin;
  if (!fits && ShownWidth != width()) {
    ShownWidth = width();
    Shown.setText(ShownText());
    Shown.prepare(QTransform(), font());
  }
  const QStaticText& shown = fits ? Whole : Shown;
  QPainter painter(this);
  painter.setPen(Warning ? QColor(0xc0, 0, 0) : palette().color(QPalette::WindowText));
  const qreal y = (height() - shown.size().height()) / 2;
  painter.drawStaticText(QPointF(kMargin, y), shown);
}

bool TElidedLabel::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    // The whole text first, then whatever tip the label was given.
    QString tip = FullTextTip();
    if (!toolTip().isEmpty()) tip = tip.isEmpty() ? toolTip() : tip + '\n' + toolTip();
    if (tip.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
    return true;
  }
  if (event->type() == QEvent::FontChange) {
    ShownWidth = -1;
    TextWidth = LayOut();
  }
  return QWidget::event(event);
}
