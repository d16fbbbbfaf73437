#include "app/PositionScatter.h"

#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <QWheelEvent>
#include <cmath>
#include <numbers>
#include <unordered_set>

#include "app/FixQualityLook.h"

namespace {

// The smallest view is a centimetre either way: RTK fixes sit within it.
constexpr double kSmallestHalfWidth = 0.01;
constexpr double kZoomStep = 1.25;
constexpr int kCircleSteps = 96;
// Dots across the shorter side of the plot: about one a marker wide.
constexpr double kDotsAcross = 100;

// The next of 1, 2, 5 times a power of ten at or above `value`.
double NiceCeiling(double value) {
  const double power = std::pow(10.0, std::floor(std::log10(value)));
  for (const double step : {1.0, 2.0, 5.0, 10.0}) {
    if (step * power >= value * (1 - 1e-12)) return step * power;
  }
  return 10 * power;
}

}  // namespace

TPositionScatter::TPositionScatter(QWidget* parent) : QChartView(parent) {
  setObjectName("PositionScatter");
  setRenderHint(QPainter::Antialiasing);
  QChart* chart = new QChart();
  setChart(chart);
  chart->legend()->setAlignment(Qt::AlignRight);
  EastAxis = new QValueAxis(chart);
  EastAxis->setTitleText("East (m)");
  NorthAxis = new QValueAxis(chart);
  NorthAxis->setTitleText("North (m)");
  chart->addAxis(EastAxis, Qt::AlignBottom);
  chart->addAxis(NorthAxis, Qt::AlignLeft);
  const char* const names[] = {"CEP50", "CEP95", "2DRMS"};
  const Qt::PenStyle styles[] = {Qt::DashLine, Qt::DashDotLine, Qt::DotLine};
  const char* const colours[] = {"#333399", "#993399", "#333333"};
  for (size_t i = 0; i < Circles.size(); ++i) {
    Circles[i] = new QLineSeries(chart);
    Circles[i]->setName(names[i]);
    Circles[i]->setPen(QPen(QColor(colours[i]), 1.5, styles[i]));
    Attach(Circles[i]);
  }
  // The kinds a fix can be first, worst to best, as the Charts window's band
  // names and colours them: the legend keys them all, in order.
  for (const TFixQuality kind :
       {TFixQuality::GPS, TFixQuality::DGPS, TFixQuality::RTKFloat, TFixQuality::RTKFixed})
    SeriesOf(kind);
  LatestSeries = new QScatterSeries(chart);
  LatestSeries->setName("Latest");
  LatestSeries->setMarkerSize(14);
  LatestSeries->setBrush(Qt::NoBrush);
  LatestSeries->setPen(QPen(Qt::black, 2));
  Attach(LatestSeries);
  ApplyRange();
}

void TPositionScatter::Attach(QAbstractSeries* series) {
  chart()->addSeries(series);
  series->attachAxis(EastAxis);
  series->attachAxis(NorthAxis);
}

QScatterSeries* TPositionScatter::SeriesOf(TFixQuality kind) {
  QScatterSeries*& series = Kinds[kind];
  if (!series) {
    series = new QScatterSeries(chart());
    series->setName(FixQualityName(kind));
    series->setColor(FixQualityQColor(kind));
    series->setBorderColor(FixQualityQColor(kind));
    series->setMarkerSize(6);
    Attach(series);
  }
  return series;
}

void TPositionScatter::Show(const std::vector<TEpochFix>& fixes,
                            const std::vector<TLocalPoint>& points, const TAccuracy& accuracy) {
  Dots.clear();
  Extent = 0;
  for (size_t i = 0; i < points.size() && i < fixes.size(); ++i) {
    const TLocalPoint& point = points[i];
    if (!std::isfinite(point.East) || !std::isfinite(point.North)) continue;
    Dots.push_back({QPointF(point.East, point.North),
                    FixQualityOf(fixes[i].Quality).value_or(TFixQuality::GPS)});
    Extent = std::max({Extent, std::fabs(point.East), std::fabs(point.North)});
  }
  LatestSeries->clear();
  if (!points.empty() && std::isfinite(points.back().East) && std::isfinite(points.back().North))
    LatestSeries->append(points.back().East, points.back().North);
  Radii = {accuracy.Cep50, accuracy.Cep95, accuracy.Drms2};
  for (const double radius : Radii) {
    if (std::isfinite(radius)) Extent = std::max(Extent, radius);
  }
  DrawCircles();
  ApplyRange();
}

// Qt Charts makes an item of every marker: a day of fixes would take
// seconds to draw. Fixes closer than a fraction of a dot are drawn once
// (per kind of fix), which the eye cannot tell apart.
void TPositionScatter::DrawDots() {
  const double cell = 2 * HalfWidth() / kDotsAcross;
  std::map<TFixQuality, QList<QPointF>> byKind;
  std::map<TFixQuality, std::unordered_set<uint64_t>> taken;
  for (const TDot& dot : Dots) {
    const auto column = static_cast<int64_t>(std::floor(dot.At.x() / cell));
    const auto row = static_cast<int64_t>(std::floor(dot.At.y() / cell));
    const uint64_t key = (static_cast<uint64_t>(column) << 32) ^ static_cast<uint32_t>(row);
    if (taken[dot.Kind].insert(key).second) byKind[dot.Kind].append(dot.At);
  }
  for (auto& [kind, series] : Kinds) {
    if (!byKind.contains(kind)) series->clear();
  }
  for (const auto& [kind, list] : byKind) SeriesOf(kind)->replace(list);
}

const QScatterSeries* TPositionScatter::Quality(int ggaQuality) const {
  const std::optional<TFixQuality> kind = FixQualityOf(ggaQuality);
  const auto found = kind ? Kinds.find(*kind) : Kinds.end();
  return found == Kinds.end() ? nullptr : found->second;
}

void TPositionScatter::DrawCircles() {
  for (size_t i = 0; i < Circles.size(); ++i) {
    QList<QPointF> outline;
    if (Radii[i] > 0 && std::isfinite(Radii[i])) {
      for (int step = 0; step <= kCircleSteps; ++step) {
        const double angle = 2 * std::numbers::pi * step / kCircleSteps;
        outline.append(QPointF(Radii[i] * std::cos(angle), Radii[i] * std::sin(angle)));
      }
    }
    Circles[i]->replace(outline);
  }
}

double TPositionScatter::HalfWidth() const {
  return std::min(EastAxis->max(), NorthAxis->max());
}

// A metre is as long east as north: the longer side of the plot shows more.
void TPositionScatter::ApplyRange() {
  const double half =
      std::max(NiceCeiling(std::max(Extent * 1.1, kSmallestHalfWidth)) / Zoom, 1e-4);
  const QRectF area = chart()->plotArea();
  double east = half;
  double north = half;
  if (area.width() > 0 && area.height() > 0) {
    if (area.width() > area.height())
      east = half * area.width() / area.height();
    else
      north = half * area.height() / area.width();
  }
  EastAxis->setRange(-east, east);
  NorthAxis->setRange(-north, north);
  DrawDots();
}

void TPositionScatter::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  if (steps == 0) return;
  Zoom = std::clamp(Zoom * std::pow(kZoomStep, steps), 1e-3, 1e6);
  ApplyRange();
  event->accept();
}

void TPositionScatter::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  ApplyRange();
}
