#include "app/ChartPanel.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QGraphicsLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "app/ChartTicks.h"
#include "app/SkyPlot.h"

namespace {

// Room for the y axis's labels and title, the same in every plot.
constexpr int kLeft = 78;
constexpr int kRight = 30;  // half the last time label
constexpr int kWantedTicks = 8;

// Told apart on white, by key so that a line keeps its colour as others
// come and go.
const QColor kPalette[] = {
    QColor(0x1f77b4), QColor(0xd62728), QColor(0x2ca02c), QColor(0xff7f0e),
    QColor(0x9467bd), QColor(0x8c564b), QColor(0xe377c2), QColor(0x7f7f7f),
    QColor(0xbcbd22), QColor(0x17becf), QColor(0x393b79), QColor(0xad494a),
};

QColor LineColour(uint32_t key) {
  const uint32_t mixed = (key >> 24) * 5 + (key >> 8 & 0xFFFF) * 7 + (key & 0xFF) * 3;
  return kPalette[mixed % std::size(kPalette)];
}

Qt::PenStyle DashStyle(int dash) {
  static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine};
  return kStyles[static_cast<size_t>(dash) % std::size(kStyles)];
}

QList<QPointF> Points(const TChartSegment& segment) {
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(segment.size()));
  for (const TChartPoint& point : segment) points.append(QPointF(point.X, point.Y));
  return points;
}

}  // namespace

TChartPanel::TChartPanel(const QString& title, const QString& unit, QWidget* parent)
    : QChartView(parent), Unit(unit) {
  auto* plot = new QChart();
  plot->setMargins(QMargins(0, 0, 0, 0));
  plot->layout()->setContentsMargins(0, 0, 0, 0);
  // The view paints the background: Qt would keep the chart's own at the
  // view's size before it was first laid out.
  plot->setBackgroundVisible(false);
  setBackgroundBrush(Qt::white);
  plot->legend()->setAlignment(Qt::AlignTop);
  // A line's entry shows its dash, not only its colour.
  plot->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
  setChart(plot);
  setRenderHint(QPainter::Antialiasing, false);
  Time = new QCategoryAxis(this);
  Time->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  Time->setLabelsVisible(false);
  Values = new QValueAxis(this);
  Values->setTitleText(title);
  Values->setLabelFormat("%g");
  SpanValues = new QValueAxis(this);
  SpanValues->setRange(0, 1);
  SpanValues->setVisible(false);
  plot->addAxis(Time, Qt::AlignBottom);
  plot->addAxis(Values, Qt::AlignLeft);
  plot->addAxis(SpanValues, Qt::AlignRight);
  setMinimumHeight(60);
}

QLineSeries* TChartPanel::SeriesAt(size_t index) {
  while (Series.size() <= index) {
    auto* series = new QLineSeries(this);
    chart()->addSeries(series);
    series->attachAxis(Time);
    series->attachAxis(Values);
    connect(series, &QLineSeries::hovered, this,
            [this, series](const QPointF& point, bool state) { ShowPoint(series, point, state); });
    Series.push_back(series);
  }
  return Series[index];
}

void TChartPanel::SetLines(const std::map<uint32_t, TChartLine>& lines, bool dated) {
  Dated = dated;
  size_t used = 0;
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  std::set<TSkySystem> named;  // the systems with their entry in the legend
  std::map<int, std::string> dashes;
  for (const auto& [key, line] : lines) {
    const QString name = QString::fromStdString(line.Name);
    const QColor colour = line.System ? SkySystemColour(*line.System) : LineColour(key);
    if (line.System) dashes.emplace(line.Dash, line.DashName);
    bool first = true;
    for (const TChartSegment& segment : line.Points.Segments()) {
      QLineSeries* series = SeriesAt(used++);
      series->setName(name);
      QPen pen = series->pen();
      pen.setColor(colour);
      pen.setStyle(DashStyle(line.Dash));
      series->setPen(pen);
      series->replace(Points(segment));
      for (const TChartPoint& point : segment) {
        low = std::min(low, point.Y);
        high = std::max(high, point.Y);
      }
      // A system's lines share one entry, named after the system; their
      // dashes have entries of their own.
      const bool entry =
          first && LegendShown && (!line.System || named.insert(*line.System).second);
      for (QLegendMarker* marker : chart()->legend()->markers(series)) {
        marker->setVisible(entry);
        if (entry && line.System)
          marker->setLabel(QString::fromLatin1(SkySystemName(*line.System)));
      }
      first = false;
    }
  }
  for (size_t index = used; index < Series.size(); ++index) {
    Series[index]->clear();
    for (QLegendMarker* marker : chart()->legend()->markers(Series[index]))
      marker->setVisible(false);
  }
  ShowDashes(dashes);
  FitValues(low, high);
  PlaceArea();
}

