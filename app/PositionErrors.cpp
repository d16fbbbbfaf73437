#include "app/PositionErrors.h"

#include <QLineSeries>
#include <QValueAxis>
#include <cmath>

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

void TPositionErrors::Show(const std::vector<TLocalPoint>& points) {
  QList<QPointF> horizontal;
  QList<QPointF> up;
  double low = 0;
  double high = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const double error = std::hypot(points[i].East, points[i].North);
    if (!std::isfinite(error) || !std::isfinite(points[i].Up)) continue;
    const double x = static_cast<double>(i + 1);
    horizontal.append(QPointF(x, error));
    up.append(QPointF(x, points[i].Up));
    low = std::min(low, points[i].Up);
    high = std::max({high, error, points[i].Up});
  }
  Horizontal->replace(horizontal);
  Up->replace(up);
  FixAxis->setRange(1, std::max<double>(2, static_cast<double>(points.size())));
  const double margin = std::max((high - low) * 0.05, 0.001);
  MetreAxis->setRange(low - margin, high + margin);
  MetreAxis->applyNiceNumbers();
}
