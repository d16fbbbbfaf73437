#include "app/SkyPlot.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kMargin = 6;
// Room at the edge for the compass letters.
constexpr double kCompassRoom = 16;
// A marker is at most this part of the plot's radius: in a small window the
// markers shrink rather than run into one another, and below half their
// size their numbers could no longer be read and are left out.
constexpr double kMarkersPerRadius = 11;
constexpr double kSmallestLabelScale = 0.5;

}  // namespace

QColor SkySystemColour(TSkySystem system) {
  static const QColor kColours[] = {
      QColor(0x1f, 0x77, 0xb4),  // GPS: blue
      QColor(0x7f, 0x7f, 0x7f),  // SBAS: grey
      QColor(0xd6, 0x27, 0x28),  // GLONASS: red
      QColor(0x2c, 0xa0, 0x2c),  // Galileo: green
      QColor(0xff, 0x7f, 0x0e),  // BeiDou: orange
      QColor(0x94, 0x67, 0xbd),  // QZSS: purple
      QColor(0x8c, 0x56, 0x4b),  // NavIC: brown
      QColor(0x17, 0xbe, 0xcf),  // Other: cyan
  };
  const auto index = static_cast<size_t>(system);
  return index < std::size(kColours) ? kColours[index] : kColours[std::size(kColours) - 1];
}

TSkyPlot::TSkyPlot(QWidget* parent) : QWidget(parent) {
  setObjectName("SkyPlot");
  setAttribute(Qt::WA_OpaquePaintEvent);
  UpdateMetrics();
}

void TSkyPlot::SetSatellites(const std::vector<TSkySatellite>& satellites) {
  Plotted.clear();
  Systems.clear();
  for (const TSkySatellite& satellite : satellites) {
    if (Systems.empty() || Systems.back() != satellite.System) Systems.push_back(satellite.System);
    if (!satellite.Elevation || !satellite.Azimuth) continue;
    const QString label = QString::number(satellite.Satellite);
    Plotted.push_back({satellite.System, satellite.Satellite, *satellite.Elevation,
                       *satellite.Azimuth, satellite.Used, label, QStaticText(label)});
    Plotted.back().LabelText.setPerformanceHint(QStaticText::AggressiveCaching);
    Plotted.back().LabelText.prepare(QTransform(), font());
  }
  update();
}

void TSkyPlot::Clear() {
  Plotted.clear();
  Systems.clear();
  update();
}

QPointF TSkyPlot::Position(int elevation, int azimuth, QPointF centre, double radius) {
  const double distance = radius * (90 - std::clamp(elevation, 0, 90)) / 90.0;
  const double angle = (azimuth % 360) * std::numbers::pi / 180;
  return {centre.x() + distance * std::sin(angle), centre.y() - distance * std::cos(angle)};
}

QRectF TSkyPlot::PlotArea() const {
  const double left = LegendWidth + kMargin;
  const double width = std::max(1.0, this->width() - left - kMargin);
  const double height = std::max(1.0, this->height() - 2 * kMargin);
  const double diameter = std::max(1.0, std::min(width, height) - 2 * kCompassRoom);
  return {left + (width - diameter) / 2, kMargin + (height - diameter) / 2, diameter, diameter};
}

void TSkyPlot::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    UpdateMetrics();
    for (TSkyPlotPoint& point : Plotted) point.LabelText.prepare(QTransform(), font());
  }
  QWidget::changeEvent(event);
}

void TSkyPlot::UpdateMetrics() {
  const QFontMetrics metrics(font());
  // Wide enough for the three digits of SBAS 131 to 158 inside the ring.
  const QRect digits = metrics.tightBoundingRect("000");
  MarkerRadius = std::hypot(metrics.horizontalAdvance("000"), digits.height()) / 2.0 + 2;
  int widest = 0;
  for (int system = 0; system < kSkySystemCount; ++system)
    widest =
        std::max(widest, metrics.horizontalAdvance(SkySystemName(static_cast<TSkySystem>(system))));
  widest = std::max(widest, metrics.horizontalAdvance(tr("not used")));
  LegendWidth = static_cast<int>(2 * MarkerRadius) + 4 + widest;
  MarkersRatio = 0;  // the markers are drawn again at the new size
}