// The dashes in the legend, in the text's colour, where the lines have more
// than one.
void TChartPanel::ShowDashes(const std::map<int, std::string>& dashes) {
  for (size_t dash = 0; dash < DashKeys.size(); ++dash) {
    const auto named = dashes.find(static_cast<int>(dash));
    const bool shown = LegendShown && dashes.size() > 1 && named != dashes.end();
    if (!shown && !DashKeys[dash]) continue;
    if (!DashKeys[dash]) {
      auto* key = new QLineSeries(this);
      QPen pen = key->pen();
      pen.setColor(palette().color(QPalette::WindowText));
      pen.setStyle(DashStyle(static_cast<int>(dash)));
      key->setPen(pen);
      chart()->addSeries(key);
      key->attachAxis(Time);
      key->attachAxis(Values);
      DashKeys[dash] = key;
    }
    if (shown) DashKeys[dash]->setName(QString::fromStdString(named->second));
    for (QLegendMarker* marker : chart()->legend()->markers(DashKeys[dash]))
      marker->setVisible(shown);
  }
}

// A little room above and below, ticks on round steps about 30 pixels
// apart.
void TChartPanel::FitValues(double low, double high) {
  if (Fixed) return Values->setRange(Fixed->first, Fixed->second);
  if (!(high >= low)) {
    low = 0;
    high = 1;
  }
  // A flat line gets room either side in proportion, at most a unit.
  const double room =
      high - low < 1e-9 ? std::clamp(std::abs(high) / 2, 0.1, 1.0) : (high - low) * 0.05;
  low -= room;
  high += room;
  const double wanted = std::max(2.0, chart()->plotArea().height() / 30);
  const double rough = (high - low) / wanted;
  const double magnitude = std::pow(10, std::floor(std::log10(rough)));
  double step = magnitude * 10;
  for (double factor : {1.0, 2.0, 5.0}) {
    if (magnitude * factor >= rough) {
      step = magnitude * factor;
      break;
    }
  }
  Values->setTickType(QValueAxis::TicksDynamic);
  Values->setTickAnchor(0);
  Values->setTickInterval(step);
  Values->setRange(std::floor(low / step) * step, std::ceil(high / step) * step);
}

void TChartPanel::SetFixedValues(double low, double high) {
  Fixed = {low, high};
  Values->setRange(low, high);
  Values->setLabelsVisible(false);
  Values->setGridLineVisible(false);
  Values->setTickCount(2);
}

void TChartPanel::AddSpanKind(int value, const QString& name, const QColor& colour,
                              bool alwaysInLegend) {
  auto* upper = new QLineSeries(this);
  auto* area = new QAreaSeries(upper);
  area->setName(name);
  area->setColor(colour);
  // No outline: an empty area would still draw one at the left of the plot.
  area->setPen(Qt::NoPen);
  chart()->addSeries(area);
  area->attachAxis(Time);
  area->attachAxis(SpanValues);
  SpanKinds.push_back({value, area, alwaysInLegend});
  for (QLegendMarker* marker : chart()->legend()->markers(area)) marker->setVisible(alwaysInLegend);
}

// Each span a block from the bottom of the plot to its top; between spans
// the outline runs along the bottom, where it fills nothing.
void TChartPanel::SetSpans(const std::vector<TChartSpan>& spans) {
  for (const TSpanKind& kind : SpanKinds) {
    QList<QPointF> outline;
    for (const TChartSpan& span : spans) {
      if (span.Value != kind.Value) continue;
      outline << QPointF(span.From, 0) << QPointF(span.From, 1) << QPointF(span.To, 1)
              << QPointF(span.To, 0);
    }
    kind.Area->upperSeries()->replace(outline);
    for (QLegendMarker* marker : chart()->legend()->markers(kind.Area))
      marker->setVisible(kind.AlwaysInLegend || !outline.isEmpty());
  }
  PlaceArea();
}

