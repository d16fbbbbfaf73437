#include "app/Images.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QPixmap Transparent(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A globe with a satellite's orbit across it, scaled to the given square.
void PaintEmblem(QPainter& painter, const QRectF& area) {
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF globe = area.adjusted(area.width() * 0.12, area.height() * 0.12,
                                     -area.width() * 0.12, -area.height() * 0.12);
  QRadialGradient sea(globe.center() - QPointF(globe.width() / 5, globe.height() / 5),
                      globe.width() * 0.7);
  sea.setColorAt(0, QColor(120, 180, 255));
  sea.setColorAt(1, QColor(20, 70, 160));
  painter.setPen(QPen(QColor(10, 40, 100), area.width() / 32.0));
  painter.setBrush(sea);
  painter.drawEllipse(globe);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(230, 240, 255), area.width() / 40.0));
  painter.drawEllipse(globe.adjusted(globe.width() * 0.3, 0, -globe.width() * 0.3, 0));
  painter.drawLine(QPointF(globe.left(), globe.center().y()),
                   QPointF(globe.right(), globe.center().y()));
  painter.setPen(QPen(QColor(255, 190, 0), area.width() / 18.0));
  painter.drawArc(area.adjusted(area.width() * 0.02, area.height() * 0.3, -area.width() * 0.02,
                                -area.height() * 0.3),
                  20 * 16, 140 * 16);
  const QPointF satellite(area.left() + area.width() * 0.86, area.top() + area.height() * 0.32);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 210, 40));
  painter.drawEllipse(satellite, area.width() / 12.0, area.width() / 12.0);
}

}  // namespace

QPixmap LampPixmap(bool lit) {
  QPixmap pixmap = Transparent(16, 16);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QRadialGradient glass(QPointF(6, 6), 8);
  glass.setColorAt(0, lit ? QColor(255, 200, 200) : QColor(150, 40, 40));
  glass.setColorAt(0.4, lit ? QColor(255, 30, 30) : QColor(110, 0, 0));
  glass.setColorAt(1, lit ? QColor(200, 0, 0) : QColor(60, 0, 0));
  painter.setPen(QPen(QColor(40, 0, 0), 1));
  painter.setBrush(glass);
  painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
  return pixmap;
}

QPixmap LogoPixmap() {
  QPixmap pixmap = Transparent(44, 40);
  QPainter painter(&pixmap);
  PaintEmblem(painter, QRectF(2, 0, 40, 40));
  return pixmap;
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) {
    QPixmap pixmap = Transparent(size, size);
    QPainter painter(&pixmap);
    PaintEmblem(painter, QRectF(0, 0, size, size));
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}
