#include "app/ElidedLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

TElidedLabel::TElidedLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
}

QString TElidedLabel::ShownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

QString TElidedLabel::FullTextTip() const {
  return ShownText() == text() ? QString() : text();
}

// Room for a letter and the ellipsis: the rest is the layout's to give.
QSize TElidedLabel::minimumSizeHint() const {
  const QSize hint = QLabel::minimumSizeHint();
  const QMargins margins = contentsMargins();
  return {
      fontMetrics().horizontalAdvance(QStringLiteral("M\u2026")) + margins.left() + margins.right(),
      hint.height()};
}

// Drawn as QLabel draws plain text, so that a style sheet's colour and
// weight still show.
void TElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(),
                        isEnabled(), ShownText(), foregroundRole());
}

bool TElidedLabel::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const QString tip = FullTextTip();
    if (tip.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
    return true;
  }
  return QLabel::event(event);
}
