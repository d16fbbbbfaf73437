#include "app/PositionErrors.h"

#include <QLineSeries>
#include <QValueAxis>
#include <cmath>

namespace {

// Spans of fixes drawn: about a pixel each on a wide screen.
constexpr size_t kSpans = 2000;

}  // namespace

TPositionErrors::TPositionErrors(QWidget* parent) : QChartView(parent) {
  setObjectName("PositionErrors");
  setRenderHint(QPainter::Antialiasing);
  QChart* chart = new QChart();
  setChart(chart);
  chart->legend()->setAlignment(Qt::AlignRight);
  FixAxis = new QValueAxis(chart);
  FixAxis->setTitleText("Fix");
  FixAxis->setLabelFormat("%d");
  MetreAxis = new QValueAxis(chart);
  MetreAxis->setTitleText("Error (m)");
  chart->addAxis(FixAxis, Qt::AlignBottom);
  chart->addAxis(MetreAxis, Qt::AlignLeft);
  Horizontal = new QLineSeries(chart);
  Horizontal->setName("Horizontal");
  Up = new QLineSeries(chart);
  Up->setName("Up");
  for (QLineSeries* series : {Horizontal, Up}) {
    chart->addSeries(series);
    series->attachAxis(FixAxis);
    series->attachAxis(MetreAxis);
  }
  Show({});
}

// A long history is drawn by spans of fixes, each with its largest
// horizontal error and its lowest and highest up error, so that no spike is
// lost and a day draws as fast as a few minutes.
void TPositionErrors::Show(const std::vector<TLocalPoint>& points) {
  QList<QPointF> horizontal;
  QList<QPointF> up;
  double low = 0;
  double high = 0;
  const size_t span = std::max<size_t>(1, points.size() / kSpans);
  for (size_t first = 0; first < points.size(); first += span) {
    double largest = -1;
    double lowest = INFINITY;
    double highest = -INFINITY;
    for (size_t i = first; i < std::min(points.size(), first + span); ++i) {
      const double error = std::hypot(points[i].East, points[i].North);
      if (!std::isfinite(error) || !std::isfinite(points[i].Up)) continue;
      largest = std::max(largest, error);
      lowest = std::min(lowest, points[i].Up);
      highest = std::max(highest, points[i].Up);
    }
    if (largest < 0) continue;
    const double x = static_cast<double>(first + 1);
    horizontal.append(QPointF(x, largest));
    up.append(QPointF(x, lowest));
    if (highest != lowest) up.append(QPointF(x, highest));
    low = std::min(low, lowest);
    high = std::max({high, largest, highest});
  }
  Horizontal->replace(horizontal);
  Up->replace(up);
  FixAxis->setRange(1, std::max<double>(2, static_cast<double>(points.size())));
  const double margin = std::max((high - low) * 0.05, 0.001);
  MetreAxis->setRange(low - margin, high + margin);
  MetreAxis->applyNiceNumbers();
}