const QImage& TSkyPlot::Marker(TSkySystem system, bool used, qreal pixelRatio) const {
  const QColor background = palette().color(QPalette::Base);
  if (MarkersRatio != pixelRatio || MarkersBackground != background) {
    for (QImage& marker : Markers) marker = QImage();
    MarkersRatio = pixelRatio;
    MarkersBackground = background;
  }
  QImage& marker = Markers[2 * static_cast<size_t>(system) + (used ? 1 : 0)];
  if (marker.isNull()) {
    const int side = static_cast<int>(std::ceil((2 * MarkerRadius + 2) * pixelRatio));
    marker = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
    marker.setDevicePixelRatio(pixelRatio);
    marker.fill(Qt::transparent);
    QPainter painter(&marker);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = SkySystemColour(system);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(used ? colour : background);
    const double centre = side / pixelRatio / 2;
    painter.drawEllipse(QPointF(centre, centre), MarkerRadius, MarkerRadius);
  }
  return marker;
}

void TSkyPlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF area = PlotArea();
  const QPointF centre = area.center();
  const double radius = area.width() / 2;
  PaintGrid(painter, centre, radius);
  PaintMarkers(painter, centre, radius);
  PaintLegend(painter);
}

void TSkyPlot::PaintGrid(QPainter& painter, QPointF centre, double radius) const {
  QPen pen(palette().color(QPalette::Mid));
  pen.setWidthF(1);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  for (int elevation : {0, 30, 60}) {
    const double ring = radius * (90 - elevation) / 90.0;
    painter.drawEllipse(centre, ring, ring);
  }
  painter.drawLine(QPointF(centre.x(), centre.y() - radius),
                   QPointF(centre.x(), centre.y() + radius));
  painter.drawLine(QPointF(centre.x() - radius, centre.y()),
                   QPointF(centre.x() + radius, centre.y()));
  const QFontMetricsF metrics(font());
  // The rings' elevations, beside the north line just inside each ring,
  // where there is room between the rings.
  painter.setPen(palette().color(QPalette::PlaceholderText));
  for (int elevation : {30, 60}) {
    if (radius / 3 < 2 * metrics.height()) break;
    const QPointF at = Position(elevation, 0, centre, radius);
    painter.drawText(QPointF(at.x() + 3, at.y() + metrics.ascent() + 1),
                     QStringLiteral("%1\u00b0").arg(elevation));
  }
  painter.setPen(palette().color(QPalette::Text));
  const double half = metrics.height() / 2;
  const struct {
    const char* Text;
    int Azimuth;
  } kCompass[] = {{"N", 0}, {"E", 90}, {"S", 180}, {"W", 270}};
  for (const auto& point : kCompass) {
    const QPointF at = Position(0, point.Azimuth, centre, radius + kCompassRoom / 2 + 1);
    painter.drawText(QRectF(at.x() - half, at.y() - half, 2 * half, 2 * half), Qt::AlignCenter,
                     QString::fromLatin1(point.Text));
  }
}

// Used satellites are filled with their colour and labelled in white; the
// others are rings on the background, labelled in their colour.
void TSkyPlot::PaintMarkers(QPainter& painter, QPointF centre, double radius) const {
  const qreal ratio = painter.device()->devicePixelRatioF();
  const QColor light(Qt::white);
  const double scale = std::min(1.0, radius / kMarkersPerRadius / MarkerRadius);
  for (const TSkyPlotPoint& point : Plotted) {
    const QColor colour = SkySystemColour(point.System);
    const QPointF at = Position(point.Elevation, point.Azimuth, centre, radius);
    const QImage& marker = Marker(point.System, point.Used, ratio);
    const double half = marker.width() / ratio / 2 * scale;
    painter.drawImage(QRectF(at.x() - half, at.y() - half, 2 * half, 2 * half), marker);
    if (scale < kSmallestLabelScale) continue;
    const QSizeF size = point.LabelText.size();
    painter.setPen(point.Used ? light : colour);
    painter.save();
    painter.translate(at);
    painter.scale(scale, scale);
    painter.drawStaticText(QPointF(-size.width() / 2, -size.height() / 2), point.LabelText);
    painter.restore();
  }
}

void TSkyPlot::PaintLegend(QPainter& painter) const {
  const QFontMetricsF metrics(font());
  const double line = std::max(metrics.height(), 2 * MarkerRadius * 0.6) + 2;
  const double dot = MarkerRadius * 0.6;
  double y = kMargin;
  auto entry = [&](const QColor& colour, bool filled, const QString& text) {
    const QPointF at(kMargin + dot, y + line / 2);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(filled ? QBrush(colour) : QBrush(palette().color(QPalette::Base)));
    painter.drawEllipse(at, dot, dot);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRectF(kMargin + 2 * dot + 4, y, LegendWidth, line), Qt::AlignVCenter, text);
    y += line;
  };
  for (TSkySystem system : Systems)
    entry(SkySystemColour(system), true, QString::fromLatin1(SkySystemName(system)));
  if (Systems.empty()) return;
  y += line / 2;
  const QColor neutral = palette().color(QPalette::Text);
  entry(neutral, true, tr("used"));
  entry(neutral, false, tr("not used"));
}
