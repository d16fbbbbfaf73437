#include "app/PositionScatter.h"

#include <QGraphicsEllipseItem>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <QWheelEvent>
#include <cmath>
#include <numbers>

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
  LatestRing = new QGraphicsEllipseItem(-7, -7, 14, 14, chart);
  LatestRing->setPen(QPen(Qt::black, 2));
  LatestRing->setBrush(Qt::NoBrush);
  LatestRing->setZValue(100);
  LatestRing->hide();
  // The axes and the labels take their room from the plot: it is measured
  // again so that a metre stays as long east as north.
  connect(
      chart, &QChart::plotAreaChanged, this, [this] { ApplyRange(); }, Qt::QueuedConnection);
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

void TPositionScatter::Follow(const TAccuracyFollower& fixes) {
  Source = &fixes;
  const TLocalPoint& offset = fixes.ReferenceOnPlane();
  Offset = QPointF(offset.East, offset.North);
  const std::deque<TAccuracyFollower::TFix>& held = fixes.Fixes();
  if (fixes.Plane() != Plane) {
    Plane = fixes.Plane();
    SortAll();
  } else {
    for (const TAccuracyFollower::TFix& fix : fixes.LetGo()) Sort(fix, -1);
    for (size_t i = End - fixes.FirstFix(); i < held.size(); ++i) Sort(held[i], 1);
    End = fixes.FirstFix() + held.size();
  }
  Extent = 0;
  for (const auto& [kind, cells] : Cells) {
    for (const auto& [key, cell] : cells) {
      const QPointF at = Shifted(cell.At);
      Extent = std::max({Extent, std::fabs(at.x()), std::fabs(at.y())});
    }
  }
  LatestAt.reset();
  if (!held.empty()) {
    const QPointF at = Shifted(QPointF(held.back().OnPlane.East, held.back().OnPlane.North));
    if (std::isfinite(at.x()) && std::isfinite(at.y())) LatestAt = at;
  }
  const TAccuracy& accuracy = fixes.Accuracy();
  const std::array<double, 3> radii = {accuracy.Cep50, accuracy.Cep95, accuracy.Drms2};
  bool moved = false;
  for (size_t i = 0; i < radii.size(); ++i) {
    if (std::isfinite(radii[i])) Extent = std::max(Extent, radii[i]);
    // Less than a thousandth of the view is less than a pixel.
    moved = moved || !(std::fabs(radii[i] - Radii[i]) <= HalfWidth() * 1e-3);
  }
  Radii = radii;
  if (moved) DrawCircles();
  ApplyRange();
}

void TPositionScatter::PlaceLatest() {
  const QRectF area = chart()->plotArea();
  const QPointF at = LatestAt ? chart()->mapToPosition(*LatestAt, LatestSeries) : QPointF();
  const bool shown = LatestAt && area.contains(at);
  if (shown) LatestRing->setPos(at);
  LatestRing->setVisible(shown);
}

QPointF TPositionScatter::Shifted(const QPointF& onPlane) const {
  return onPlane - Offset;
}

void TPositionScatter::Sort(const TAccuracyFollower::TFix& fix, int sign) {
  const double east = fix.OnPlane.East;
  const double north = fix.OnPlane.North;
  if (!std::isfinite(east) || !std::isfinite(north) || !(Cell > 0)) return;
  const auto column = static_cast<int64_t>(std::floor(east / Cell));
  const auto row = static_cast<int64_t>(std::floor(north / Cell));
  const uint64_t key = (static_cast<uint64_t>(column) << 32) ^ static_cast<uint32_t>(row);
  TCells& cells = Cells[FixQualityOf(fix.Quality).value_or(TFixQuality::GPS)];
  if (sign > 0) {
    TCell& cell = cells[key];
    if (cell.Fixes++ == 0) {
      cell.At = QPointF(east, north);
      DotsChanged = true;
    }
    return;
  }
  const auto found = cells.find(key);
  if (found != cells.end() && --found->second.Fixes == 0) {
    cells.erase(found);
    DotsChanged = true;
  }
}

void TPositionScatter::SortAll() {
  Cells.clear();
  DotsChanged = true;
  if (!Source) return;
  for (const TAccuracyFollower::TFix& fix : Source->Fixes()) Sort(fix, 1);
  End = Source->FirstFix() + Source->Fixes().size();
}

// Qt Charts makes an item of every marker: a day of fixes would take
// seconds to draw. Fixes closer than a fraction of a dot are drawn once
// (per kind of fix), which the eye cannot tell apart; the dots are drawn
// again only when one came or went, or the reference moved by a twentieth
// of one.
void TPositionScatter::DrawDots() {
  const QPointF moved = Offset - DrawnOffset;
  if (!DotsChanged && std::max(std::fabs(moved.x()), std::fabs(moved.y())) <= Cell / 20) return;
  DotsChanged = false;
  DrawnOffset = Offset;
  for (auto& [kind, series] : Kinds) {
    if (!Cells.contains(kind) || Cells[kind].empty()) series->clear();
  }
  for (const auto& [kind, cells] : Cells) {
    if (cells.empty()) continue;
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(cells.size()));
    for (const auto& [key, cell] : cells) list.append(Shifted(cell.At));
    SeriesOf(kind)->replace(list);
  }
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
  // One round step on both axes, about three on either side of the
  // reference across the shorter side. A step set after a wider range (or
  // before a narrower one) would make the axis lay out millions of ticks.
  const double step = NiceCeiling(std::min(east, north) / 3);
  const bool wider = step >= EastAxis->tickInterval();
  const auto setStep = [this, step] {
    for (QValueAxis* axis : {EastAxis, NorthAxis}) {
      axis->setTickType(QValueAxis::TicksDynamic);
      axis->setTickAnchor(0);
      axis->setTickInterval(step);
    }
  };
  if (wider) setStep();
  EastAxis->setRange(-east, east);
  NorthAxis->setRange(-north, north);
  if (!wider) setStep();
  const double cell = 2 * std::min(east, north) / kDotsAcross;
  if (cell != Cell) {
    Cell = cell;
    SortAll();
  }
  DrawDots();
  PlaceLatest();
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