void TChartPanel::SetTimeRange(double from, double to, bool dated) {
  Dated = dated;
  Time->setRange(from, to);
  for (const QString& label : Time->categoriesLabels()) Time->remove(label);
  Time->setStartValue(from);
  for (const TChartTick& tick : ChartTicks(from, to, kWantedTicks, dated))
    Time->append(tick.Label, tick.X);
  Time->setRange(from, to);
}

void TChartPanel::SetLegendShown(bool shown) {
  if (LegendShown == shown) return;
  LegendShown = shown;
  chart()->legend()->setVisible(!LegendHidden && (shown || !SpanKinds.empty()));
  PlaceArea();
}

void TChartPanel::HideLegend() {
  LegendHidden = true;
  chart()->legend()->setVisible(false);
  PlaceArea();
}

void TChartPanel::SetTimeLabelsShown(bool shown) {
  TimeLabels = shown;
  Time->setLabelsVisible(shown);
  PlaceArea();
}

// The plot area by hand: Qt Charts would fit it around each plot's own
// labels, and the plots' times would no longer line up.
void TChartPanel::PlaceArea() {
  const QFontMetrics metrics(font());
  const QLegend* legend = chart()->legend();
  const double top =
      legend->isVisible()
          ? legend->effectiveSizeHint(Qt::PreferredSize, QSizeF(width(), -1)).height()
          : metrics.height() / 2.0;
  // The legend laid out anew: with the plot area set by hand Qt keeps the
  // legend's first place and size, too small for names that came later.
  if (legend->isVisible()) chart()->legend()->setGeometry(QRectF(0, 0, width(), top));
  const double bottom = TimeLabels ? metrics.height() * 1.8 : metrics.height() / 2.0;
  chart()->setPlotArea(QRectF(kLeft, top, std::max(10, width() - kLeft - kRight),
                              std::max(10.0, height() - top - bottom)));
}

double TChartPanel::PlotWidth() const {
  return std::max(10, width() - kLeft - kRight);
}

int TChartPanel::SegmentCount() const {
  return static_cast<int>(std::count_if(
      Series.begin(), Series.end(), [](const QLineSeries* series) { return series->count() > 0; }));
}

double TChartPanel::ViewX(double x) const {
  const QRectF area = chart()->plotArea();
  return area.left() + (x - Time->min()) / (Time->max() - Time->min()) * area.width();
}

double TChartPanel::TimeAt(double viewX) const {
  const QRectF area = chart()->plotArea();
  return Time->min() + (viewX - area.left()) / area.width() * (Time->max() - Time->min());
}

void TChartPanel::ShowPoint(const QLineSeries* series, const QPointF& point, bool state) {
  if (!state) return QToolTip::hideText();
  QToolTip::showText(QCursor::pos(), QString("%1\n%2 UTC\n%3 %4")
                                         .arg(series->name(), ChartTimeText(point.x(), Dated))
                                         .arg(point.y(), 0, 'f', 1)
                                         .arg(Unit)
                                         .trimmed());
}

void TChartPanel::wheelEvent(QWheelEvent* event) {
  const double at = TimeAt(event->position().x());
  const double steps = event->angleDelta().y() / 120.0;
  if (steps != 0) emit zoomed(std::pow(0.8, steps), at);
  event->accept();
}

void TChartPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) DragFrom = event->position().toPoint().x();
  event->accept();
}

void TChartPanel::mouseMoveEvent(QMouseEvent* event) {
  if (DragFrom) {
    const int x = event->position().toPoint().x();
    const double seconds = (Time->max() - Time->min()) * (*DragFrom - x) / PlotWidth();
    DragFrom = x;
    if (seconds != 0) emit dragged(seconds);
  }
  QChartView::mouseMoveEvent(event);
}

void TChartPanel::mouseReleaseEvent(QMouseEvent* event) {
  DragFrom.reset();
  event->accept();
}

void TChartPanel::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  PlaceArea();
}
