#include "app/ModeCaption.h"

#include <QPainter>

TModeCaption::TModeCaption(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(true);
  QFont bold = font();
  bold.setBold(true);
  setFont(bold);
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, Qt::red);
  setPalette(colours);
  Shown.setTextFormat(Qt::PlainText);
}

void TModeCaption::SetLit(bool lit) {
  if (LitNow == lit) return;
  LitNow = lit;
  update();
}

void TModeCaption::paintEvent(QPaintEvent*) {
  if (!LitNow) return;  // the background alone, filled by Qt
  if (Shown.text() != text()) {
    Shown.setText(text());
    Shown.prepare(QTransform(), font());
  }
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const QRect area = contentsRect();
  const QSizeF size = Shown.size();
  const qreal y = area.top() + (area.height() - size.height()) / 2;
  const qreal x = alignment() & Qt::AlignHCenter ? area.left() + (area.width() - size.width()) / 2
                                                 : area.left();
  painter.drawStaticText(QPointF(x, y), Shown);
}
